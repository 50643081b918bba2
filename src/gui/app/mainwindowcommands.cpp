// The main window's commands: HEX files, chip operations, the port and the hardware check.
#include <QApplication>
#include <QFileDialog>
#include <QLabel>

#include <cstdio>

#include "buffer/hexload.h"
#include "buffer/hexwriter.h"
#include "buffer/lastpath.h"
#include "devices/configwords.h"
#include "engine/chipoperations.h"
#include "gui/app/clicklabel.h"
#include "gui/app/elidedlabel.h"
#include "gui/app/guihost.h"
#include "gui/app/mainwindow.h"
#include "gui/dialogs/hardwarecheck.h"
#include "gui/dialogs/inputbox.h"
#include "platform/port/programmerport.h"
#include "platform/stopsignals.h"

namespace qm::gui {

namespace {

const char* const kHexFilter = "Intel HEX files (*.hex);;All files (*)";

}  // namespace

bool MainWindow::refusedwhilebusy() {
    if (!busy_) return false;
    // A HEX load, a model change or an edit would change the buffer under the running operation.
    QApplication::beep();
    return true;
}

void MainWindow::menuopen_Click() {
    if (refusedwhilebusy()) return;
    QFileDialog dialog(this, "Select HEX File To Open", QString::fromStdString(lastpath_),
                       kHexFilter);
    dialog.setObjectName("CommonDialog1");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().front();
    if (path.isEmpty()) return;
    loadhex(path);
}

void MainWindow::openhexpath(const QString& path) {
    if (refusedwhilebusy()) return;
    loadhex(QFileInfo(path).absoluteFilePath());
}

void MainWindow::loadhex(const QString& path) {
    const std::string name = takelastpath(settings_, lastpath_, path.toStdString());
    const HexLoadResult loaded =
        loadhexfile(*host_, progbuffer_, activemodel_, loadedwords_, lastpath_, name);
    label_hex_->setfulltext(QString::fromStdString(loaded.labelhex));
    // The status line is too narrow for the notes after the load report; a box makes sure they
    // are read.
    if (loaded.ok) {
        if (const std::string notes = loadnotes(loaded.read, "\r\n"); !notes.empty())
            showmessage(QString::fromStdString(notes), kMsgInfo);
    }
}

void MainWindow::menusave_Click() {
    if (refusedwhilebusy()) return;
    QFileDialog dialog(this, "Save Buffer As", QString::fromStdString(lastpath_), kHexFilter);
    dialog.setObjectName("CommonDialog2");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks its own overwrite question, after the dialog.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().front();
    if (path.isEmpty()) return;
    const std::string name = takelastpath(settings_, lastpath_, path.toStdString());
    const HexSaveResult saved = savehexfile(*host_, progbuffer_, activemodel_, lastpath_ + name);
    if (saved.labelhex) label_hex_->setfulltext(QString::fromStdString(*saved.labelhex));
}

void MainWindow::runchipoperation(Operation operation) {
    if (refusedwhilebusy()) return;
    port_->markstart();
    runoperation(*engine_, operation, port_->state());
    showsimreport();
    quitifstopped();
}

void MainWindow::showsimreport() {
    const ProgrammerPort::Report report = port_->report();
    if (report.lines.empty()) return;
    std::string text;
    for (const std::string& line : report.lines) text += line + "\r\n";
    // On the way out nobody may be there to close a box: the terminal gets it.
    if (StopSignals::received() != 0) {
        std::fputs(("quellmark: " + text).c_str(), stderr);
        return;
    }
    showmessage(QString::fromStdString(text), kMsgInfo);
}

void MainWindow::menuprogram_Click() {
    if (refusedwhilebusy() || !confirmconfigwords()) return;
    runchipoperation(Operation::Program);
}

bool MainWindow::confirmconfigwords() {
    // A port that is not ready refuses the operation anyway; asking first would only delay that.
    if (!port_->ready()) return true;
    const std::vector<std::string> paragraphs = configpitfalls(activemodel_, progbuffer_.conf);
    if (paragraphs.empty()) return true;
    std::string text = "Before programming the " + activemodel_.modelname + ":";
    for (const std::string& paragraph : paragraphs) text += "\r\n\r\n" + paragraph;
    text += "\r\n\r\nProgram anyway?";
    return showmessage(QString::fromStdString(text), kMsgYesNo | kMsgDefaultNo) == kAnswerYes;
}
void MainWindow::menuread_Click() { runchipoperation(Operation::Read); }
void MainWindow::menuerase_Click() { runchipoperation(Operation::Erase); }
void MainWindow::menublank_Click() { runchipoperation(Operation::BlankCheck); }
void MainWindow::menuverify_Click() { runchipoperation(Operation::Verify); }

void MainWindow::menucheck_Click() {
    if (!port_->ready()) {
        setstatus(QString::fromStdString(port_->porterror()));
        return;
    }
    HardwareCheck dialog(this, port_->driver());
    port_->markstart();
    dialog.exec();
    if (!dialog.restoredtext().isEmpty()) setstatus(dialog.restoredtext());
    // What the simulated chip made of the lines the user drove by hand.
    showsimreport();
}

void MainWindow::menuport_Click() {
    if (refusedwhilebusy()) return;
    const QString answer = myinputbox(this, dialogs_, QString::fromStdString(port_->prompt()),
                                      QString(), QString::number(port_->proposedport()));
    port_->changeport(answer.toStdString());
}

}  // namespace qm::gui
