#pragma once

#include <QStringList>
#include <QWidget>

class QPushButton;

#include <vector>

#include "themes/colourroles.h"

namespace qm::gui {

class ClickLabel;

// The clickable list of the model and theme dialogs: labels in two columns, filled row by row
// (left, then right), the left column 120 twips and the right one 2340 twips from the edge, each
// entry 2115 by 255 twips, rows `rowpitch` twips apart starting 120 twips down. Entries and rows
// grow when the font in use needs more room than that. The entry that is chosen shows the
// highlight colours of the theme, the others the value colours.
class ChoiceGrid final : public QWidget {
    Q_OBJECT
  public:
    // Entry i gets the objectName prefix + (firstnumber + i).
    ChoiceGrid(const QStringList& captions, const QString& prefix, int firstnumber, int rowpitch,
               QWidget* parent);

    int count() const { return static_cast<int>(entries_.size()); }
    ClickLabel* entry(int i) const { return entries_[static_cast<size_t>(i)]; }
    // The top of row `row` (counted from 0) and the size the grid needs for `rows` rows.
    int rowtop(int row) const;
    QSize sizeforrows(int rows) const;

    // Entry `chosen` in confcapback/confcapfore, every other in valueback/valuefore; -1 for none.
    void mark(int chosen, const ColourRoles& roles);

  signals:
    void clicked(int i);
    void doubleclicked(int i);

  private:
    std::vector<ClickLabel*> entries_;
    int pitch_ = 0;
    int entryheight_ = 0;
    int columnwidth_ = 0;
};

// The Cancel ("Command2") and Select ("Command1", the default button) buttons under such a list,
// 1035 by 375 twips, at the given left edges in twips and top in pixels.
struct ChoiceButtons {
    QPushButton* select;
    QPushButton* cancel;
};
ChoiceButtons addchoicebuttons(QWidget* dialog, int top, int cancelleft, int selectleft);

}  // namespace qm::gui
