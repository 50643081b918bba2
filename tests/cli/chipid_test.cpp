// The device ID check as the command line shows it: exit code 6 and the messages for a wrong or
// missing chip, identify, --no-id-check, and a device file without IDs.
#include <gtest/gtest.h>

#include "cli/clirunner.h"

namespace qm::cli::test {
namespace {

const std::string kBlink = sourcefile("data/examples/blink628a.hex");
const std::string kOldDevices = std::string(QUELLMARK_TEST_DATA) + "/engine/testdevices.txt";

// Model 16F628A on a simulated socket, on virtual time.
std::vector<std::string> socketargs(const std::string& socket,
                                    const std::vector<std::string>& command) {
    return chipargs("16F628A", socket, command);
}

// On the simulated adapter and behind the simulated FT232R cable, whose batched transfers must
// hand the ID read to the check complete.
TEST(CliChipId, AnotherChipStopsProgramAndEraseBeforeTheyTouchIt) {
    for (const std::string port : {"sim", "ftdisim"}) {
        SCOPED_TRACE(port);
        CliRunner cli;
        const std::string socket = port + "=16F877A:" + cli.path("chip.hex");
        // A 16F877A with a program of its own in it.
        CliRun run = cli.run({"--model", "16F877A", "--port", port + ":" + cli.path("chip.hex"),
                              "--virtual-time", "program", kBlink});
        ASSERT_EQ(run.exitcode, 0) << run.err;
        const std::string image = cli.read("chip.hex");

        for (const char* command : {"program", "erase"}) {
            SCOPED_TRACE(command);
            std::vector<std::string> args{command};
            if (args[0] == "program") args.push_back(kBlink);
            run = cli.run(socketargs(socket, args));
            EXPECT_EQ(run.exitcode, 6);
            EXPECT_TRUE(contains(run.out,
                                 "Operation failed: the chip in the socket is a 16F877A, not a "
                                 "16F628A.\n"))
                << run.out;
            EXPECT_TRUE(contains(run.err,
                                 "Wrong chip: the device ID reads 0E27h, which is the 16F877A "
                                 "(revision 7), but the model chosen is the 16F628A (device ID "
                                 "1060h).\n"))
                << run.err;
            EXPECT_TRUE(contains(run.err, "Nothing was erased or written.")) << run.err;
            EXPECT_FALSE(contains(run.out, "Begin verify.")) << run.out;
            EXPECT_EQ(cli.read("chip.hex"), image);
        }

        // --no-id-check: the user knows better, for this run.
        run = cli.run(socketargs(socket, {"erase", "--no-id-check"}));
        EXPECT_EQ(run.exitcode, 0) << run.err;
        EXPECT_TRUE(contains(run.out, "Chip erased. ")) << run.out;
        EXPECT_NE(cli.read("chip.hex"), image);
    }
}

TEST(CliChipId, AnEmptySocketIsNoChipForEveryOperation) {
    CliRunner cli;
    const struct {
        std::vector<std::string> command;
        const char* out;  // the last status line begins so
    } cases[] = {
        {{"program", kBlink}, "Operation failed: no chip found.\n"},
        {{"erase"}, "Operation failed: no chip found.\n"},
        {{"identify"}, "Operation failed: no chip found.\n"},
        // Reading operations warn and go on; what they got is no chip's.
        {{"blank"}, "Chip is blank. "},
        {{"read", cli.path("read.hex")}, "Chip read. "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command[0]);
        const CliRun run = cli.run(socketargs("sim=none", c.command));
        EXPECT_EQ(run.exitcode, 6);
        EXPECT_TRUE(contains(run.out, "Simulated adapter ready... (no chip)\n")) << run.out;
        EXPECT_TRUE(contains(run.out, c.out)) << run.out;
        EXPECT_TRUE(contains(run.err,
                             "No chip found: the device ID reads 3FFFh. DATA IN only follows "
                             "DATA OUT, as it does with an empty socket."))
            << run.err;
    }
    EXPECT_TRUE(cli.exists("read.hex"));
}

TEST(CliChipId, IdentifyNamesTheChipInTheSocket) {
    CliRunner cli;
    CliRun run = cli.run(socketargs("sim=16F877A", {"identify"}));
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_EQ(run.out,
              "Simulated adapter ready... (chip 16F877A)\nBegin identify.\n"
              "Device ID 0E27h: 16F877A, revision 7.\n");
    EXPECT_EQ(run.err, "");

    // A part the simulation does not know stands for the model's chip, ID included.
    cli.write("devices.txt",
              "identifyalgdef 1: begin,s00-3fff,s06,s06,s06,s06,s06,s06,temp=s04,end\n"
              "model: 12F999\nflash: 1024\neeprom: 0\nconfigerased: 3FFF,3FFF\n"
              "voltageseq: vppvdd\nidentifyalg: 1\ndeviceid: 2240\n");
    run = cli.run({"--devices", cli.path("devices.txt"), "--model", "12F999", "--port", "sim",
                   "--virtual-time", "identify"});
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Device ID 2240h: 12F999, revision 0.\n")) << run.out;

    run = cli.run({"--help"});
    EXPECT_TRUE(contains(run.out, "  identify  ")) << run.out;
    EXPECT_TRUE(contains(run.out, "  6  wrong or missing chip")) << run.out;
    EXPECT_TRUE(contains(run.out, "--no-id-check")) << run.out;
}

TEST(CliChipId, ADeviceFileWithoutIdsWorksAsBefore) {
    CliRunner cli;
    // No ID to check: the operation runs on whatever is in the socket.
    CliRun run = cli.run({"--devices", kOldDevices, "--model", "16F628A", "--port", "sim=16F877A",
                          "--virtual-time", "erase"});
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Chip erased. ")) << run.out;

    run = cli.run({"--devices", kOldDevices, "--model", "16F628A", "--port", "sim",
                   "--virtual-time", "identify"});
    EXPECT_EQ(run.exitcode, 5);
    EXPECT_TRUE(contains(run.out, "Operation failed: the model 16F628A has no identify script.\n"))
        << run.out;
}

}  // namespace
}  // namespace qm::cli::test
