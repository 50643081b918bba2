// The hardware check: each click one line change on the adapter, DATA IN polled.
#include <QCheckBox>
#include <QPushButton>

#include "gui/dialogs/hardwarecheck.h"
#include "guirig.h"

namespace qm::gui::test {
namespace {

struct Boxes {
    QCheckBox* vddvpp;
    QCheckBox* clock;
    QCheckBox* dataout;
    QCheckBox* datain;
};

Boxes boxesof(HardwareCheck* dialog) {
    return {dialog->findChild<QCheckBox*>("Check2"), dialog->findChild<QCheckBox*>("Check3"),
            dialog->findChild<QCheckBox*>("Check4"), dialog->findChild<QCheckBox*>("Check5")};
}

// Runs `action` in the hardware check opened from the Hardware menu.
void incheck(GuiRig& rig, std::function<void(HardwareCheck*, const Boxes&)> action) {
    bool opened = false;
    whenmodal<HardwareCheck>([&](HardwareCheck* dialog) {
        opened = true;
        action(dialog, boxesof(dialog));
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    });
    rig.window->findChild<QAction*>("menucheck")->trigger();
    EXPECT_TRUE(opened);
}

// The simulated adapter without a chip reads DATA OUT back on DATA IN, as the real adapter's
// resistor does, so DATA IN follows the DATA OUT box.
TEST(GuiHardwareCheck, EachClickDrivesOneLineAndDataInFollowsTheLine) {
    GuiRig rig;  // COM3 opens on the simulated adapter rig.ports
    rig.load();
    incheck(rig, [&rig](HardwareCheck* dialog, const Boxes& box) {
        EXPECT_EQ(dialog->windowTitle(), "Check Hardware");
        for (QCheckBox* check : {box.vddvpp, box.clock, box.dataout, box.datain}) {
            EXPECT_FALSE(check->isChecked()) << check->objectName().toStdString();
        }
        auto* timer = dialog->findChild<QTimer*>("Timer1");
        EXPECT_TRUE(timer->isActive());
        EXPECT_EQ(timer->interval(), 50);

        const int64_t bytes = rig.ports.bytessent();
        const bool supply = rig.ports.supply();
        QTest::mouseClick(box.vddvpp, Qt::LeftButton);
        EXPECT_EQ(rig.ports.bytessent(), bytes + 1);
        EXPECT_NE(rig.ports.supply(), supply);
        QTest::mouseClick(box.vddvpp, Qt::LeftButton);
        EXPECT_EQ(rig.ports.bytessent(), bytes + 2);
        EXPECT_EQ(rig.ports.supply(), supply);

        QTest::mouseClick(box.clock, Qt::LeftButton);
        EXPECT_TRUE(rig.ports.rts());
        EXPECT_FALSE(rig.ports.dtr());
        QTest::mouseClick(box.dataout, Qt::LeftButton);
        EXPECT_TRUE(rig.ports.dtr());
        EXPECT_TRUE(QTest::qWaitFor([&] { return box.datain->isChecked(); }, 2000));

        // The indicator answers a click with the line's state and hands the focus to Close.
        QTest::mouseClick(box.datain, Qt::LeftButton);
        EXPECT_TRUE(box.datain->isChecked());
        EXPECT_EQ(QApplication::focusWidget(), dialog->findChild<QPushButton*>("Command1"));

        QTest::mouseClick(box.dataout, Qt::LeftButton);
        EXPECT_FALSE(rig.ports.dtr());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !box.datain->isChecked(); }, 2000));
        QTest::mouseClick(box.datain, Qt::LeftButton);
        EXPECT_FALSE(box.datain->isChecked());
    });

    // Closing puts back what the clicks left: CLOCK high goes low, the status line says so.
    const QString restored =
        "Check Hardware closed: the supply is off, CLOCK and DATA OUT are low.";
    EXPECT_FALSE(rig.ports.rts());
    EXPECT_EQ(rig.text("label_status"), restored);

    // An odd number of toggles leaves the adapter powered until the dialog closes; the next
    // operation's power-on then really powers the chip on.
    rig.window->setstatus("");
    incheck(rig, [&rig](HardwareCheck*, const Boxes& box) {
        EXPECT_FALSE(box.clock->isChecked());
        QTest::mouseClick(box.vddvpp, Qt::LeftButton);
        QTest::mouseClick(box.clock, Qt::LeftButton);
        QTest::mouseClick(box.dataout, Qt::LeftButton);
        EXPECT_TRUE(rig.ports.supply() && rig.ports.rts() && rig.ports.dtr());
    });
    EXPECT_FALSE(rig.ports.supply() || rig.ports.rts() || rig.ports.dtr());
    EXPECT_EQ(rig.text("label_status"), restored);

    // Opening and closing without a click touches nothing and says nothing.
    rig.window->setstatus("");
    const int64_t bytes = rig.ports.bytessent();
    incheck(rig, [](HardwareCheck*, const Boxes&) {});
    EXPECT_EQ(rig.text("label_status"), "");
    EXPECT_EQ(rig.ports.bytessent(), bytes);
}

// The FT232R cable's port queues line changes; each click still reaches the adapter at once. In
// an empty socket DATA IN reads DATA OUT back; the supply switched on by a click is off again once
// the dialog closes, so the simulated adapter has nothing to report.
TEST(GuiHardwareCheck, OnTheBitBangCableEachClickReachesTheAdapterAtOnce) {
    GuiRig rig("ftdisim=none");
    rig.load();
    BoxWatch watch;
    incheck(rig, [](HardwareCheck*, const Boxes& box) {
        QTest::mouseClick(box.dataout, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return box.datain->isChecked(); }, 2000));
        QTest::mouseClick(box.dataout, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !box.datain->isChecked(); }, 2000));
        QTest::mouseClick(box.vddvpp, Qt::LeftButton);
    });
    EXPECT_EQ(watch.texts(), QStringList());
    EXPECT_EQ(rig.text("label_status"),
              "Check Hardware closed: the supply is off, CLOCK and DATA OUT are low.");
}

// A power-on with CLOCK high is a fault on the simulated chip: the box after the check says so
// with a capital and the time since the check opened, not the clock's own reading.
TEST(GuiHardwareCheck, TheSimulatedChipsFaultsAreTimedFromTheCheckOpening) {
    GuiRig rig("sim");
    rig.load();
    rig.clock.advance(std::chrono::seconds(5));
    SeenBox box;
    incheck(rig, [&rig, &box](HardwareCheck*, const Boxes& lines) {
        rig.clock.advance(std::chrono::milliseconds(250));
        QTest::mouseClick(lines.clock, Qt::LeftButton);
        QTest::mouseClick(lines.vddvpp, Qt::LeftButton);
        acceptmessage(box);
    });
    ASSERT_TRUE(box.seen);
    EXPECT_TRUE(box.text.startsWith("Simulated chip at 250 ms: protocol fault: "))
        << box.text.toStdString();
}

}  // namespace
}  // namespace qm::gui::test
