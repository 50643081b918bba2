// Every menu command of the main window, on the simulated adapter.
#include <QAction>
#include <QDialog>

#include "guirig.h"

namespace qm::gui::test {
namespace {

TEST(GuiMenus, EveryCommandOpensItsWindowOrRunsItsOperation) {
    GuiRig rig("sim");
    rig.load();
    const struct {
        const char* command;
        const char* window;  // objectName of the modal window it opens, nullptr for none
        const char* status;  // what the status line starts with afterwards
    } cases[] = {
        {"menuclear", nullptr, ""},
        {"menuopen", "CommonDialog1", ""},
        {"menusave", "CommonDialog2", ""},
        // The erased configuration word of a fresh buffer is asked about first; Esc is No.
        {"menuprogram", "Form08", ""},
        {"menuread", nullptr, "Chip read. "},
        {"menuerase", nullptr, "Chip erased. "},
        {"menublank", nullptr, "Chip is blank. "},
        {"menuverify", nullptr, "Chip verified. "},
        {"menucheck", "Form98", "Chip verified. "},
        {"menuconfig", "FormConfig", "Chip verified. "},
        {"menumodel", "Form5", ""},
        {"menuport", "Form07", ""},
        {"menuprogtime", "Form07", ""},
        {"menucolors", "Form34", ""},
        {"menuportinfo", "Form08", ""},
        {"menuabout", "Form08", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        QString opened;
        if (c.window != nullptr) {
            whenmodal<QDialog>([&opened](QDialog* dialog) {
                opened = dialog->objectName();
                QTest::keyClick(dialog, Qt::Key_Escape);
            });
        }
        rig.window->findChild<QAction*>(c.command)->trigger();
        EXPECT_EQ(opened, c.window ? c.window : "");
        const QString status(c.status);
        EXPECT_EQ(rig.text("label_status").left(status.size()), status);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    EXPECT_EQ(rig.text("label_ime"), "16F84A");
}

}  // namespace
}  // namespace qm::gui::test
