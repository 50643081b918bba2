// The screenshot program's arguments: a usage answer, and no folder made from a mistyped option.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "guirig.h"

namespace qm::gui::test {
namespace {

TEST(GuiScreenshots, HelpAnswersAndOptionsItDoesNotKnowAreRefused) {
    struct Case {
        QStringList args;
        int exitcode;
        std::string out;  // the start of standard output
        std::string err;  // on standard error (after what Qt may have to say)
    };
    const std::vector<Case> cases = {
        {{"--help"}, 0, "Usage: gui_screenshots [OUTPUT_FOLDER]\n", ""},
        {{"-h"}, 0, "Usage: gui_screenshots [OUTPUT_FOLDER]\n", ""},
        {{"--output", "shots"}, 2, "", "gui_screenshots: unknown option --output\nUsage: "},
        {{"one", "two"}, 2, "", "gui_screenshots: one output folder, not 2\nUsage: "},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        QProcess run;
        run.setWorkingDirectory(dir.path());
        run.start(QUELLMARK_SCREENSHOTS_EXE, c.args);
        ASSERT_TRUE(run.waitForFinished(30000)) << c.args.join(' ').toStdString();
        EXPECT_EQ(run.exitCode(), c.exitcode) << c.args.join(' ').toStdString();
        const std::string out = run.readAllStandardOutput().toStdString();
        const std::string err = run.readAllStandardError().toStdString();
        EXPECT_EQ(out.substr(0, c.out.size()), c.out);
        EXPECT_NE(err.find(c.err), std::string::npos) << err;
        // Nothing was rendered, and no folder is named after an argument.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList());
    }
}

}  // namespace
}  // namespace qm::gui::test
