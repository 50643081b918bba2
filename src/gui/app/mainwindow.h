#pragma once

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "buffer/bufferedit.h"
#include "buffer/progbuffer.h"
#include "devices/activemodel.h"
#include "devices/devicemodel.h"
#include "engine/engine.h"
#include "gui/app/eventpump.h"
#include "gui/dialogs/dialogcontext.h"
#include "host/clock.h"
#include "link/serialport.h"
#include "platform/options/commandline.h"
#include "settings/settingsstore.h"
#include "themes/loadtheme.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;

namespace qm {
class ProgrammerPort;
class StopSignals;
}  // namespace qm

namespace qm::gui {

class ClickLabel;
class ElidedLabel;
class GuiHost;
class MemoryDump;
class WheelFilter;

// What the start routine hands the main window.
struct MainWindowSetup {
    const DeviceTable* devices = nullptr;
    SettingsStore* settings = nullptr;
    std::string appfolder;  // with a trailing '/'
    QString dialogcaption = QStringLiteral("Quellmark");
    double dialogscale = 1.0;
    Clock* clock = nullptr;          // nullptr: real time
    SerialPort* realport = nullptr;  // nullptr: a QtSerialPort
    // The command line (already checked): a port for this run only, an FT232R cable's wiring.
    CommandLineOptions options;
    // Runs when a fatal script error ends the program, before the process exits.
    std::function<void()> onendprogram;
    // The signals that ask the program to end (SIGTERM at logout, SIGHUP, Ctrl-C in the terminal
    // it was started from); nullptr when none are watched.
    const StopSignals* stopsignals = nullptr;
    // Ends the program's event loops with an exit code, once a signal has asked it to end and no
    // operation runs (the start routine's QCoreApplication::exit; nothing in tests).
    std::function<void(int)> quit;
};

// The main window (objectName "Form1"): menus, the five operation buttons, the loaded file's
// name, the model, the memory views with their scroll bars, the configuration words, the edit
// box and the status line. Every command is a slot named after its control.
class MainWindow final : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(MainWindowSetup setup);
    ~MainWindow() override;

    // The load sequence: theme, show, last path, model, Clear Buffer, ports.
    void Form_Load();
    // Loads a HEX file given by path (command line, a dropped file) as Open HEX File does.
    void openhexpath(const QString& path);

    void updatedisplay();
    void disable();
    void enable();
    void settheme();
    // One wheel notch over the window: rotation < 0 is towards the user (three rows down).
    void MouseWheel(int rotation);

    // What the host forwards.
    void setstatus(const QString& text);
    int showmessage(const QString& text, int type, const QString& caption = QString());
    [[noreturn]] void endprogram();

    // State for tests and the benchmark.
    ProgBuffer& progbuffer() { return progbuffer_; }
    const ActiveModel& activemodel() const { return activemodel_; }
    bool busy() const { return busy_; }
    // The exit code the program was asked to end with by a signal (128 + its number), 0 while
    // none asked.
    int stopexitcode() const { return stopexitcode_; }
    int activeview() const { return activeview_; }
    EventPump& pump() { return pump_; }
    const DialogContext& dialogs() const { return dialogs_; }

  public slots:
    void menuclear_Click();
    void menuopen_Click();
    void menusave_Click();
    void menuprogram_Click();
    void menuread_Click();
    void menuerase_Click();
    void menublank_Click();
    void menuverify_Click();
    void menuconfig_Click();
    void menucheck_Click();
    void menumodel_Click();
    void menuport_Click();
    void menuprogtime_Click();
    void menucolors_Click();
    void menuportinfo_Click();
    void menuabout_Click();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // mainwindowlayout.cpp
    void buildmenus();
    void buildcontrols();
    void placecontrols();
    QLabel* addlabel(const char* name, const QString& caption, int left, int top, int width,
                     int height);
    ClickLabel* addclicklabel(const char* name, const QString& caption, int left, int top,
                              int width, int height);

    // mainwindowcommands.cpp
    void runchipoperation(Operation operation);
    // What the simulated chip found wrong since the last look, in an information box.
    void showsimreport();
    void loadhex(const QString& path);
    // Refuses a command that would change the buffer or the model while an operation runs.
    bool refusedwhilebusy();
    // A signal asked the program to end: a running operation stops at its next line operation
    // (its port fails) and the program ends once it has; an idle program ends at once. Boxes
    // that wait for the user are closed, since nobody may be there to answer.
    void stopsignalled();
    // Ends the event loops once a signal has asked to stop and no operation runs; true then.
    bool quitifstopped();
    // Before the program ends: what a cable holds goes out, the simulated chip's image is saved.
    void shutdownport();

    // mainwindowedit.cpp
    void dumprightclicked(MemoryDump* dump, QPoint point);
    void label_conf_Click(int index);
    // A double click on a configuration word: its first click opened the edit box, which gives
    // way to the dialog of the named fields.
    void label_conf_DblClick();
    // The configuration words' tool tips: what their fields are set to.
    void showconfigtips();
    // Before Program All: what the configuration words do that may not be meant, in one box
    // that asks whether to program anyway (No by default). True to go on.
    bool confirmconfigwords();
    void openeditbox(QRect geometry, int maxlength);
    void unosbox_Enter();
    void closeeditbox();

    void Form_Activate();
    void Form_Deactivate();
    void scrollbarchanged();

    MainWindowSetup setup_;
    const DeviceTable& devices_;
    SettingsStore& settings_;
    ThemeState theme_;
    DialogContext dialogs_;
    EventPump pump_;
    std::unique_ptr<Clock> ownclock_;
    std::unique_ptr<Clock> pumpingclock_;
    std::unique_ptr<GuiHost> host_;
    ActiveModel activemodel_;
    ProgBuffer progbuffer_;
    std::unique_ptr<ProgrammerPort> port_;
    // The engine of every operation on the port, which keeps the interpreter's registers and
    // the last mismatch report between operations.
    std::unique_ptr<Engine> engine_;
    std::string lastpath_;
    int32_t loadedwords_ = 0;

    bool busy_ = false;  // between disable and enable
    int stopexitcode_ = 0;
    int activeview_ = 0;  // 1 FLASH, 2 EEPROM: the view the wheel scrolls
    EditTarget edittarget_ = EditTarget::Flash;
    int32_t editindex_ = 0;
    bool closingedit_ = false;
    WheelFilter* wheelfilter_ = nullptr;

    // Controls, named as their objectName.
    QWidget* client_ = nullptr;
    std::array<QMenu*, 5> menus_{};
    std::array<QPushButton*, 5> commands_{};
    ClickLabel* Label7_ = nullptr;
    ElidedLabel* label_hex_ = nullptr;
    ClickLabel* Label1_ = nullptr;
    ClickLabel* label_ime_ = nullptr;
    ClickLabel* label_info_ = nullptr;
    QLabel* Label3_ = nullptr;
    QLabel* Label4_ = nullptr;
    QLabel* Label5_ = nullptr;
    ElidedLabel* label_status_ = nullptr;
    MemoryDump* tabla_flash_ = nullptr;
    MemoryDump* tabla_eeprom_ = nullptr;
    QScrollBar* scrl1_ = nullptr;
    QScrollBar* scrl2_ = nullptr;
    std::array<QLabel*, 2> lfix_{};
    std::array<ClickLabel*, 2> label_conf_{};
    QLineEdit* unosbox_ = nullptr;
};

}  // namespace qm::gui
