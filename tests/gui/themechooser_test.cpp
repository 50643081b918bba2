// The theme chooser: its list, preview by click, Select, Cancel and the window frame.
#include <QPushButton>

#include "gui/themes/themechooser.h"
#include "guirig.h"
#include "settings/settingnames.h"
#include "themes/themetable.h"

namespace qm::gui::test {
namespace {

QString backgroundof(QWidget* widget) {
    return widget->palette().color(QPalette::Window).name().mid(1).toUpper();
}

QLabel* entrynamed(QWidget* dialog, const QString& name) {
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->text() == name) return label;
    }
    ADD_FAILURE() << "no entry " << name.toStdString();
    return nullptr;
}

TEST(GuiThemeChooser, ListsEveryThemeInTwoColumnsAndHighlightsTheOneInForce) {
    GuiRig rig;
    rig.load();
    QStringList captions, highlighted;  // as a user reads them: row by row, left to right
    whenmodal<ThemeChooser>([&](ThemeChooser* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Change Color Theme");
        QList<QLabel*> entries;
        for (int i = 0; i < kThemeCount; ++i) {
            entries.push_back(dialog->findChild<QLabel*>("opcija_" + QString::number(i)));
        }
        std::sort(entries.begin(), entries.end(), [](QLabel* a, QLabel* b) {
            return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
        });
        for (QLabel* entry : entries) {
            captions.push_back(entry->text());
            if (backgroundof(entry) == "C0FFC0") highlighted.push_back(entry->text());
        }
        for (int row = 0; row < kThemeCount / 2; ++row) {
            EXPECT_EQ(entries[2 * row]->y(), entries[2 * row + 1]->y()) << row;
            EXPECT_LT(entries[2 * row]->x(), entries[2 * row + 1]->x()) << row;
        }
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    rig.window->findChild<QAction*>("menucolors")->trigger();

    EXPECT_EQ(highlighted, QStringList{"Original Lite"});
    EXPECT_EQ(captions.mid(0, 4),
              QStringList({"Amethyst", "Arctica", "Baby Jeans", "Bitter Lemon"}));
    // The two "Original" themes share row 17.
    EXPECT_EQ(captions.mid(32, 6), QStringList({"Popcorn", "Powerpuff!", "Original Dark",
                                                "Original Lite", "Owayke", "Rain Forest"}));
    EXPECT_EQ(captions.last(), "Winamp Old");
    QStringList all;
    for (const std::string& name : themenames()) all.push_back(QString::fromStdString(name));
    std::sort(all.begin(), all.end());
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ(captions, all);
}

TEST(GuiThemeChooser, AClickPreviewsAndSavesCancelGoesBackSelectKeeps) {
    GuiRig rig;
    rig.load();
    QWidget* client = rig.find("client");
    const auto choose = [&rig](std::vector<const char*> clicks, const char* button) {
        whenmodal<ThemeChooser>([clicks, button](ThemeChooser* dialog) {
            for (const char* name : clicks)
                QTest::mouseClick(entrynamed(dialog, name), Qt::LeftButton);
            if (button != nullptr) {
                QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
            } else {
                dialog->close();  // the window frame
            }
        });
        rig.window->menucolors_Click();
    };

    // Before any button: the main window and the dialog take the theme, and it is saved.
    QString during, dialogback;
    whenmodal<ThemeChooser>([&](ThemeChooser* dialog) {
        QTest::mouseClick(entrynamed(dialog, "Mono Dark"), Qt::LeftButton);
        during = QString::fromStdString(*rig.settings.readtext(kSettingColorTheme));
        dialogback = backgroundof(dialog);
        EXPECT_EQ(backgroundof(entrynamed(dialog, "Mono Dark")), "252525");      // confcapback
        EXPECT_EQ(backgroundof(entrynamed(dialog, "Original Lite")), "000000");  // valueback
        QTest::mouseClick(dialog->findChild<QPushButton*>("Command2"), Qt::LeftButton);
    });
    rig.window->menucolors_Click();
    EXPECT_EQ(during, "Mono Dark");
    EXPECT_EQ(dialogback, "3A3A3A");

    const struct {
        std::vector<const char*> clicks;
        const char* button;  // nullptr: closed through the frame
        const char* stored;
        const char* background;
    } cases[] = {
        {{"Mono Dark", "Toxic"}, "Command2", "Original Lite", "D7E6CA"},  // Cancel
        {{"Toxic"}, "Command1", "Toxic", "6B7755"},                       // Select
        {{"Mono Dark"}, nullptr, "Mono Dark", "3A3A3A"},                  // frame keeps it
        {{"Original Lite"}, "Command2", "Mono Dark", "3A3A3A"},           // back to the opening
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        choose(c.clicks, c.button);
        EXPECT_EQ(rig.settings.readtext(kSettingColorTheme), c.stored);
        EXPECT_EQ(backgroundof(client), c.background);
    }
}

}  // namespace
}  // namespace qm::gui::test
