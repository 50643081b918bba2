#include "devices/devicefilelocation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/buffer/hextestsupport.h"

namespace qm {
namespace {

namespace fs = std::filesystem;

TEST(DeviceFileLocation, BesideTheExecutableFirstThenTheInstalledDataFolder) {
    const hextest::TempDir dir;
    const fs::path bin = fs::path(dir.folder()) / "bin";
    const std::string beside = (bin / "quellmarkdevices.txt").string();
    const std::string installed = dir.folder() + "share/quellmark/quellmarkdevices.txt";
    fs::create_directories(bin);
    fs::create_directories(fs::path(installed).parent_path());
    const struct {
        bool hasbeside, hasinstalled;
        std::string found;
    } cases[] = {
        {true, false, beside},
        {false, true, installed},
        {true, true, beside},
        {false, false, beside},  // named in the message about the missing file
    };
    for (const auto& c : cases) {
        fs::remove(beside);
        fs::remove(installed);
        if (c.hasbeside) hextest::writebytes(beside, "model: A\n");
        if (c.hasinstalled) hextest::writebytes(installed, "model: B\n");
        EXPECT_EQ(finddevicefile(bin.string() + "/"), c.found) << c.hasbeside << c.hasinstalled;
        EXPECT_EQ(finddevicefile(bin.string()), c.found);
    }
}

}  // namespace
}  // namespace qm
