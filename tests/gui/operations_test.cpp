// Chip operations from the buttons on the simulated chip, and the port commands.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>

#include "gui/dialogs/inputbox.h"
#include "guirig.h"
#include "platform/stopsignals.h"
#include "settings/settingnames.h"
#include "sim/chipfamily.h"
#include "sim/picchip.h"

#include <csignal>

namespace qm::gui::test {
namespace {

const std::array<const char*, 5> kButtons = {"Command1", "Command2", "Command3", "Command4",
                                             "Command5"};
const std::array<const char*, 5> kMenus = {"menu1", "menu3", "menu4", "menu5", "menu6"};

// Whether every menu and button is enabled (1), disabled (0), or mixed (-1).
int commandsenabled(const GuiRig& rig) {
    int enabled = 0;
    for (const char* name : kButtons) enabled += rig.find<QPushButton>(name)->isEnabled();
    for (const char* name : kMenus) enabled += rig.find<QMenu>(name)->isEnabled();
    return enabled == 10 ? 1 : enabled == 0 ? 0 : -1;
}

std::string simport() { return "sim"; }

TEST(GuiOperations, ProgramAllThenVerifyGreysTheCommandsAndRefusesChangesWhileRunning) {
    GuiRig rig(simport());
    rig.settings.writetext(kSettingModel, "3");  // 16F628A
    rig.load();
    EXPECT_EQ(rig.text("label_status"), "Simulated adapter ready... (chip 16F628A)");
    rig.window->openhexpath(QString::fromStdString(exampleshex()));
    const ProgBuffer loaded = rig.window->progbuffer();

    // What a user can reach while the operation runs: nothing that changes the buffer, and the
    // window does not close.
    int during = -2;
    bool closed = true;
    bool editboxopened = true;
    QTimer probe;
    probe.setSingleShot(true);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!rig.window->busy()) {
            probe.start(0);
            return;
        }
        during = commandsenabled(rig);
        closed = rig.window->close();
        const QRect cell = rig.flashview()->cellrect(0, 0);
        QTest::mouseClick(rig.flashview(), Qt::RightButton, {}, cell.center());
        QTest::mouseClick(rig.find("label_conf_0"), Qt::LeftButton);
        editboxopened = rig.find("unosbox")->isVisible();
        QTest::mouseClick(rig.find("label_hex"), Qt::LeftButton);  // would open a file dialog
    });
    probe.start(0);
    rig.click("Command1");
    EXPECT_EQ(during, 0);
    EXPECT_FALSE(closed);
    EXPECT_FALSE(editboxopened);
    EXPECT_TRUE(rig.window->isVisible());
    EXPECT_TRUE(rig.text("label_status").startsWith("Chip programmed. "))
        << rig.text("label_status").toStdString();
    EXPECT_TRUE(rig.text("label_status").endsWith(" seconds elapsed..."));
    EXPECT_EQ(commandsenabled(rig), 1);
    EXPECT_EQ(rig.window->progbuffer().flash, loaded.flash);

    rig.click("Command5");
    EXPECT_TRUE(rig.text("label_status").startsWith("Chip verified. "))
        << rig.text("label_status").toStdString();
    EXPECT_EQ(commandsenabled(rig), 1);
}

TEST(GuiOperations, VerifyAgainstAChangedBufferShowsTheMismatchReport) {
    GuiRig rig(simport());
    rig.settings.writetext(kSettingModel, "3");
    rig.load();
    rig.window->openhexpath(QString::fromStdString(exampleshex()));
    rig.click("Command1");
    rig.window->progbuffer().flash[1] = 0x0123;  // as an edit would

    SeenBox report;
    acceptmessage(report);
    rig.click("Command5");
    ASSERT_TRUE(report.seen);
    EXPECT_EQ(report.title, "Quellmark");
    EXPECT_TRUE(
        report.text.startsWith("Chip verify failed:\n\nMemory Location,   Read Value,   "
                               "Expected,\n"))
        << report.text.toStdString();
    EXPECT_TRUE(report.text.contains("0001")) << report.text.toStdString();
    EXPECT_TRUE(rig.text("label_status").startsWith("Chip verify failed. "));
}

TEST(GuiOperations, AnotherChipInTheSocketStopsProgramAllWithAnErrorBox) {
    const std::pair<const char*, QString> ports[] = {
        {"sim=16F877A", "Simulated adapter ready... (chip 16F877A)"},
        {"ftdisim=16F877A",
         "Simulated FT232R cable ready... (chip 16F877A, bit-bang rate measured: 750 000 pin "
         "bytes/s)"}};
    for (const auto& [port, status] : ports) {
        SCOPED_TRACE(port);
        GuiRig rig(port);
        rig.settings.writetext(kSettingModel, "3");  // 16F628A
        rig.load();
        EXPECT_EQ(rig.text("label_status"), status);
        rig.window->openhexpath(QString::fromStdString(exampleshex()));

        SeenBox box;
        acceptmessage(box);
        rig.click("Command1");
        ASSERT_TRUE(box.seen);
        EXPECT_TRUE(
            box.text.startsWith("Wrong chip: the device ID reads 0E27h, which is the "
                                "16F877A (revision 7), but the model chosen is the "
                                "16F628A"))
            << box.text.toStdString();
        EXPECT_TRUE(box.text.endsWith("Nothing was erased or written.")) << box.text.toStdString();
        EXPECT_EQ(rig.text("label_status"),
                  "Operation failed: the chip in the socket is a 16F877A, not a 16F628A.");
        EXPECT_EQ(commandsenabled(rig), 1);
    }
}

TEST(GuiOperations, ProgramAllThenVerifyRunThroughTheSimulatedFt232rCable) {
    GuiRig rig("ftdisim");
    rig.settings.writetext(kSettingModel, "3");  // 16F628A
    rig.load();
    EXPECT_EQ(rig.text("label_status"),
              "Simulated FT232R cable ready... (chip 16F628A, bit-bang rate measured: 750 000 pin "
              "bytes/s)");
    rig.window->openhexpath(QString::fromStdString(exampleshex()));

    // A timing fault of the chip or the cable would be reported in a message box.
    BoxWatch watch;
    rig.click("Command1");
    EXPECT_TRUE(rig.text("label_status").startsWith("Chip programmed. "))
        << rig.text("label_status").toStdString();
    rig.click("Command5");
    EXPECT_TRUE(rig.text("label_status").startsWith("Chip verified. "))
        << rig.text("label_status").toStdString();
    EXPECT_EQ(watch.texts(), QStringList());
    EXPECT_FALSE(rig.settings.readnum(kSettingPortNumber));
    watch.stop();

    // A cable that is not there (or a build without the back-end) says so, and so do the
    // operations.
    GuiRig absent("ftdi:QM-NO-SUCH-CABLE");
    SeenBox box;
    acceptmessage(box);
    absent.load();
    EXPECT_TRUE(box.text.contains("QM-NO-SUCH-CABLE") || box.text.contains("not available"))
        << box.text.toStdString();
    absent.click("Command1");
    EXPECT_EQ(absent.text("label_status"), "FTDI cable QM-NO-SUCH-CABLE error!");
}

// A signal asking the program to end (SIGTERM at logout, SIGHUP, Ctrl-C in its terminal): a
// running Program All stops at its next line operation with the supply off and the lines low,
// then the program ends with 128 + the signal's number; an idle program ends at once.
TEST(GuiOperations, ASignalStopsTheOperationWithTheSupplyOffAndEndsTheProgram) {
    const struct {
        int signal;
        bool duringprogram;
        const char* status;
    } cases[] = {
        {SIGTERM, true, "Operation failed: stopped by SIGTERM."},
        {SIGHUP, false, "Operation completed. Total 28 (.027K) program words loaded."},
    };
    for (const auto& c : cases) {
        StopSignals stopsignals("quellmark");
        GuiRig rig(std::nullopt, {"/dev/ttyS2"}, &stopsignals);  // COM3
        PicChip chip(chipfamilyformodel("16F628A", 2048, 128), rig.clock);
        rig.ports.attach(&chip);
        rig.settings.writetext(kSettingModel, "3");  // 16F628A
        rig.load();
        rig.window->openhexpath(QString::fromStdString(exampleshex()));

        QTimer probe;
        probe.setSingleShot(true);
        bool raised = false;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (!rig.window->busy()) {
                probe.start(0);
                return;
            }
            raised = raise(c.signal) == 0;
        });
        if (c.duringprogram) {
            probe.start(0);
            rig.click("Command1");
            EXPECT_TRUE(raised);
        } else {
            ASSERT_EQ(raise(c.signal), 0);
            QTest::qWait(20);
        }
        EXPECT_EQ(rig.text("label_status"), c.status);
        EXPECT_FALSE(rig.ports.supply() || rig.ports.rts() || rig.ports.dtr());
        EXPECT_EQ(rig.window->stopexitcode(), 128 + c.signal);
    }
}

TEST(GuiOperations, PortCommandsReportOnTheStatusLine) {
    GuiRig rig(std::nullopt, {});  // no port opens
    rig.load();
    EXPECT_EQ(rig.text("label_status"), "Serial port COM2 error!");
    rig.click("Command2");
    EXPECT_EQ(rig.text("label_status"), "Serial port 2 error!");
    rig.window->findChild<QAction*>("menucheck")->trigger();
    EXPECT_EQ(rig.text("label_status"), "Serial port 2 error!");

    // Change Serial Port Number: the prompt lists what opened at load; a wrong entry is refused.
    rig.ports.setunavailable({});
    QString prompt;
    whenmodal<InputBox>([&prompt](InputBox* box) {
        prompt = box->findChild<QLabel*>("lab_title")->text();
        auto* field = box->findChild<QLineEdit*>("txt_input");
        EXPECT_EQ(field->text(), "2");
        QTest::keyClicks(field, "17");
        QTest::keyClick(field, Qt::Key_Return);
    });
    SeenBox wrong;
    acceptmessage(wrong);
    rig.window->findChild<QAction*>("menuport")->trigger();
    EXPECT_EQ(prompt,
              "Please select programmer serial port number [1-16]:\n\nThe list of COM "
              "ports that can be opened:");
    EXPECT_EQ(wrong.text, "Wrong entry!");
    EXPECT_EQ(rig.settings.readnum(kSettingPortNumber), 2);

    whenmodal<InputBox>([](InputBox* box) {
        auto* field = box->findChild<QLineEdit*>("txt_input");
        QTest::keyClicks(field, "com5");
        QTest::mouseClick(box->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    });
    rig.window->findChild<QAction*>("menuport")->trigger();
    EXPECT_EQ(rig.text("label_status"), "Serial port COM5 ready...");
    EXPECT_EQ(rig.settings.readnum(kSettingPortNumber), 5);
}

// The 16F84A's scripts on a 16F628A (its device ID left unchecked) meet commands the chip does
// not know. The box lists them with a capital, timed from the click, however long the program ran.
TEST(GuiOperations, TheSimulatedChipsFaultsAreTimedFromTheOperationsStart) {
    GuiRig rig("sim=16F628A");
    rig.devices.models[1].optional.erase("deviceid");
    rig.load();
    rig.window->openhexpath(QString::fromStdString(exampleshex()));
    rig.clock.advance(std::chrono::hours(2));
    SeenBox box;
    acceptmessage(box);
    rig.click("Command1");
    ASSERT_TRUE(box.seen);
    const QRegularExpressionMatch first =
        QRegularExpression("^Simulated chip at ([0-9.]+) ms: unknown command 01h at 2007h\n")
            .match(box.text);
    ASSERT_TRUE(first.hasMatch()) << box.text.toStdString();
    EXPECT_LT(first.captured(1).toDouble(), 1000.0);
}

}  // namespace
}  // namespace qm::gui::test
