#pragma once

#include <QString>

#include "gui/app/clicklabel.h"

namespace qm::gui {

// A one-line label for a text that may be longer than the label is wide: it shows what fits,
// with an ellipsis where it cut, and then gives the whole text in its tool tip, above its own
// tip. A path gives up its folders first, so its file name stays in sight.
class ElidedLabel final : public ClickLabel {
    Q_OBJECT
  public:
    enum class Cut {
        End,      // the end gives way: texts that say what matters first
        Folders,  // the folders give way, in their middle, before the file name
    };

    // tip: the label's own tool tip, shown alone while the text fits.
    ElidedLabel(Cut cut, const QString& tip, QWidget* parent);

    // The whole text; text() is what the label shows of it.
    void setfulltext(const QString& text);
    const QString& fulltext() const { return full_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void refresh();
    QString fitted(int width) const;

    Cut cut_;
    QString tip_;
    QString full_;
};

}  // namespace qm::gui
