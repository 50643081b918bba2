// Files a user points the program at that are no device file or HEX file at all, or far too
// large to be one: refused quickly with a message, never read without end.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cli/clirunner.h"

namespace qm::cli::test {
namespace {

// A file of the given size that takes no disk space.
void sparsefile(const std::string& path, std::uintmax_t size) {
    std::ofstream(path, std::ios::binary).put('x');
    std::filesystem::resize_file(path, size);
}

TEST(CliInputLimits, DeviceFilesThatAreNoFilesOrTooLargeExitWithFive) {
    CliRunner cli;
    ASSERT_EQ(mkfifo(cli.path("fifo").c_str(), 0600), 0);
    sparsefile(cli.path("huge.txt"), 17u << 20);
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketpath = cli.path("socket");
    ASSERT_LT(socketpath.size(), sizeof address.sun_path);
    std::copy(socketpath.begin(), socketpath.end(), address.sun_path);
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const struct {
        std::string path;
        std::string reason;
    } cases[] = {
        {"/dev/zero", "not belong to an ordinary file (it is a character device)"},
        {cli.path("fifo"), "not belong to an ordinary file (it is a pipe)"},
        {socketpath, "not belong to an ordinary file (it is a socket)"},
        {cli.path("huge.txt"), "larger than 16 MiB"},
        {cli.dir(), "belongs to a folder"},
    };
    for (const auto& c : cases) {
        const CliRun run = cli.run({"--devices", c.path, "models"});
        EXPECT_EQ(run.exitcode, 5) << c.path;
        EXPECT_TRUE(contains(run.err, c.path)) << run.err;
        EXPECT_TRUE(contains(run.err, c.reason)) << run.err;
    }
    close(sock);
}

TEST(CliInputLimits, DeviceFileWarningsNameTheFileReadAndStopAfterTwenty) {
    CliRunner cli;
    std::string junk = "model: M\nflash: 64\n";
    for (int i = 0; i < 5000; ++i) junk += "junk\n";
    cli.write("other.txt", junk);
    const CliRun run = cli.run({"--devices", cli.path("other.txt"), "models"});
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(
        contains(run.err, cli.path("other.txt") + " line 3: ignored, no space in the line\n"))
        << run.err;
    EXPECT_TRUE(contains(run.err, cli.path("other.txt") + ": 4980 more warnings not shown\n"))
        << run.err;
    EXPECT_FALSE(contains(run.err, "quellmarkdevices.txt")) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 21);
}

TEST(CliInputLimits, HexFilesAboveTheLimitAreRefusedAndLargeOnesReadInLittleMemory) {
    CliRunner cli;
    sparsefile(cli.path("huge.hex"), 2048u << 20);
    CliRun run = cli.run({"--model", "16F628A", "show", cli.path("huge.hex")});
    EXPECT_EQ(run.exitcode, 4);
    EXPECT_TRUE(contains(run.err, "larger than 8 MiB")) << run.err;
    EXPECT_TRUE(contains(run.out, "HEX file not loaded!")) << run.out;

    // Just below the limit: millions of comment lines, each of which once cost a string.
    std::string comments;
    while (comments.size() < (7u << 20)) comments += ";\n";
    cli.write("comments.hex", comments + ":00000001FF\n");
    run = cli.run({"--model", "16F628A", "show", cli.path("comments.hex")});
    EXPECT_EQ(run.exitcode, 0) << run.err;
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(run.maxrsskb, 64 * 1024) << "peak memory far above the file's 8 MiB";
#endif
}

// The listing on standard output is what scripts read; a message box never lands inside it.
TEST(CliInputLimits, AWarningAboutDataOutsideTheChipGoesToStandardError) {
    CliRunner cli;
    cli.write("big.hex", ":020000000528D1\r\n:02100000FF3FB0\r\n:00000001FF\r\n");
    const CliRun run = cli.run({"--model", "16F84A", "show", cli.path("big.hex")});
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "Warning!\nInput program file")) << run.err;
    EXPECT_TRUE(contains(run.err, "There are data for 1 addresses out of range:\n0800."))
        << run.err;
    EXPECT_FALSE(contains(run.out, "Warning")) << run.out;
    EXPECT_TRUE(run.out.starts_with("Operation completed. Total 1 (.000K) program words loaded.\n"))
        << run.out;
}

}  // namespace
}  // namespace qm::cli::test
