// Ctrl-C or SIGTERM while a chip operation runs in real time: the operation stops within a line
// operation, the supply goes off, the simulated chip's image is saved whole, and the exit code
// tells which signal it was.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "cli/clirunner.h"
#include "text/hextext.h"

namespace qm::cli::test {
namespace {

// Every word of a 16F877A's FLASH: programming it takes seconds of real time.
std::string fullprogram() {
    std::string text;
    for (int address = 0; address < 2 * 8192; address += 16) {
        const std::string body = "10" + hexword(address) + "00" + std::string(32, '0');
        text += ":" + body + hexchecksum(body) + "\r\n";
    }
    return text + ":00000001FF\r\n";
}

TEST(CliInterrupt, ASignalStopsTheOperationSwitchesTheSupplyOffAndSavesTheImage) {
    const struct {
        int signal;
        int exitcode;
        const char* status;
        const char* port;  // the bit-bang port queues whole transfers
        bool twice;        // a second signal while the operation stops
    } cases[] = {
        {SIGINT, 130, "Operation failed: interrupted by Ctrl-C (SIGINT).\n", "sim:", false},
        {SIGTERM, 143, "Operation failed: stopped by SIGTERM.\n", "sim:", false},
        {SIGINT, 130, "Operation failed: interrupted by Ctrl-C (SIGINT).\n", "ftdisim:", false},
        {SIGHUP, 129, "Operation failed: stopped by SIGHUP (the terminal was closed).\n",
         "sim:", false},
        {SIGQUIT, 131, "Operation failed: interrupted by Ctrl-\\ (SIGQUIT).\n", "sim:", false},
        {SIGINT, 130, "Operation failed: interrupted by Ctrl-C (SIGINT).\n", "sim:", true},
    };
    for (const auto& c : cases) {
        CliRunner cli;
        cli.write("full.hex", fullprogram());
        const pid_t pid = cli.start({"--model", "16F877A", "--port", c.port + cli.path("chip.hex"),
                                     "program", cli.path("full.hex"), "--no-verify"});
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!contains(cli.outsofar(), "Begin program all.") &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        // The erase and the supply sequences take 0.4 s, the programming 2 s more.
        std::this_thread::sleep_for(std::chrono::seconds(1));
        ASSERT_EQ(kill(pid, c.signal), 0);
        if (c.twice) {
            // The supply-off sequence waits 100 ms: the second signal comes in the middle of it.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            ASSERT_EQ(kill(pid, c.signal), 0);
        }
        const CliRun run = cli.wait(pid);

        EXPECT_EQ(run.exitcode, c.exitcode) << c.port << run.out << run.err;
        EXPECT_TRUE(contains(run.out, c.status)) << run.out;
        EXPECT_FALSE(contains(run.out, "Chip programmed.")) << run.out;
        EXPECT_FALSE(contains(run.err, "supply is still on")) << run.err;
        EXPECT_EQ(contains(run.err, "switching the supply off before stopping"), c.twice)
            << run.err;
        for (const auto& entry : std::filesystem::directory_iterator(cli.dir()))
            EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();

        // The image is a whole chip that the next run uses: programmed in part.
        const CliRun verify =
            cli.run({"--model", "16F877A", "--port", "sim:" + cli.path("chip.hex"),
                     "--virtual-time", "verify", cli.path("full.hex")});
        EXPECT_EQ(verify.exitcode, 1) << verify.err;
        EXPECT_FALSE(contains(verify.err, "FLASH Word 0000h,")) << verify.err.substr(0, 300);
    }
}

}  // namespace
}  // namespace qm::cli::test
