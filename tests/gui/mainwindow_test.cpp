// The main window as a user meets it: the load sequence, HEX files, editing in place, the wheel.
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include "guirig.h"
#include "settings/settingnames.h"

namespace qm::gui::test {
namespace {

QString backgroundof(QWidget* widget) {
    return widget->palette().color(QPalette::Window).name().mid(1).toUpper();
}

// Chooses `path` in the next file dialog.
void choosefile(const QString& path) {
    whenmodal<QFileDialog>([path](QFileDialog* dialog) {
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
}

std::string readfile(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(GuiMainWindow, LoadsOnFreshSettingsWithModelOneTheDefaultThemeAndTheHighestPort) {
    GuiRig rig(std::nullopt, {"/dev/ttyS0", "/dev/ttyS2"});
    rig.load();

    EXPECT_EQ(rig.window->windowTitle(), "Quellmark");
    EXPECT_EQ(rig.text("label_ime"), "16F84A");
    EXPECT_EQ(rig.text("label_info"), "FLASH: 1024,  EEPROM: 64");
    EXPECT_EQ(backgroundof(rig.find("client")), "D7E6CA");
    EXPECT_EQ(backgroundof(rig.find("label_ime")), "FFC0C0");
    EXPECT_EQ(rig.find("label_ime")->palette().color(QPalette::WindowText), Qt::black);
    EXPECT_EQ(rig.text("label_status"), "Serial port COM3 ready...");
    EXPECT_EQ(rig.text("label_hex"), "");

    const QStringList rows = rig.flashview()->rows();
    ASSERT_EQ(rows.size(), 8);
    EXPECT_EQ(rows[0], "000000: 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF");
    EXPECT_EQ(rows[7], "000038: 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF");
    EXPECT_EQ(rig.eepromview()->rows()[0], "0000: FF FF FF FF FF FF FF FF");
    EXPECT_EQ(rig.text("label_conf_0"), "3FFF");
    EXPECT_FALSE(rig.find("label_conf_1")->isVisible());
    EXPECT_FALSE(rig.find("lfix_1")->isVisible());
    EXPECT_EQ(rig.find<QScrollBar>("scrl1")->maximum(), 120);
    EXPECT_EQ(rig.find<QScrollBar>("scrl2")->maximum(), 0);  // 64 bytes: one screen
    EXPECT_EQ(rig.window->activeview(), 1);

    EXPECT_EQ(rig.settings.readtext(kSettingModel), "1");
    EXPECT_EQ(rig.settings.readtext(kSettingColorTheme), "Original Lite");
    EXPECT_EQ(rig.settings.readnum(kSettingPortNumber), 3);
    EXPECT_EQ(rig.settings.readtext(kSettingLastPath), "/tmp/");
}

TEST(GuiMainWindow, AModelNameInTheSettingsChoosesThatModel) {
    GuiRig rig;
    rig.settings.writetext(kSettingModel, "pic16f877a");  // its leading number is model 16
    rig.load();
    EXPECT_EQ(rig.text("label_ime"), "16F877A");
}

TEST(GuiMainWindow, OpenHexFileFillsTheViewsAndNamesTheFile) {
    GuiRig rig;
    rig.load();
    choosefile(QString::fromStdString(exampleshex()));
    rig.window->findChild<QAction*>("menuopen")->trigger();

    EXPECT_EQ(rig.text("label_status"),
              "Operation completed. Total 28 (.027K) program words loaded.");
    EXPECT_EQ(rig.text("label_hex").toStdString(), exampleshex());
    EXPECT_EQ(rig.flashview()->rows()[0], "000000: 2805 3FFF 3FFF 3FFF 3FFF 3007 009F 0186");
    EXPECT_EQ(rig.eepromview()->rows()[0].left(11), "0000: 51 4D");
    EXPECT_EQ(rig.text("label_conf_0"), "3F30");
    EXPECT_EQ(rig.settings.readtext(kSettingLastPath),
              QFileInfo(QString::fromStdString(exampleshex())).absolutePath().toStdString() + "/");

    // Clear Buffer empties the views and the file name again.
    rig.window->findChild<QAction*>("menuclear")->trigger();
    EXPECT_EQ(rig.text("label_hex"), "");
    EXPECT_EQ(rig.flashview()->rows()[0], "000000: 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF");
}

TEST(GuiMainWindow, AFileWithoutDataSaysSoInTheLoadReportAndInABox) {
    QTemporaryDir dir;
    const QString path = dir.filePath("empty.hex");
    std::ofstream(path.toStdString()).close();
    GuiRig rig;
    rig.load();
    SeenBox box;
    acceptmessage(box);
    rig.window->openhexpath(path);
    EXPECT_TRUE(box.seen);
    EXPECT_EQ(box.text,
              "The file holds no data for the chip.\nNo end-of-file record: the file may "
              "be cut off.");
    EXPECT_EQ(rig.text("label_status"),
              "Operation completed. Total 0 (0K) program words loaded. The file holds no data for "
              "the chip. No end-of-file record: the file may be cut off.");
}

TEST(GuiMainWindow, SaveBufferAsWritesTheFileAndAFailedSaveKeepsWhatWasThere) {
    GuiRig rig;
    rig.load();
    rig.window->openhexpath(QString::fromStdString(exampleshex()));
    ShortTemporaryDir dir;

    const QString saved = dir.filePath("copy.hex");
    choosefile(saved);
    rig.window->findChild<QAction*>("menusave")->trigger();
    EXPECT_EQ(rig.text("label_status"), "HEX file saved.");
    EXPECT_EQ(rig.text("label_hex"), saved);
    const std::string written = readfile(saved);
    EXPECT_NE(written.find(":00000001FF"), std::string::npos);

    // Saving again over it asks first; No leaves the file alone.
    SeenBox question;
    choosefile(saved);
    whenmodal<MessageBox>([&question](MessageBox* box) {
        question.text = box->findChild<QLabel*>("lab_title")->text();
        QTest::keyClick(box, Qt::Key_N);
    });
    rig.window->findChild<QAction*>("menusave")->trigger();
    EXPECT_TRUE(question.text.startsWith("Do you want to overwrite file"));

    // A write that fails half-way (here: a file size limit, which binds root too) leaves the old
    // file whole; the error names the file and the label keeps the file the buffer came from.
    rig.window->progbuffer().flash[0] = 0x1234;
    SeenBox error;
    choosefile(saved);
    whenmodal<MessageBox>([&error](MessageBox* box) {
        QTest::keyClick(box, Qt::Key_Y);  // overwrite: yes
        acceptmessage(error);
    });
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{64, limit.rlim_max};
    const auto oldsignal = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    rig.window->findChild<QAction*>("menusave")->trigger();
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldsignal);
    EXPECT_TRUE(error.seen);
    EXPECT_TRUE(error.text.startsWith("Cannot save the HEX file " + saved + "\n"))
        << error.text.toStdString();
    EXPECT_EQ(rig.text("label_status"), "HEX file not saved!");
    EXPECT_EQ(readfile(saved), written);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// Right click on the value under the pointer, type, Enter: the location is computed from the
// metrics of the font the view really uses.
TEST(GuiMainWindow, RightClickEditsTheValueUnderThePointer) {
    GuiRig rig;
    rig.load();
    rig.window->openhexpath(QString::fromStdString(exampleshex()));
    auto* box = rig.find<QLineEdit>("unosbox");
    auto* scrl1 = rig.find<QScrollBar>("scrl1");
    scrl1->setValue(2);

    struct Case {
        const char* view;
        int row, column;
        const char* typed;
        int key;
        int index;       // the location under the pointer
        int32_t stored;  // its value afterwards, -1: unchanged
    };
    const Case cases[] = {
        {"tabla_flash", 3, 6, "12ab", Qt::Key_Return, (2 + 3) * 8 + 6, 0x12AB},
        {"tabla_flash", 0, 0, "7", Qt::Key_Enter, 16, 0x0007},
        {"tabla_flash", 0, 1, "4000", Qt::Key_Return, 17, -1},  // out of range
        {"tabla_flash", 0, 2, "1234", Qt::Key_Escape, 18, -1},  // cancelled
        {"tabla_eeprom", 7, 7, "a5", Qt::Key_Return, 63, 0xA5},
        {"tabla_eeprom", 1, 0, "1", Qt::Key_Return, 8, 0x01},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.view) + " " + c.typed);
        auto* view = rig.find<MemoryDump>(c.view);
        const bool flash = std::string(c.view) == "tabla_flash";
        const auto& memory =
            flash ? rig.window->progbuffer().flash : rig.window->progbuffer().eeprom;
        const int32_t before = memory[size_t(c.index)];
        const QRect cell = view->cellrect(c.row, c.column);
        // The right end of the value's area, its trailing space, still counts.
        const QPoint at(cell.right() - 1, cell.center().y());
        QTest::mouseClick(view, Qt::RightButton, {}, at);
        ASSERT_TRUE(box->isVisible());
        EXPECT_EQ(box->geometry().topLeft(), view->geometry().topLeft() + cell.topLeft());
        QTest::keyClicks(box, c.typed);
        QTest::keyClick(box, Qt::Key(c.key));
        EXPECT_FALSE(box->isVisible());
        EXPECT_EQ(memory[size_t(c.index)], c.stored < 0 ? before : c.stored);
        EXPECT_EQ(rig.window->activeview(), flash ? 1 : 2);
    }
    EXPECT_EQ(rig.flashview()->rows()[3], "000028: 3FFF 3FFF 3FFF 3FFF 3FFF 3FFF 12AB 3FFF");
    EXPECT_EQ(rig.text("label_hex"), "");

    // The address column and the configuration word.
    QTest::mouseClick(rig.flashview(), Qt::RightButton, {},
                      rig.flashview()->cellrect(0, 0).topLeft() - QPoint(8, -2));
    EXPECT_FALSE(box->isVisible());
    QTest::mouseClick(rig.find("label_conf_0"), Qt::LeftButton);
    ASSERT_TRUE(box->isVisible());
    QTest::keyClicks(box, "0");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(rig.text("label_conf_0"), "0000");
    EXPECT_EQ(rig.window->activeview(), 1);
}

TEST(GuiMainWindow, TheWheelScrollsTheViewLastHoveredThreeRowsANotch) {
    GuiRig rig;
    rig.settings.writetext(kSettingModel, "8");  // 16F877A: 256 EEPROM bytes, a scroll range
    rig.load();
    auto* scrl1 = rig.find<QScrollBar>("scrl1");
    auto* scrl2 = rig.find<QScrollBar>("scrl2");
    const auto wheel = [](QWidget* over, int delta) {
        const QPoint at = over->rect().center();
        QWheelEvent event(at, over->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &event);
    };

    wheel(rig.flashview(), -120);
    EXPECT_EQ(scrl1->value(), 3);
    EXPECT_EQ(rig.flashview()->rows()[0].left(7), "000018:");
    QTest::mouseMove(rig.eepromview());
    EXPECT_EQ(rig.window->activeview(), 2);
    wheel(rig.eepromview(), -120);
    wheel(rig.eepromview(), -60);  // half a notch waits for the other half
    EXPECT_EQ(scrl2->value(), 3);
    wheel(rig.eepromview(), -60);
    EXPECT_EQ(scrl2->value(), 6);
    scrl2->setValue(23);
    wheel(rig.eepromview(), -120);
    EXPECT_EQ(scrl2->value(), 24);  // the maximum: 256/8 - 8
    wheel(rig.eepromview(), 120);
    EXPECT_EQ(scrl2->value(), 21);
    QTest::mouseMove(rig.flashview());
    wheel(rig.flashview(), 120);
    wheel(rig.flashview(), 120);
    EXPECT_EQ(scrl1->value(), 0);
    EXPECT_EQ(scrl2->value(), 21);

    // Switched off in the settings: the next activation installs nothing.
    rig.settings.writenum(kSettingMouseWheel, 0);
    QWidget other;
    other.show();
    other.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
    rig.window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(rig.window.get()));
    wheel(rig.flashview(), -120);
    EXPECT_EQ(scrl1->value(), 0);
}

}  // namespace
}  // namespace qm::gui::test
