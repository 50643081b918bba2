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
// cannot be changed by the user. Opens with every box cleared and the lines as they are. Closing
// puts back what the clicks changed: the supply off again after an odd number of toggles, CLOCK
// and DATA OUT low; a powered adapter left behind would take the next operation's power-on for a
// power-off. Takes no part in the colour themes.
class HardwareCheck final : public QDialog {
    Q_OBJECT
  public:
    // How often DATA IN is read, in milliseconds.
    static constexpr int kPollInterval = 50;

    HardwareCheck(QWidget* parent, LineDriver& driver);

    // Puts the lines back, however the dialog closes.
    void done(int result) override;
    // What closing put back, for the status line; empty when no line was touched.
    const QString& restoredtext() const { return restored_; }

  private:
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    void Timer1_Timer();
    // Sets a line as its box shows: high when ticked, else low.
    void drive(const QCheckBox& box, void (LineDriver::*high)(), void (LineDriver::*low)());

    LineDriver& driver_;
    // Supply toggles since opening are odd; a line was driven by a click.
    bool supplyflipped_ = false;
    bool touched_ = false;
    QString restored_;
    QCheckBox* check2_ = nullptr;
    QCheckBox* check3_ = nullptr;
    QCheckBox* check4_ = nullptr;
    QCheckBox* check5_ = nullptr;
    QPushButton* command1_ = nullptr;
    QTimer* timer1_ = nullptr;
};

}  // namespace qm::gui
