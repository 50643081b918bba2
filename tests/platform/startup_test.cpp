// What both programs say about their device file before they start: the desktop program shows
// these lines in a box, the command line prints them.
#include "platform/startup.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

#include "host/exitcode.h"

namespace qm {
namespace {

TEST(Startup, DeviceFileWarningsNameThePathReadAndCountWhatIsNotShown) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("devices.txt").toStdString();
    std::ofstream file(path);
    file << "model: M\nflash: 64\n";
    for (int i = 0; i < 31; ++i) file << "junk\n";
    file.close();

    const DeviceFileLoad loaded = loaddevicefile(path);
    EXPECT_EQ(loaded.exitcode, kExitOk);
    ASSERT_EQ(loaded.warnings.size(), 21u);
    EXPECT_EQ(loaded.warnings.front(), path + " line 3: ignored, no space in the line");
    EXPECT_EQ(loaded.warnings.back(), path + ": 11 more warnings not shown");

    const DeviceFileLoad missing = loaddevicefile(dir.filePath("none.txt").toStdString());
    EXPECT_EQ(missing.exitcode, kExitDevice);
    EXPECT_NE(missing.problem.find(dir.filePath("none.txt").toStdString()), std::string::npos)
        << missing.problem;
}

}  // namespace
}  // namespace qm
