// The configuration words by their named fields in the window: the word's tool tip, the dialog
// from the Tools menu or a double click, and the question before Program All.
#include <QAction>
#include <QComboBox>
#include <QPushButton>

#include "gui/dialogs/configdialog.h"
#include "guirig.h"
#include "settings/settingnames.h"

namespace qm::gui::test {
namespace {

void choose(ConfigDialog* dialog, const char* combo, const QString& setting) {
    auto* box = dialog->findChild<QComboBox*>(combo);
    ASSERT_NE(box, nullptr) << combo;
    const int index = box->findText(setting, Qt::MatchStartsWith);
    ASSERT_GE(index, 0) << setting.toStdString();
    box->setCurrentIndex(index);
}

QString wordshown(ConfigDialog* dialog) { return dialog->findChild<QLabel*>("word_2007")->text(); }

TEST(GuiConfigDialog, TheWordIsChosenByItsFieldsAndOkStoresItAsAnEditWould) {
    GuiRig rig("sim");
    rig.settings.writetext(kSettingModel, "3");  // 16F628A
    rig.load();
    rig.window->openhexpath(QString::fromStdString(exampleshex()));
    ASSERT_EQ(rig.window->progbuffer().conf[0], 0x3F30);
    const QString file = rig.text("label_hex");
    EXPECT_TRUE(rig.find("label_conf_0")
                    ->toolTip()
                    .contains("FOSC  = INTOSCIO   internal oscillator, RA6 and RA7 are I/O"))
        << rig.find("label_conf_0")->toolTip().toStdString();

    // Cancel (Esc) keeps the word, whatever was chosen.
    QString before, after;
    whenmodal<ConfigDialog>([&](ConfigDialog* dialog) {
        before = wordshown(dialog);
        choose(dialog, "combo_FOSC", "LP");
        after = wordshown(dialog);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    rig.window->findChild<QAction*>("menuconfig")->trigger();
    EXPECT_EQ(before, "3F30h");
    EXPECT_EQ(after, "3F20h");
    EXPECT_EQ(rig.window->progbuffer().conf[0], 0x3F30);
    EXPECT_EQ(rig.text("label_hex"), file);

    // A double click on the word opens the dialog too; OK stores the word, and the buffer is no
    // longer the file's.
    whenmodal<ConfigDialog>([&](ConfigDialog* dialog) {
        choose(dialog, "combo_WDTE", "ON");
        after = wordshown(dialog);
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    });
    QTest::mouseDClick(rig.find("label_conf_0"), Qt::LeftButton);
    EXPECT_EQ(after, "3F34h");
    EXPECT_EQ(rig.window->progbuffer().conf[0], 0x3F34);
    EXPECT_EQ(rig.text("label_conf_0"), "3F34");
    EXPECT_EQ(rig.text("label_hex"), "");
    EXPECT_FALSE(rig.find("unosbox")->isVisible());
    EXPECT_TRUE(rig.find("label_conf_0")->toolTip().contains("WDTE  = ON "));
}

// A buffer without a configuration word of its own would program the erased one: Program All
// says what that means and asks first, No being the answer Enter gives.
TEST(GuiConfigDialog, ProgramAllAsksBeforeProgrammingAWordToWarnOf) {
    GuiRig rig("sim");
    rig.settings.writetext(kSettingModel, "3");  // 16F628A
    rig.load();
    QString question;
    whenmodal<MessageBox>([&](MessageBox* box) {
        question = box->findChild<QLabel*>("lab_title")->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    rig.click("Command1");
    EXPECT_TRUE(
        question.startsWith("Before programming the 16F628A:\n\nThe configuration word "
                            "2007h is 21FFh, the erased value"))
        << question.toStdString();
    EXPECT_TRUE(question.contains("LVP = ON")) << question.toStdString();
    EXPECT_TRUE(question.endsWith("Program anyway?")) << question.toStdString();
    EXPECT_FALSE(rig.text("label_status").startsWith("Begin program all."));
    EXPECT_FALSE(rig.text("label_status").startsWith("Chip programmed."));

    whenmodal<MessageBox>([](MessageBox* box) {
        QTest::mouseClick(box->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    });
    rig.click("Command1");
    EXPECT_TRUE(rig.text("label_status").startsWith("Chip programmed. "))
        << rig.text("label_status").toStdString();
}

}  // namespace
}  // namespace qm::gui::test
