#include "gui/dialogs/modeldialog.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "gui/app/clicklabel.h"
#include "gui/app/twips.h"
#include "gui/dialogs/choicegrid.h"
#include "gui/themes/themepaint.h"

namespace qm::gui {

namespace {

// The designed layout, in twips: rows of the list, the places it has room for, the buttons and
// the margin below them.
constexpr int kRowPitch = 240;
constexpr int kPlaces = 70;
constexpr int kButtonBelowLastRow = 360;
constexpr int kCancelLeft = 1200, kSelectLeft = 2340;
constexpr int kBottomMargin = 120;

}  // namespace

ModelDialog::ModelDialog(QWidget* parent, const DialogContext& context, const DeviceTable& devices,
                         int32_t modelnumber)
    : QDialog(parent), context_(context), modelnumber_(modelnumber), openingnumber_(modelnumber) {
    setObjectName("Form5");
    setWindowTitle("Select Microcontroller");
    setModal(true);
    Form_Load(devices);
}

void ModelDialog::Form_Load(const DeviceTable& devices) {
    QStringList names;
    for (int i = 1; i <= devices.modelcount(); ++i) {
        names.push_back(QString::fromStdString(devices.models[static_cast<size_t>(i)].name));
    }
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("modellist");
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    opcija_ = new ChoiceGrid(names, "opcija_", 1, kRowPitch, nullptr);
    scroll_->setWidget(opcija_);
    scroll_->viewport()->setAutoFillBackground(false);
    opcija_->setAutoFillBackground(false);
    for (int i = 1; i <= devices.modelcount(); ++i) {
        const devicemodel& model = devices.models[static_cast<size_t>(i)];
        opcija_->entry(i - 1)->setToolTip(
            QString::fromStdString("FLASH: " + model.flash + ", EEPROM: " + model.eeprom));
    }
    connect(opcija_, &ChoiceGrid::clicked, this, [this](int i) { opcija_Click(i + 1); });
    connect(opcija_, &ChoiceGrid::doubleclicked, this, [this](int i) { opcija_DblClick(i + 1); });

    // The dialog fits the list up to its 70 places; beyond them the list scrolls.
    const int rows = (opcija_->count() + 1) / 2;
    const int shownrows = std::min(rows, kPlaces / 2);
    const bool scrolls = rows > shownrows;
    scroll_->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const QSize shown = opcija_->sizeforrows(shownrows);
    const int barwidth = scrolls ? scroll_->verticalScrollBar()->sizeHint().width() : 0;
    scroll_->setGeometry(0, 0, shown.width() + barwidth, shown.height());

    const int buttontop = opcija_->rowtop(std::max(shownrows, 1) - 1) + px(kButtonBelowLastRow);
    const ChoiceButtons buttons = addchoicebuttons(this, buttontop, kCancelLeft, kSelectLeft);
    command1_ = buttons.select;
    command2_ = buttons.cancel;
    connect(command1_, &QPushButton::clicked, this, &ModelDialog::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &ModelDialog::Command2_Click);
    setFixedSize(scroll_->width(), command1_->geometry().bottom() + 1 + px(kBottomMargin));

    settheme(context_.roles());
    highlight();
    for (QWidget* widget : {static_cast<QWidget*>(scroll_), static_cast<QWidget*>(command1_),
                            static_cast<QWidget*>(command2_)}) {
        widget->installEventFilter(this);
    }
    command1_->setFocus();
}

void ModelDialog::settheme(const ColourRoles& roles) { paintback(this, roles.windowback); }

void ModelDialog::highlight() { opcija_->mark(modelnumber_ - 1, context_.roles()); }

void ModelDialog::opcija_Click(int32_t number) {
    modelnumber_ = number;
    highlight();
}

void ModelDialog::opcija_DblClick(int32_t number) {
    opcija_Click(number);
    Command1_Click();
}

void ModelDialog::Command1_Click() {
    chosen_ = modelnumber_;
    accept();
}

void ModelDialog::Command2_Click() {
    modelnumber_ = openingnumber_;
    chosen_ = 0;
    QDialog::reject();
}

void ModelDialog::reject() {
    // Esc and the window frame count as Cancel: the model clicked last is not half-chosen.
    Command2_Click();
}

bool ModelDialog::movehighlight(int key) {
    int step = 0;
    switch (key) {
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_Right:
            step = 1;
            break;
        case Qt::Key_Up:
            step = -2;
            break;
        case Qt::Key_Down:
            step = 2;
            break;
        default:
            return false;
    }
    const int32_t next = modelnumber_ + step;
    if (next >= 1 && next <= opcija_->count()) {
        opcija_Click(next);
        scroll_->ensureWidgetVisible(opcija_->entry(next - 1), 0, 0);
    }
    return true;
}

// Only a shown list has its real viewport: scrolled any earlier, the highlighted model would
// land at a place computed for a viewport of the wrong size.
void ModelDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (modelnumber_ >= 1 && modelnumber_ <= opcija_->count()) {
        scroll_->ensureWidgetVisible(opcija_->entry(modelnumber_ - 1), 0, 0);
    }
}

bool ModelDialog::eventFilter(QObject* watched, QEvent* event) {
    // The buttons and the list would take the arrow keys for themselves (focus, scrolling).
    if (event->type() == QEvent::KeyPress && movehighlight(static_cast<QKeyEvent*>(event)->key())) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace qm::gui
