// The model dialog: choosing, confirming and leaving it; its layout for short and long lists;
// the simulated chip that follows the model.
#include <QFile>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>

#include "gui/app/twips.h"
#include "gui/dialogs/inputbox.h"
#include "gui/dialogs/modeldialog.h"
#include "guirig.h"
#include "settings/settingnames.h"

namespace qm::gui::test {
namespace {

void press(ModelDialog* dialog, const char* button) {
    QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
}

TEST(GuiModelDialog, OnlyARealChoiceChangesAndSavesTheModelAndTheBufferIsClearedAnyway) {
    using End = std::function<void(ModelDialog*, QLabel*)>;
    const End select = [](ModelDialog* d, QLabel* e) {
        QTest::mouseClick(e, Qt::LeftButton);
        press(d, "Command1");
    };
    const End cancel = [](ModelDialog* d, QLabel* e) {
        QTest::mouseClick(e, Qt::LeftButton);
        press(d, "Command2");
    };
    const End frame = [](ModelDialog* d, QLabel* e) {
        QTest::mouseClick(e, Qt::LeftButton);
        d->close();
    };
    const End escape = [](ModelDialog* d, QLabel* e) {
        QTest::mouseClick(e, Qt::LeftButton);
        QTest::keyClick(d, Qt::Key_Escape);
    };
    const End doubleclick = [](ModelDialog*, QLabel* e) { QTest::mouseDClick(e, Qt::LeftButton); };
    const struct {
        const char* what;
        const char* entry;
        End end;
        const char* model;    // active afterwards
        const char* setting;  // "Microcontroller Model" afterwards
        int32_t progtime;
    } cases[] = {
        {"select another", "opcija_3", select, "16F628A", "3", 5},
        {"double click", "opcija_3", doubleclick, "16F628A", "3", 5},
        {"cancel", "opcija_3", cancel, "16F84A", "01", 12},
        {"frame close", "opcija_3", frame, "16F84A", "01", 12},
        {"escape", "opcija_4", escape, "16F84A", "01", 12},
        {"select the same", "opcija_1", select, "16F84A", "01", 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GuiRig rig;
        rig.settings.writetext(kSettingModel, "01");  // model 1, as no save would write it
        rig.load();
        rig.window->openhexpath(QString::fromStdString(exampleshex()));
        whenmodal<InputBox>([](InputBox* box) {  // a programming time of the user's
            QTest::keyClicks(box->findChild<QLineEdit*>("txt_input"), "12");
            QTest::keyClick(box->findChild<QLineEdit*>("txt_input"), Qt::Key_Return);
        });
        rig.window->menuprogtime_Click();

        whenmodal<ModelDialog>([&c](ModelDialog* dialog) {
            EXPECT_EQ(dialog->windowTitle(), "Select Microcontroller");
            c.end(dialog, dialog->findChild<QLabel*>(c.entry));
        });
        rig.click("label_ime");

        EXPECT_EQ(rig.text("label_ime"), c.model);
        EXPECT_EQ(rig.settings.readtext(kSettingModel), c.setting);
        EXPECT_EQ(rig.window->activemodel().progtime, c.progtime);
        // The buffer starts afresh for the active model, whatever the way out.
        EXPECT_EQ(rig.text("label_hex"), "");
        EXPECT_EQ(rig.window->progbuffer().flash[0], 0x3FFF);
        EXPECT_EQ(rig.window->progbuffer().flash.size(),
                  size_t(rig.window->activemodel().flashsize));
        EXPECT_EQ(rig.find<QScrollBar>("scrl1")->maximum(),
                  rig.window->activemodel().flashsize / 8 - 8);
    }
}

// A device table of `count` models with the shipped ones' values.
DeviceTable modeltable(int count) {
    const DeviceTable shipped = shippeddevices();
    DeviceTable table = shipped;
    table.models.resize(1);
    for (int i = 1; i <= count; ++i) {
        table.models.push_back(shipped.models[size_t((i - 1) % shipped.modelcount() + 1)]);
        table.models.back().name = "M" + std::to_string(i);
    }
    return table;
}

TEST(GuiModelDialog, FitsShortListsInTwoColumnsAndScrollsLongOnes) {
    const DeviceTable shipped = shippeddevices();
    for (const int count : {5, 6, 70, 75}) {
        SCOPED_TRACE(count);
        const DeviceTable table = modeltable(count);
        ModelDialog dialog(nullptr, DialogContext{}, table, count);
        dialog.show();
        const auto entry = [&](int i) {
            return dialog.findChild<QLabel*>("opcija_" + QString::number(i));
        };
        ASSERT_NE(entry(count), nullptr);
        EXPECT_EQ(entry(count + 1), nullptr);

        // Odd numbers left, even right, rows 240 twips apart from 120.
        EXPECT_EQ(entry(1)->pos(), QPoint(px(120), px(120)));
        EXPECT_EQ(entry(2)->pos(), QPoint(px(2340), px(120)));
        EXPECT_EQ(entry(3)->pos(), QPoint(px(120), px(360)));
        EXPECT_EQ(entry(5)->y() - entry(1)->y(), 2 * (entry(3)->y() - entry(1)->y()));
        EXPECT_EQ(entry(1)->toolTip(),
                  QString::fromStdString("FLASH: " + shipped.models[1].flash +
                                         ", EEPROM: " + shipped.models[1].eeprom));

        // The buttons stand 360 twips below the top of the last row the dialog shows.
        const int lastrow = std::min((count + 1) / 2, 35);
        const int lastrowtop = px(120) + (lastrow - 1) * (entry(3)->y() - entry(1)->y());
        auto* select = dialog.findChild<QPushButton*>("Command1");
        EXPECT_EQ(select->y(), lastrowtop + px(360));
        EXPECT_EQ(dialog.findChild<QPushButton*>("Command2")->y(), select->y());
        EXPECT_EQ(dialog.height(), select->geometry().bottom() + 1 + px(120));

        // Past 70 the list scrolls; the highlighted last model has been scrolled into view.
        auto* list = dialog.findChild<QScrollArea*>("modellist");
        EXPECT_EQ(list->verticalScrollBar()->isVisible(), count > 70);
        EXPECT_FALSE(entry(count)->visibleRegion().isEmpty());
        EXPECT_EQ(entry(count)->palette().color(QPalette::Window).name(), "#c0ffc0");

        // The arrow keys move the highlight by a row and within a row.
        QTest::keyClick(select, Qt::Key_Up);
        EXPECT_EQ(dialog.modelnumber(), count - 2);
        QTest::keyClick(select, Qt::Key_Left);
        EXPECT_EQ(dialog.modelnumber(), count - 3);
    }

    // A model near the top opens the long list at its top, with no row cut off.
    ModelDialog top(nullptr, DialogContext{}, modeltable(75), 3);
    top.show();
    EXPECT_EQ(top.findChild<QScrollArea*>("modellist")->verticalScrollBar()->value(), 0);
}

// Chooses a model in the dialog with a double click.
void choosemodel(GuiRig& rig, const char* entry) {
    whenmodal<ModelDialog>([entry](ModelDialog* dialog) {
        QTest::mouseDClick(dialog->findChild<QLabel*>(entry), Qt::LeftButton);
    });
    rig.window->menumodel_Click();
}

// On the simulated adapter each model gets a chip of its own family; the image carries the
// memory from one to the next, and an image that cannot be used is refused as at start-up.
TEST(GuiModelDialog, OnTheSimulatedAdapterTheChipFollowsTheModelAndKeepsTheImage) {
    ShortTemporaryDir dir;
    const QString image = dir.filePath("chip.hex");
    const QByteArray garbage = ":not a hex record\n";
    QFile file(image);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(garbage);
    file.close();
    GuiRig rig("sim:" + image.toStdString());
    SeenBox atload, refused;
    acceptmessage(atload);
    rig.load();
    EXPECT_TRUE(atload.seen);
    acceptmessage(refused);
    choosemodel(rig, "opcija_3");
    EXPECT_TRUE(refused.text.startsWith("The simulated chip's image " + image + " cannot be used:"))
        << refused.text.toStdString();
    EXPECT_EQ(rig.text("label_status"), "Simulated adapter error!");
    rig.click("Command3");
    EXPECT_EQ(rig.text("label_status"), "Simulated adapter error!");
    rig.window->setstatus("");
    rig.window->findChild<QAction*>("menucheck")->trigger();
    EXPECT_EQ(rig.text("label_status"), "Simulated adapter error!");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), garbage);
    file.close();

    // Once the file is out of the way the next model change builds the chip.
    ASSERT_TRUE(file.remove());
    choosemodel(rig, "opcija_1");
    choosemodel(rig, "opcija_3");
    EXPECT_EQ(rig.text("label_status"),
              "Simulated adapter ready... (chip 16F628A, image " + image + ")");
    rig.window->openhexpath(QString::fromStdString(exampleshex()));
    rig.click("Command1");
    choosemodel(rig, "opcija_1");
    EXPECT_EQ(rig.text("label_status"),
              "Simulated adapter ready... (chip 16F84A, image " + image + ")");
    choosemodel(rig, "opcija_3");
    rig.window->openhexpath(QString::fromStdString(exampleshex()));
    rig.click("Command5");
    EXPECT_TRUE(rig.text("label_status").startsWith("Chip verified. "))
        << rig.text("label_status").toStdString();
}

// Behind the simulated FT232R cable too; a chip the port names stays in the socket whatever the
// model, so the device ID check then finds the other chip.
TEST(GuiModelDialog, TheSimulatedChipFollowsTheModelUnlessThePortNamesIt) {
    const QString wrongchip =
        "Operation failed: the chip in the socket is a 16F877A, not a 16F628A.";
    const struct {
        const char* port;
        QString status;
        QString programmed;
    } cases[] = {
        {"sim", "Simulated adapter ready... (chip 16F628A)", "Chip programmed. "},
        {"ftdisim",
         "Simulated FT232R cable ready... (chip 16F628A, bit-bang rate measured: 750 000 pin "
         "bytes/s)",
         "Chip programmed. "},
        {"sim=16F877A", "", wrongchip},
        {"ftdisim=16F877A", "", wrongchip},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        GuiRig rig(c.port);
        rig.settings.writetext(kSettingModel, "8");  // 16F877A
        rig.load();
        choosemodel(rig, "opcija_3");
        EXPECT_EQ(rig.text("label_status"), c.status);
        rig.window->openhexpath(QString::fromStdString(exampleshex()));
        SeenBox box;
        if (c.programmed == wrongchip) acceptmessage(box);
        rig.click("Command1");
        EXPECT_TRUE(rig.text("label_status").startsWith(c.programmed))
            << rig.text("label_status").toStdString();
    }
}

}  // namespace
}  // namespace qm::gui::test
