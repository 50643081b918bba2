#include "gui/dialogs/choicegrid.h"

#include <QPushButton>

#include "gui/app/clicklabel.h"
#include "gui/app/twips.h"
#include "gui/themes/themepaint.h"

namespace qm::gui {

namespace {

// The designed grid, in twips.
constexpr int kMargin = 120;
constexpr int kRightColumn = 2340;
constexpr int kEntryWidth = 2115;
constexpr int kEntryHeight = 255;
constexpr int kButtonWidth = 1035, kButtonHeight = 375;

}  // namespace

ChoiceGrid::ChoiceGrid(const QStringList& captions, const QString& prefix, int firstnumber,
                       int rowpitch, QWidget* parent)
    : QWidget(parent) {
    entryheight_ = px(kEntryHeight);
    columnwidth_ = px(kEntryWidth);
    for (qsizetype i = 0; i < captions.size(); ++i) {
        auto* label = new ClickLabel(captions[i], this);
        label->setObjectName(prefix + QString::number(firstnumber + i));
        label->setTextFormat(Qt::PlainText);
        label->setIndent(px(60));
        label->setCursor(Qt::PointingHandCursor);
        entryheight_ = std::max(entryheight_, label->sizeHint().height());
        columnwidth_ = std::max(columnwidth_, label->sizeHint().width());
        const int index = static_cast<int>(i);
        connect(label, &ClickLabel::clicked, this, [this, index] { emit clicked(index); });
        connect(label, &ClickLabel::doubleclicked, this,
                [this, index] { emit doubleclicked(index); });
        entries_.push_back(label);
    }
    // Rows keep the designed gap (or overlap) between entries when the entries grow.
    pitch_ = entryheight_ + px(rowpitch) - px(kEntryHeight);
    const int rightleft = columnwidth_ + px(kRightColumn) - px(kEntryWidth);
    for (int i = 0; i < count(); ++i) {
        const int left = i % 2 == 0 ? px(kMargin) : rightleft;
        entries_[static_cast<size_t>(i)]->setGeometry(left, rowtop(i / 2), columnwidth_,
                                                      entryheight_);
    }
    setFixedSize(sizeforrows((count() + 1) / 2));
}

int ChoiceGrid::rowtop(int row) const { return px(kMargin) + pitch_ * row; }

QSize ChoiceGrid::sizeforrows(int rows) const {
    const int width =
        columnwidth_ + px(kRightColumn) - px(kEntryWidth) + columnwidth_ + px(kMargin);
    return QSize(width, rows > 0 ? rowtop(rows - 1) + entryheight_ : px(kMargin));
}

void ChoiceGrid::mark(int chosen, const ColourRoles& roles) {
    for (int i = 0; i < count(); ++i) {
        if (i == chosen) {
            paintrole(entry(i), roles.confcapback, roles.confcapfore);
        } else {
            paintrole(entry(i), roles.valueback, roles.valuefore);
        }
    }
}

ChoiceButtons addchoicebuttons(QWidget* dialog, int top, int cancelleft, int selectleft) {
    auto* cancel = new QPushButton("Cancel", dialog);
    cancel->setObjectName("Command2");
    cancel->setAutoDefault(false);
    cancel->setGeometry(px(cancelleft), top, px(kButtonWidth), px(kButtonHeight));
    auto* select = new QPushButton("Select", dialog);
    select->setObjectName("Command1");
    select->setDefault(true);
    select->setGeometry(px(selectleft), top, px(kButtonWidth), px(kButtonHeight));
    return {select, cancel};
}

}  // namespace qm::gui
