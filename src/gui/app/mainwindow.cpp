#include "gui/app/mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSocketNotifier>

#include <cstdlib>

#include "buffer/dumprows.h"
#include "devices/savedmodel.h"
#include "gui/app/clicklabel.h"
#include "gui/app/elidedlabel.h"
#include "gui/app/guihost.h"
#include "gui/app/memorydump.h"
#include "gui/app/wheelfilter.h"
#include "gui/dialogs/messagebox.h"
#include "gui/themes/themepaint.h"
#include "host/exitcode.h"
#include "host/systemclock.h"
#include "platform/port/programmerport.h"
#include "platform/stopsignals.h"
#include "settings/settings.h"
#include "text/hextext.h"

namespace qm::gui {

namespace {

QStringList toqt(const std::vector<std::string>& rows) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(rows.size()));
    for (const std::string& row : rows) list.push_back(QString::fromStdString(row));
    return list;
}

}  // namespace

MainWindow::MainWindow(MainWindowSetup setup)
    : setup_(std::move(setup)), devices_(*setup_.devices), settings_(*setup_.settings) {
    setObjectName("Form1");
    setWindowTitle("Quellmark");
    // The icon of the desktop entry, built into the program, for this window and the dialogs it
    // opens. Qt's SVG plugins draw it; without them the windows go without.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quellmark.svg")));
    setAcceptDrops(true);
    dialogs_.dialogcaption = setup_.dialogcaption;
    dialogs_.dialogscale = setup_.dialogscale;
    dialogs_.theme = &theme_;

    Clock* clock = setup_.clock;
    if (clock == nullptr) {
        ownclock_ = std::make_unique<SystemClock>();
        pumpingclock_ = std::make_unique<PumpingClock>(*ownclock_, pump_);
        clock = pumpingclock_.get();
    }
    host_ = std::make_unique<GuiHost>(*this, pump_, *clock);

    buildmenus();
    buildcontrols();
    std::function<std::string()> stopreason;
    if (setup_.stopsignals != nullptr) {
        stopreason = &StopSignals::reason;
        auto* notifier =
            new QSocketNotifier(setup_.stopsignals->wakeupfd(), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &MainWindow::stopsignalled);
    }
    port_ = std::make_unique<ProgrammerPort>(ProgrammerPort::Setup{
        host_.get(), &settings_, &activemodel_, clock, setup_.realport, stopreason});
    engine_ =
        std::make_unique<Engine>(*host_, port_->port(), port_->driver(), activemodel_, progbuffer_);
    engine_->devices = &devices_;
}

MainWindow::~MainWindow() {
    Form_Deactivate();
    engine_.reset();
    port_.reset();
}

void MainWindow::Form_Load() {
    loadtheme(settings_, theme_);
    settheme();
    show();
    lastpath_ = getsetting(settings_, kSettingLastPath, setup_.appfolder);

    const SelectModelResult selected = activatesavedmodel(devices_, settings_, activemodel_);
    if (!selected.ok) showmessage(QString::fromStdString(selected.message), kMsgError);

    menuclear_Click();
    ProgrammerPort::Request request = ProgrammerPort::Request::of(setup_.options);
    request.listports = true;  // for the list of "Change Serial Port Number"
    const ProgrammerPort::Opened opened = port_->open(request);
    if (opened.boxed) showmessage(QString::fromStdString(opened.message), kMsgError);
}

void MainWindow::menuclear_Click() {
    if (refusedwhilebusy()) return;
    disable();
    clearbuffer(progbuffer_, activemodel_);
    loadedwords_ = 0;
    updatedisplay();
    label_hex_->setfulltext(QString());
    label_status_->setfulltext(QString());
    enable();
    // Both views back to their first row; a memory of fewer than 64 locations has no range.
    scrl1_->setMaximum(0);
    scrl2_->setMaximum(0);
    scrl1_->setMaximum(std::max(0, viewscrollmax(activemodel_.flashsize)));
    scrl2_->setMaximum(std::max(0, viewscrollmax(activemodel_.eepromsize)));
    scrl2_->setFocus();
    scrl1_->setFocus();
}

void MainWindow::updatedisplay() {
    label_ime_->setText(QString::fromStdString(activemodel_.modelname));
    label_info_->setText(
        QString::fromStdString(memorysizestext(activemodel_.flashsize, activemodel_.eepromsize)));
    tabla_flash_->setrows(toqt(viewrows(progbuffer_.flash, MemoryKind::Flash, scrl1_->value())));
    tabla_eeprom_->setrows(toqt(viewrows(progbuffer_.eeprom, MemoryKind::Eeprom, scrl2_->value())));
    label_conf_[0]->setText(QString::fromStdString(hexword(progbuffer_.conf[0])));
    const bool conf2 = activemodel_.config2used;
    label_conf_[1]->setText(conf2 ? QString::fromStdString(hexword(progbuffer_.conf[1]))
                                  : QString());
    label_conf_[1]->setVisible(conf2);
    lfix_[1]->setVisible(conf2);
    showconfigtips();
}

void MainWindow::scrollbarchanged() { updatedisplay(); }

void MainWindow::disable() {
    if (!busy_) QApplication::setOverrideCursor(Qt::BusyCursor);
    busy_ = true;
    closeeditbox();
    for (QMenu* menu : menus_) menu->setEnabled(false);
    for (QPushButton* button : commands_) button->setEnabled(false);
    pump_.pumpnow();
}

void MainWindow::enable() {
    for (QMenu* menu : menus_) menu->setEnabled(true);
    for (QPushButton* button : commands_) button->setEnabled(true);
    if (busy_) QApplication::restoreOverrideCursor();
    busy_ = false;
    pump_.pumpnow();
}

void MainWindow::settheme() {
    const ColourRoles& r = theme_.roles;
    paintback(client_, r.windowback);
    paintrole(label_ime_, r.modelback, r.modelfore);
    paintrole(label_info_, r.infoback, r.infofore);
    paintrole(Label3_, r.memcapback, r.memcapfore);
    paintrole(Label4_, r.memcapback, r.memcapfore);
    paintrole(Label1_, r.modelcapback, r.modelcapfore);
    paintrole(Label5_, r.modelback, r.modelfore);
    paintrole(Label7_, r.filecapback, r.filecapfore);
    for (QLabel* label : lfix_) paintrole(label, r.confcapback, r.confcapfore);
    paintrole(label_hex_, r.valueback, r.valuefore);
    paintrole(label_status_, r.valueback, r.valuefore);
    for (QLabel* label : label_conf_) paintrole(label, r.valueback, r.valuefore);
}

void MainWindow::setstatus(const QString& text) { label_status_->setfulltext(text); }

int MainWindow::showmessage(const QString& text, int type, const QString& caption) {
    return mymsgbox(this, dialogs_, text, type, caption);
}

void MainWindow::endprogram() {
    shutdownport();
    if (setup_.onendprogram) setup_.onendprogram();
    std::exit(kExitDevice);
}

void MainWindow::shutdownport() {
    port_->close();
    port_->report();
}

void MainWindow::stopsignalled() {
    if (setup_.stopsignals != nullptr) setup_.stopsignals->clearwakeup();
    if (StopSignals::received() == 0) return;
    // A box waiting for an answer would hold the operation, or the end, up.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* box = qobject_cast<QDialog*>(modal)) box->reject();
    }
    quitifstopped();
}

bool MainWindow::quitifstopped() {
    const int signal = StopSignals::received();
    if (signal == 0 || busy_) return false;
    stopexitcode_ = exitcodeforsignal(signal);
    if (setup_.quit) setup_.quit(stopexitcode_);
    return true;
}

void MainWindow::MouseWheel(int rotation) {
    QScrollBar* bar = activeview_ == 1 ? scrl1_ : activeview_ == 2 ? scrl2_ : nullptr;
    if (bar == nullptr) return;
    int v = bar->value() + (rotation < 0 ? 3 : -3);
    v = std::max(bar->minimum(), std::min(v, bar->maximum()));
    bar->setValue(v);
}

void MainWindow::Form_Activate() {
    if (getsettingnum(settings_, kSettingMouseWheel, kDefaultMouseWheel) == 0) return;
    Form_Deactivate();
    wheelfilter_ = new WheelFilter(
        this, [this](int rotation) { MouseWheel(rotation); }, this);
    qApp->installEventFilter(wheelfilter_);
}

void MainWindow::Form_Deactivate() {
    if (wheelfilter_ == nullptr) return;
    qApp->removeEventFilter(wheelfilter_);
    delete wheelfilter_;
    wheelfilter_ = nullptr;
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Form_Activate();
    if (event->type() == QEvent::WindowDeactivate) Form_Deactivate();
    return QMainWindow::event(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == scrl1_) activeview_ = 1;
        if (watched == scrl2_) activeview_ = 2;
    }
    if (watched == client_ && event->type() == QEvent::MouseButtonPress) scrl1_->setFocus();
    if (watched == unosbox_) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                unosbox_Enter();
                return true;
            }
            if (key == Qt::Key_Escape) {
                closeeditbox();
                return true;
            }
        }
        if (event->type() == QEvent::FocusOut) closeeditbox();
        // The second click of a double click on a configuration word lands on the edit box its
        // first click opened.
        if (event->type() == QEvent::MouseButtonDblClick && edittarget_ == EditTarget::Config) {
            label_conf_DblClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing in the middle of an operation would leave the chip half-written and powered.
    if (busy_) {
        event->ignore();
        QApplication::beep();
        return;
    }
    Form_Deactivate();
    shutdownport();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!busy_ && urls.size() == 1 && urls.front().isLocalFile()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (busy_ || urls.size() != 1 || !urls.front().isLocalFile()) return;
    event->acceptProposedAction();
    openhexpath(urls.front().toLocalFile());
}

}  // namespace qm::gui
