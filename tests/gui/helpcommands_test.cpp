// The programming time, the pinout and the About text.
#include <QPushButton>

#include "gui/dialogs/inputbox.h"
#include "guirig.h"

namespace qm::gui::test {
namespace {

TEST(GuiHelpCommands, ProgrammingTimeTakesOneToThirtyByItsLeadingNumber) {
    GuiRig rig;
    rig.load();
    ASSERT_EQ(rig.window->activemodel().progtime, 8);  // 16F84A in the device file
    const struct {
        const char* typed;  // nullptr: Cancel
        int32_t progtime;   // afterwards
        bool wrong;
    } cases[] = {
        {"12", 12, false},   {"0", 12, true},    {"31", 12, true},  {"abc", 12, true},
        {"30.4", 30, false}, {"31.5", 30, true}, {"0.5", 30, true}, {"2.5", 2, false},
        {"1.5", 2, false},   {"7ms", 7, false},  {" 9", 9, false},  {nullptr, 9, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed ? c.typed : "cancel");
        const int32_t before = rig.window->activemodel().progtime;
        QString prompt, proposed;
        whenmodal<InputBox>([&](InputBox* box) {
            prompt = box->findChild<QLabel*>("lab_title")->text();
            auto* field = box->findChild<QLineEdit*>("txt_input");
            proposed = field->text();
            if (c.typed == nullptr) {
                QTest::mouseClick(box->findChild<QPushButton*>("Command2"), Qt::LeftButton);
                return;
            }
            QTest::keyClicks(field, c.typed);
            QTest::keyClick(field, Qt::Key_Return);
        });
        SeenBox error;
        if (c.wrong) acceptmessage(error);
        rig.window->findChild<QAction*>("menuprogtime")->trigger();
        EXPECT_EQ(prompt, "Enter new programming time in ms [1-30].");
        EXPECT_EQ(proposed, QString::number(before));
        EXPECT_EQ(rig.window->activemodel().progtime, c.progtime);
        EXPECT_EQ(error.seen, c.wrong);
        if (c.wrong) {
            EXPECT_EQ(error.text, "Wrong entry!");
            EXPECT_EQ(error.title, "Quellmark");
        }
    }
}

TEST(GuiHelpCommands, PinoutAndAboutShowTheirTexts) {
    GuiRig rig;
    rig.load();
    SeenBox pinout;
    acceptmessage(pinout);
    rig.window->findChild<QAction*>("menuportinfo")->trigger();
    EXPECT_EQ(pinout.title, "Quellmark");
    EXPECT_EQ(pinout.text,
              "Serial Port Pinout:\n\nPin\tSignal\tDirection\n1\tDCD\tInput\n2\tRD\tInput\n"
              "3\tTD\tOutput\n4\tDTR\tOutput\n5\tGND\t-\n6\tDSR\tInput\n7\tRTS\tOutput\n"
              "8\tCTS\tInput\n9\tRI\tInput\n\n"
              "Directions are defined from the viewpoint of the PC.");

    SeenBox about;
    acceptmessage(about);
    rig.window->findChild<QAction*>("menuabout")->trigger();
    const QStringList lines = about.text.split('\n');
    ASSERT_EQ(lines.size(), 12) << about.text.toStdString();
    EXPECT_EQ(lines[0], "Quellmark");
    EXPECT_EQ(lines[1], "Author: Quellmark developers");
    EXPECT_EQ(lines[4],
              "This software is supplied as is in goodwill that it will successfully serve its "
              "purpose, but without any warranties.");
    EXPECT_TRUE(lines[5].startsWith("This is free software add-on for Fenwright available on "));
    EXPECT_EQ(lines[7], "Send bug reports and suggestions to:");
    EXPECT_EQ(lines[10], QString("Version ") + QUELLMARK_VERSION + ", Qt " + qVersion());
    EXPECT_EQ(lines[11], "License: GNU GPL version 3 or later (GPL-3.0-or-later)");
}

}  // namespace
}  // namespace qm::gui::test
