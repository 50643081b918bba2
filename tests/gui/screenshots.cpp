// Renders the main window and the dialogs offscreen into PNG files, so that anyone can look at
// them without a display: gui_screenshots [OUTPUT_FOLDER]
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <variant>

#include "devices/configwords.h"
#include "devices/findmodel.h"
#include "devices/selectmodel.h"
#include "gui/app/helptexts.h"
#include "gui/dialogs/configdialog.h"
#include "gui/dialogs/hardwarecheck.h"
#include "gui/dialogs/inputbox.h"
#include "gui/dialogs/messagebox.h"
#include "gui/dialogs/modeldialog.h"
#include "gui/themes/themechooser.h"
#include "guirig.h"

using namespace qm;
using namespace qm::gui;

namespace {

const char* const kUsage =
    "Usage: gui_screenshots [OUTPUT_FOLDER]\n"
    "\n"
    "Renders the main window and the dialogs offscreen into PNG files in OUTPUT_FOLDER\n"
    "(default: screenshots in the current folder), which is made when missing.\n"
    "\n"
    "  -h, --help  this text\n"
    "  --          ends the options: a folder whose name starts with '-' follows\n";

// The output folder the arguments name (Qt's own options already taken out), or the exit code
// when they ask for none: 0 for the usage, 2 for arguments that make no sense.
std::variant<QString, int> outputfolder(const QStringList& arguments) {
    QStringList folders;
    bool options = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (options && argument == "--") {
            options = false;
        } else if (options && (argument == "-h" || argument == "--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (options && argument.startsWith('-') && argument.size() > 1) {
            std::fprintf(stderr, "gui_screenshots: unknown option %s\n%s", qPrintable(argument),
                         kUsage);
            return 2;
        } else {
            folders << argument;
        }
    }
    if (folders.size() > 1) {
        std::fprintf(stderr, "gui_screenshots: one output folder, not %d\n%s", int(folders.size()),
                     kUsage);
        return 2;
    }
    return folders.isEmpty() ? QStringLiteral("screenshots") : folders.front();
}

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
    const std::variant<QString, int> output = outputfolder(QApplication::arguments());
    if (const int* code = std::get_if<int>(&output)) return *code;
    const QDir folder(std::get<QString>(output));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "gui_screenshots: cannot make the folder %s\n",
                     qPrintable(folder.path()));
        return 1;
    }
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

    // The configuration words of a model with two, by their fields; and the question Program
    // All asks about a word it warns of (the 16F628A's erased word).
    ActiveModel twowords;
    ActiveModel onegate;  // the 16F628A
    if (selectmodel(rig.devices, findmodel(rig.devices, "16F88"), twowords).ok &&
        selectmodel(rig.devices, findmodel(rig.devices, "16F628A"), onegate).ok) {
        ConfigDialog config(rig.window.get(), dialogs, twowords, {0x3F30, 0x0001});
        config.show();
        ok &= save(&config, folder, "config_16f88");
        std::string text = "Before programming the 16F628A:";
        for (const std::string& paragraph : configpitfalls(onegate, onegate.erasedconfig))
            text += "\r\n\r\n" + paragraph;
        MessageBox ask(rig.window.get(), dialogs,
                       QString::fromStdString(text + "\r\n\r\nProgram anyway?"),
                       kMsgYesNo | kMsgDefaultNo, "");
        ask.show();
        ok &= save(&ask, folder, "config_question");
    }

    InputBox input(rig.window.get(), dialogs,
                   "Please select programmer serial port number [1-16]:\r\n\r\n"
                   "The list of COM ports that can be opened:\r\n"
                   "- Serial port COM1 available (/dev/ttyS0)\r\n"
                   "- Serial port COM9 available (/dev/ttyUSB0)",
                   "", "9");
    input.show();
    ok &= save(&input, folder, "inputbox");

    ModelDialog models(rig.window.get(), dialogs, rig.devices, 3);
    models.show();
    ok &= save(&models, folder, "modeldialog");

    // A device file longer than the dialog's 70 places: the list scrolls.
    DeviceTable many = rig.devices;
    while (many.modelcount() < 75) {
        many.models.push_back(many.models[size_t(many.modelcount() % 10 + 1)]);
        many.models.back().name = "16F" + std::to_string(600 + many.modelcount());
    }
    ModelDialog longlist(rig.window.get(), dialogs, many, 73);
    longlist.show();
    ok &= save(&longlist, folder, "modeldialog_75");

    // The hardware check with CLOCK and DATA OUT up; DATA IN (here DATA OUT read back) shows
    // after one poll.
    test::whenmodal<HardwareCheck>([&](HardwareCheck* check) {
        QTest::mouseClick(check->findChild<QCheckBox*>("Check3"), Qt::LeftButton);
        QTest::mouseClick(check->findChild<QCheckBox*>("Check4"), Qt::LeftButton);
        QTest::qWait(2 * HardwareCheck::kPollInterval);
        ok &= save(check, folder, "hardwarecheck");
        check->accept();
    });
    rig.window->menucheck_Click();

    // The theme chooser after a click on "Mono Dark", and the main window recoloured by it.
    test::whenmodal<ThemeChooser>([&](ThemeChooser* chooser) {
        QTest::mouseClick(chooser->findChild<QWidget*>("opcija_28"), Qt::LeftButton);
        ok &= save(chooser, folder, "themechooser");
        ok &= save(rig.window.get(), folder, "main_monodark");
        QTest::keyClick(chooser, Qt::Key_Escape);
    });
    rig.window->menucolors_Click();

    MessageBox pinout(rig.window.get(), dialogs, pinouttext(), 0, "");
    pinout.show();
    ok &= save(&pinout, folder, "pinout");
    MessageBox about(rig.window.get(), dialogs,
                     abouttext("Quellmark", QUELLMARK_VERSION, qVersion()), 0, "");
    about.show();
    ok &= save(&about, folder, "about");
    InputBox progtime(rig.window.get(), dialogs, "Enter new programming time in ms [1-30].", "",
                      "5");
    progtime.show();
    ok &= save(&progtime, folder, "progtime");

    // Texts longer than their labels: the status line keeps its start, the file label the file
    // name; each label has the whole text as its tool tip.
    QTemporaryDir temporary;
    const QString deep = temporary.filePath(
        "projects/firmware/releases/2024/controller_board_rev_c/bootloader_and_application");
    QDir().mkpath(deep);
    const QString hexcopy = deep + "/blink628a_final_release_candidate.hex";
    QFile::copy(QString::fromStdString(test::exampleshex()), hexcopy);
    test::GuiRig longnames("sim:" + (deep + "/simulated_chip.hex").toStdString());
    longnames.load();
    ok &= save(longnames.window.get(), folder, "main_longstatus");
    longnames.window->openhexpath(hexcopy);
    ok &= save(longnames.window.get(), folder, "main_longpath");
    return ok ? 0 : 1;
}
