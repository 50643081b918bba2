// The main window's frame as a user meets it: its size, its icon, and the two labels whose
// texts can be longer than the labels are wide.
#include <QFile>

#include "guirig.h"

namespace qm::gui::test {
namespace {

const QString kEllipsis = QString(QChar(0x2026));

// What a label shows fits in it.
bool fits(const QLabel* label) {
    return label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width();
}

TEST(GuiMainWindowFrame, TheFileLabelKeepsTheFileNameInSightAndTheWholePathInItsToolTip) {
    GuiRig rig;
    rig.load();
    auto* label = rig.find<QLabel>("label_hex");
    const QString tip = "Click to open HEX file!";
    EXPECT_EQ(label->toolTip(), tip);

    ShortTemporaryDir dir;
    const QString deep =
        dir.filePath("projects/firmware/releases/2024/controller_board_rev_c/bootloader_and_app");
    ASSERT_TRUE(QDir().mkpath(deep));
    struct Case {
        QString path;
        // How what the label shows starts and ends around the cut; no end: nothing is cut.
        QString start;
        QString end;
    };
    const QString longname = QString(100, 'n') + ".hex";
    const std::vector<Case> cases = {
        {dir.filePath("a.hex"), dir.filePath("a.hex"), ""},
        {deep + "/blink628a_final.hex", dir.path() + "/", "/blink628a_final.hex"},
        {deep + "/" + longname, "nnn", "nnn.hex"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(QFile::copy(QString::fromStdString(exampleshex()), c.path));
        rig.window->openhexpath(c.path);
        EXPECT_EQ(rig.text("label_hex"), c.path);
        EXPECT_TRUE(fits(label)) << label->text().toStdString();
        if (c.end.isEmpty()) {
            EXPECT_EQ(label->text(), c.path);
            EXPECT_EQ(label->toolTip(), tip);
            continue;
        }
        EXPECT_TRUE(label->text().startsWith(c.start) && label->text().contains(kEllipsis) &&
                    label->text().endsWith(c.end))
            << label->text().toStdString();
        EXPECT_EQ(label->toolTip(), c.path + "\n" + tip);
    }

    rig.window->findChild<QAction*>("menuclear")->trigger();
    EXPECT_EQ(label->text(), "");
    EXPECT_EQ(label->toolTip(), tip);
}

TEST(GuiMainWindowFrame, ALongStatusLineShowsItsStartAndTheWholeTextInItsToolTip) {
    ShortTemporaryDir dir;
    const QString deep = dir.filePath("simulated/chips/kept/between/runs/of/the/desktop/program");
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString image = deep + "/chip.hex";
    GuiRig rig("sim:" + image.toStdString());
    rig.load();
    auto* label = rig.find<QLabel>("label_status");
    const QString status = "Simulated adapter ready... (chip 16F84A, image " + image + ")";
    EXPECT_EQ(rig.text("label_status"), status);
    EXPECT_TRUE(fits(label)) << label->text().toStdString();
    EXPECT_TRUE(label->text().startsWith("Simulated adapter ready... (chip 16F84A, image /"))
        << label->text().toStdString();
    EXPECT_TRUE(label->text().endsWith(kEllipsis)) << label->text().toStdString();
    EXPECT_EQ(label->toolTip(), status);

    // A status that fits has no tool tip.
    rig.window->openhexpath(QString::fromStdString(exampleshex()));
    EXPECT_EQ(label->text(), "Operation completed. Total 28 (.027K) program words loaded.");
    EXPECT_EQ(label->toolTip(), "");
}

TEST(GuiMainWindowFrame, TheWindowKeepsTheSizeOfItsForm) {
    GuiRig rig;
    rig.load();
    const QSize size = rig.window->size();
    EXPECT_EQ(rig.window->minimumSize(), size);
    EXPECT_EQ(rig.window->maximumSize(), size);
    rig.window->resize(size + QSize(200, 100));
    QApplication::processEvents();
    EXPECT_EQ(rig.window->size(), size);
    // The themed form fills the window's width: no unthemed room beside it.
    EXPECT_EQ(rig.find("client")->width(), size.width());
}

// The icon is the package's SVG, drawn by Qt's SVG plugins: without them it is empty.
TEST(GuiMainWindowFrame, TheWindowShowsTheProgramsIcon) {
    GuiRig rig;
    rig.load();
    const QImage icon = rig.window->windowIcon().pixmap(128, 128).toImage();
    ASSERT_FALSE(icon.isNull()) << "no window icon: are Qt's SVG plugins installed?";
    EXPECT_EQ(icon.pixelColor(62, 50).name(), "#f6c244");  // the spark
    EXPECT_EQ(icon.pixelColor(2, 2).alpha(), 0);           // a transparent corner
}

}  // namespace
}  // namespace qm::gui::test
