#include "gui/dialogs/hardwarecheck.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

#include "gui/app/twips.h"
#include "link/linedriver.h"

namespace qm::gui {

namespace {

// The designed layout, in twips.
constexpr int kClientWidth = 3375;
constexpr int kMargin = 120;
constexpr int kBoxHeight = 255, kBoxPitch = 360;
constexpr int kButtonWidth = 1035, kButtonHeight = 375;
constexpr int kButtonBelowBoxes = 240;

}  // namespace

HardwareCheck::HardwareCheck(QWidget* parent, LineDriver& driver)
    : QDialog(parent), driver_(driver) {
    setObjectName("Form98");
    setWindowTitle("Check Hardware");
    setModal(true);

    struct Box {
        const char* name;
        const char* caption;
        QCheckBox** box;
        void (HardwareCheck::*slot)();
    };
    const Box boxes[] = {
        {"Check2", "Toggle VDD-VPP line", &check2_, &HardwareCheck::Check2_Click},
        {"Check3", "Enable CLOCK line", &check3_, &HardwareCheck::Check3_Click},
        {"Check4", "Enable DATA OUT line", &check4_, &HardwareCheck::Check4_Click},
        {"Check5", "Status of DATA IN line", &check5_, &HardwareCheck::Check5_Click},
    };
    int width = px(kClientWidth - 2 * kMargin);
    for (const Box& box : boxes) {
        *box.box = new QCheckBox(box.caption, this);
        (*box.box)->setObjectName(box.name);
        width = std::max(width, (*box.box)->sizeHint().width());
        // clicked, not toggled: only the user's clicks drive the lines.
        connect(*box.box, &QCheckBox::clicked, this, box.slot);
    }
    const int boxheight = std::max(px(kBoxHeight), check2_->sizeHint().height());
    const int pitch = boxheight + px(kBoxPitch - kBoxHeight);
    int top = px(kMargin);
    for (const Box& box : boxes) {
        (*box.box)->setGeometry(px(kMargin), top, width, boxheight);
        top += pitch;
    }
    const int clientwidth = width + 2 * px(kMargin);
    command1_ = new QPushButton("Close", this);
    command1_->setObjectName("Command1");
    command1_->setDefault(true);
    const int buttontop = top - pitch + boxheight + px(kButtonBelowBoxes);
    command1_->setGeometry(clientwidth - px(kMargin + kButtonWidth), buttontop, px(kButtonWidth),
                           px(kButtonHeight));
    connect(command1_, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(clientwidth, buttontop + px(kButtonHeight + kMargin));

    // The indicator is read, never typed into.
    check5_->setFocusPolicy(Qt::NoFocus);

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    timer1_->setInterval(kPollInterval);
    connect(timer1_, &QTimer::timeout, this, &HardwareCheck::Timer1_Timer);
    timer1_->start();
    command1_->setFocus();
}

// Each click reaches the pins before it returns, also on a port that queues line changes (a USB
// bit-bang cable), so the adapter shows it at once.
void HardwareCheck::Check2_Click() {
    // The same toggle whatever the tick shows; the tick only flips with each click.
    driver_.togglevddvpp();
    driver_.flush();
    supplyflipped_ = !supplyflipped_;
    touched_ = true;
}

void HardwareCheck::Check3_Click() {
    drive(*check3_, &LineDriver::clockhigh, &LineDriver::clocklow);
}

void HardwareCheck::Check4_Click() { drive(*check4_, &LineDriver::datahigh, &LineDriver::datalow); }

void HardwareCheck::drive(const QCheckBox& box, void (LineDriver::*high)(),
                          void (LineDriver::*low)()) {
    (driver_.*(box.isChecked() ? high : low))();
    driver_.flush();
    touched_ = true;
}

void HardwareCheck::done(int result) {
    timer1_->stop();
    if (touched_) {
        if (supplyflipped_) driver_.togglevddvpp();
        driver_.clocklow();
        driver_.datalow();
        driver_.flush();
        supplyflipped_ = false;
        touched_ = false;
        restored_ =
            QStringLiteral("Check Hardware closed: the supply is off, CLOCK and DATA OUT are low.");
    }
    QDialog::done(result);
}

void HardwareCheck::Check5_Click() {
    // A click is answered with the line's real state.
    check5_->setChecked(driver_.datain() == 1);
    command1_->setFocus();
}

void HardwareCheck::Timer1_Timer() {
    // Only the box follows the line. The focus stays where the user has it, so that a key that
    // ticks CLOCK or DATA OUT a second time never lands on Close instead.
    check5_->setChecked(driver_.datain() == 1);
}

}  // namespace qm::gui
