// Renders the main window and the dialogs offscreen into PNG files, so that anyone can look at
// them without a display: gui_screenshots OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QLineEdit>

#include <cstdio>

#include "gui/dialogs/inputbox.h"
#include "gui/dialogs/messagebox.h"
#include "guirig.h"

using namespace qm;
using namespace qm::gui;

namespace {

bool save(QWidget* widget, const QDir& folder, const char* name) {
    QApplication::processEvents();
    const QString path = folder.filePath(QString(name) + ".png");
    const bool ok = widget->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? argv[1] : "screenshots");
    QDir().mkpath(folder.path());
    bool ok = true;

    test::GuiRig rig;
    rig.load();
    ok &= save(rig.window.get(), folder, "main_fresh");

    rig.window->openhexpath(QString::fromStdString(test::exampleshex()));
    ok &= save(rig.window.get(), folder, "main_hex");

    MemoryDump* view = rig.flashview();
    const QPoint value = view->cellrect(1, 2).center();
    QTest::mouseMove(view, value);
    QTest::mouseClick(view, Qt::RightButton, {}, value);
    QTest::keyClicks(rig.find<QLineEdit>("unosbox"), "12a");
    ok &= save(rig.window.get(), folder, "main_edit");

    const DialogContext& dialogs = rig.window->dialogs();
    MessageBox error(rig.window.get(), dialogs,
                     "Chip verify failed:\r\n\r\nMemory Location,   Read Value,   Expected,\r\n"
                     "FLASH 000Ah,   0000h,   3FFFh,\r\nFLASH 000Bh,   0000h,   2811h,\r\n",
                     16, "");
    error.show();
    ok &= save(&error, folder, "messagebox_error");

    MessageBox question(rig.window.get(), dialogs,
                        "Do you want to overwrite file /home/user/projects/firmware/releases/"
                        "2024/controller_board_rev_c/blink628a_final.hex?",
                        4, "");
    question.show();
    ok &= save(&question, folder, "messagebox_yesno");

    InputBox input(rig.window.get(), dialogs,
                   "Please select programmer serial port number [1-16]:\r\n\r\n"
                   "The list of COM ports that can be opened:\r\n"
                   "- Serial port COM1 available (/dev/ttyS0)\r\n"
                   "- Serial port COM9 available (/dev/ttyUSB0)",
                   "", "9");
    input.show();
    ok &= save(&input, folder, "inputbox");
    return ok ? 0 : 1;
}
