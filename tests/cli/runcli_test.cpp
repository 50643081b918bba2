// The front end run in this process, where the test can tell it that standard error is a
// terminal: the progress bar appears there, and only there, and --quiet switches it off.
#include "cli/run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace qm::cli {
namespace {

const std::string kDevices = std::string(QUELLMARK_SOURCE_DIR) + "/data/quellmarkdevices.txt";
const std::string kBlink = std::string(QUELLMARK_SOURCE_DIR) + "/data/examples/blink628a.hex";

class RunCli : public ::testing::Test {
  protected:
    void SetUp() override {
        settings_ = (std::filesystem::temp_directory_path() /
                     ("quellmark-runcli-" + std::to_string(::getpid()) + ".ini"))
                        .string();
        setenv("QUELLMARK_SETTINGS", settings_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("QUELLMARK_SETTINGS");
        std::filesystem::remove(settings_);
    }

    int run(std::vector<std::string> args, bool terminal) {
        out_.str("");
        err_.str("");
        return runcli(args, out_, err_, terminal);
    }

    std::ostringstream out_;
    std::ostringstream err_;
    std::string settings_;
};

TEST_F(RunCli, ProgressBarOnATerminalOnlyAndNotWhenQuiet) {
    const std::vector<std::string> args{"--devices",      kDevices,  "--model",
                                        "16F628A",        "--port",  "sim",
                                        "--virtual-time", "program", kBlink};
    ASSERT_EQ(run(args, true), 0) << err_.str();
    EXPECT_NE(err_.str().find("FLASH   ["), std::string::npos) << err_.str();
    EXPECT_NE(err_.str().find("EEPROM  ["), std::string::npos) << err_.str();
    // The bar never reaches standard output, and the progress texts are not printed as lines.
    EXPECT_EQ(out_.str().find("["), std::string::npos) << out_.str();
    EXPECT_EQ(out_.str().find("F:"), std::string::npos) << out_.str();
    EXPECT_NE(out_.str().find("Chip verified. "), std::string::npos) << out_.str();

    std::vector<std::string> quiet = args;
    quiet.insert(quiet.begin(), "--quiet");
    ASSERT_EQ(run(quiet, true), 0) << err_.str();
    EXPECT_EQ(err_.str(), "");

    ASSERT_EQ(run(args, false), 0) << err_.str();
    EXPECT_EQ(err_.str(), "");
}

TEST_F(RunCli, UsageErrorsGoToStandardErrorWithExitTwo) {
    EXPECT_EQ(run({"erase", "--hold-us", "abc"}, false), 2);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(err_.str(),
              "quellmark-cli: option --hold-us needs a whole number of microseconds, at most "
              "10000\nTry 'quellmark-cli --help'.\n");
}

}  // namespace
}  // namespace qm::cli
