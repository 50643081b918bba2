#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QTimer;

namespace qm {
class LineDriver;
}

namespace qm::gui {

// The hardware check (objectName "Form98", "Check Hardware"): each programmer line driven by
// hand through the line driver, one line operation per click, and DATA IN watched every 50 ms.
// Check2 toggles the supply, Check3 sets CLOCK, Check4 sets DATA OUT, Check5 shows DATA IN and
// cannot be changed by the user. Opens with every box cleared and the lines as they are; closing
// leaves the lines as the user left them. Takes no part in the colour themes.
class HardwareCheck final : public QDialog {
    Q_OBJECT
  public:
    // How often DATA IN is read, in milliseconds.
    static constexpr int kPollInterval = 50;

    HardwareCheck(QWidget* parent, LineDriver& driver);

  private:
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    void Timer1_Timer();
    // Sets a line as its box shows: high when ticked, else low.
    void drive(const QCheckBox& box, void (LineDriver::*high)(), void (LineDriver::*low)());

    LineDriver& driver_;
    QCheckBox* check2_ = nullptr;
    QCheckBox* check3_ = nullptr;
    QCheckBox* check4_ = nullptr;
    QCheckBox* check5_ = nullptr;
    QPushButton* command1_ = nullptr;
    QTimer* timer1_ = nullptr;
};

}  // namespace qm::gui
