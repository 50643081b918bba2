// The built quellmark-cli run as a process: exit codes, what it prints, files it writes, and a
// simulated chip that lives in an image file between runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "cli/clirunner.h"

namespace qm::cli::test {
namespace {

const std::string kBlink = sourcefile("data/examples/blink628a.hex");

// A run on the simulated adapter with the chip kept in the runner's folder, on virtual time.
std::vector<std::string> simargs(const CliRunner& cli, const std::vector<std::string>& command,
                                 const std::string& model = "16F628A") {
    return chipargs(model, "sim:" + cli.path("chip.hex"), command);
}

TEST(CliProcess, HelpVersionAndUsageErrors) {
    CliRunner cli;
    CliRun run = cli.run({"--help"});
    EXPECT_EQ(run.exitcode, 0);
    EXPECT_TRUE(contains(run.out, "Usage: quellmark-cli")) << run.out;
    EXPECT_TRUE(contains(run.out, "5  device file, model or script")) << run.out;

    run = cli.run({"--version"});
    EXPECT_EQ(run.exitcode, 0);
    EXPECT_EQ(run.out, "quellmark-cli " QUELLMARK_VERSION
                       "\nLicense: GNU GPL version 3 or later (GPL-3.0-or-later)\n");

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"flash"}, {"program"}, {"erase", "--port", "99"}}) {
        run = cli.run(args);
        EXPECT_EQ(run.exitcode, 2) << run.err;
        EXPECT_TRUE(contains(run.err, "Try 'quellmark-cli --help'.")) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST(CliProcess, ModelsListsTheShippedDatabase) {
    CliRunner cli;
    const CliRun run = cli.run({"models"});
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Number  Model    FLASH words  EEPROM bytes\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "     1  16F84A          1024            64\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "     3  16F628A         2048           128\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "    10  16F88           4096           256\n")) << run.out;
    // At least 70 models, one line each after the header.
    EXPECT_GE(std::count(run.out.begin(), run.out.end(), '\n'), 71) << run.out;
    for (const char* line :
         {"  12F675          1024           128\n", "  16F690          4096           256\n",
          "  16F886          8192           256\n", "  16F716          2048             0\n"}) {
        EXPECT_TRUE(contains(run.out, line)) << line;
    }
}

TEST(CliProcess, PortsListsSixteenPortsWithTheirDevices) {
    CliRunner cli;
    const CliRun run = cli.run({"ports"});
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "COM1   /dev/ttyS0     ")) << run.out;
    EXPECT_TRUE(contains(run.out, "COM9   /dev/ttyUSB0   ")) << run.out;
    EXPECT_TRUE(contains(run.out, "COM16  /dev/ttyUSB7   ")) << run.out;
    size_t lines = 0;
    for (size_t at = 0; (at = run.out.find("\nCOM", at)) != std::string::npos; ++at) ++lines;
    EXPECT_EQ(lines, 15u) << run.out;  // COM2..COM16 follow a line end
}

TEST(CliProcess, DeviceFileAndModelFaultsExitWithFive) {
    CliRunner cli;
    CliRun run = cli.run({"--devices", cli.path("missing.txt"), "models"});
    EXPECT_EQ(run.exitcode, 5);
    EXPECT_TRUE(contains(run.err, "missing.txt")) << run.err;

    cli.write("empty.txt", "# nothing but a comment\n");
    run = cli.run({"--devices", cli.path("empty.txt"), "models"});
    EXPECT_EQ(run.exitcode, 5);
    EXPECT_TRUE(contains(run.err, "lists no model")) << run.err;

    // An unknown model lists the models to choose from.
    run = cli.run({"--model", "16F999", "show", kBlink});
    EXPECT_EQ(run.exitcode, 5);
    EXPECT_TRUE(contains(run.err, "Unknown model '16F999'")) << run.err;
    EXPECT_TRUE(contains(run.err, "16F877A")) << run.err;
    run = cli.run({"--model", "999", "show", kBlink});
    EXPECT_EQ(run.exitcode, 5);

    // An unrecognised instruction ends the program with the system's message.
    cli.write("bad.txt",
              "erasealgdef 1: begin,s02-1234,s08,w10,bogus,end\n"
              "model: TEST\nflash: 64\neeprom: 16\nconfigerased: 3FFF,3FFF\nconfig2used: false\n"
              "voltageseq: vddvpp\nprogtime: 5\npagesize: 1\nerasealg: 1\n");
    run = cli.run({"--devices", cli.path("bad.txt"), "--model", "test", "--port", "sim",
                   "--virtual-time", "erase"});
    EXPECT_EQ(run.exitcode, 5);
    EXPECT_TRUE(
        contains(run.err, "Unrecognized symbolic instruction 'bogus'.\nThe program must end."))
        << run.err;
    EXPECT_FALSE(contains(run.out, "Chip erased.")) << run.out;
    // The supply the script switched on goes off before the program ends.
    EXPECT_FALSE(contains(run.err, "the supply is still on")) << run.err;

    // The simulated chip keeps what the script did before the bad instruction, like a real one.
    run = cli.run({"--devices", cli.path("bad.txt"), "--model", "1", "--port",
                   "sim:" + cli.path("chip.hex"), "--virtual-time", "erase"});
    EXPECT_EQ(run.exitcode, 5);
    EXPECT_TRUE(contains(cli.read("chip.hex"), ":020000003412B8\r\n")) << cli.read("chip.hex");
}

TEST(CliProcess, ShowPrintsTheLoadReportAndTheViewRows) {
    CliRunner cli;
    const CliRun run = cli.run({"--model", "16f628a", "show", kBlink});
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(contains(run.out, "Operation completed. Total 28 (.027K) program words loaded.\n"))
        << run.out;
    EXPECT_TRUE(contains(run.out, "Microcontroller Model: 16F628A\nFLASH: 2048,  EEPROM: 128\n"))
        << run.out;
    EXPECT_TRUE(
        contains(run.out, "FLASH Memory\n000000: 2805 3FFF 3FFF 3FFF 3FFF 3007 009F 0186\n"))
        << run.out;
    EXPECT_TRUE(contains(run.out, "Config. Word (2007h): 3F30\n")) << run.out;
    EXPECT_FALSE(contains(run.out, "2008h")) << run.out;
    EXPECT_TRUE(contains(run.out, "EEPROM Memory\n0000: 51 4D 01 00 FF FF FF FF\n")) << run.out;
}

TEST(CliProcess, HexFileFaultsExitWithFour) {
    CliRunner cli;
    CliRun run = cli.run({"--model", "16F628A", "show", cli.path("missing.hex")});
    EXPECT_EQ(run.exitcode, 4);
    EXPECT_TRUE(contains(run.out, "HEX file not loaded!")) << run.out;

    cli.write("bad.hex", ":020000000528D1\r\n:0200000005X8D1\r\n:00000001FF\r\n");
    run = cli.run({"--model", "16F628A", "show", cli.path("bad.hex")});
    EXPECT_EQ(run.exitcode, 4);
    EXPECT_TRUE(contains(run.err, "Line number 2")) << run.err;
    EXPECT_FALSE(contains(run.err, "\r")) << "CR LF must become the terminal's line end";

    // A chip command stops before touching the port.
    run = cli.run(simargs(cli, {"program", cli.path("bad.hex")}));
    EXPECT_EQ(run.exitcode, 4);
    EXPECT_FALSE(cli.exists("chip.hex"));

    run = cli.run({"--model", "16F628A", "convert", kBlink, cli.path("no/such/folder/out.hex")});
    EXPECT_EQ(run.exitcode, 4);
    EXPECT_TRUE(contains(run.out, "HEX file not saved!")) << run.out;
}

TEST(CliProcess, ConvertRoundTripKeepsTheContents) {
    CliRunner cli;
    CliRun run = cli.run({"--model", "16F628A", "convert", kBlink, cli.path("a.hex")});
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "HEX file saved.")) << run.out;
    run = cli.run({"--model", "16F628A", "convert", cli.path("a.hex"), cli.path("b.hex")});
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_EQ(cli.read("a.hex"), cli.read("b.hex"));
    // The program's own layout: no extended address record, CR LF line ends, EOF record last.
    EXPECT_FALSE(contains(cli.read("a.hex"), ":02000004"));
    const std::string written = cli.read("a.hex");
    EXPECT_TRUE(contains(written, ":02400E00303F41\r\n")) << written;
    ASSERT_GE(written.size(), 13u);
    EXPECT_EQ(written.substr(written.size() - 13), ":00000001FF\r\n");

    const CliRun original = cli.run({"--model", "16F628A", "show", kBlink});
    const CliRun converted = cli.run({"--model", "16F628A", "show", cli.path("a.hex")});
    EXPECT_EQ(original.out, converted.out);
}

TEST(CliProcess, PortFaultsExitWithThree) {
    CliRunner cli;
    CliRun run = cli.run({"--model", "16F628A", "--port", "/dev/quellmark-no-such-port", "erase"});
    EXPECT_EQ(run.exitcode, 3);
    EXPECT_TRUE(contains(run.out, "Serial port /dev/quellmark-no-such-port error!")) << run.out;
    EXPECT_TRUE(contains(run.err, "/dev/quellmark-no-such-port")) << run.err;

    // A simulated chip image that is no HEX file cannot stand for a chip.
    cli.write("chip.hex", "this is not a chip\n");
    run = cli.run(simargs(cli, {"erase"}));
    EXPECT_EQ(run.exitcode, 3);
    EXPECT_TRUE(contains(run.err, "chip.hex")) << run.err;
    EXPECT_EQ(cli.read("chip.hex"), "this is not a chip\n");
}

TEST(CliProcess, FtdiSimProgramsAndVerifiesThroughTheSimulatedCable) {
    CliRunner cli;
    const std::string image = "ftdisim:" + cli.path("chip.hex");
    CliRun run =
        cli.run({"--model", "16F877A", "--port", image, "--virtual-time", "program", kBlink});
    ASSERT_EQ(run.exitcode, 0) << run.out << run.err;
    EXPECT_TRUE(contains(run.out, "Simulated FT232R cable ready... (chip 16F877A, image "))
        << run.out;
    EXPECT_TRUE(contains(run.out, ", bit-bang rate measured: 750 000 pin bytes/s)\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "Chip programmed. ")) << run.out;
    EXPECT_TRUE(contains(run.out, "Chip verified. ")) << run.out;
    EXPECT_EQ(run.err, "");  // no timing fault of the chip or the cable

    // The same chip through the serial back-end, and on a cable wired differently.
    run = cli.run({"--model", "16F877A", "--port", "sim:" + cli.path("chip.hex"), "--virtual-time",
                   "verify", kBlink});
    EXPECT_EQ(run.exitcode, 0) << run.out << run.err;
    run =
        cli.run({"--model", "16F877A", "--port", image, "--ftdi-pins", "rts=D4:high,dtr=D2,dsr=D3",
                 "--hold-us", "20", "--virtual-time", "verify", kBlink});
    EXPECT_EQ(run.exitcode, 0) << run.out << run.err;
    EXPECT_EQ(run.err, "");

    // Without a cable (or without the back-end in this build) the port fails to open.
    run = cli.run({"--model", "16F877A", "--port", "ftdi:QM-NO-SUCH-CABLE", "erase"});
    EXPECT_EQ(run.exitcode, 3);
    EXPECT_TRUE(contains(run.out, "FTDI cable QM-NO-SUCH-CABLE error!")) << run.out;
    EXPECT_TRUE(contains(run.err, "QM-NO-SUCH-CABLE") || contains(run.err, "not available"))
        << run.err;

    run = cli.run({"ports"});
    EXPECT_TRUE(contains(run.out, "\nFT232R USB cables (bit-bang mode):\n  ")) << run.out;
}

TEST(CliProcess, TheSavedPortNumberIsUsedWithoutPortOption) {
    if (std::filesystem::exists("/dev/ttyUSB7")) GTEST_SKIP() << "COM16 exists on this machine";
    CliRunner cli;
    cli.write("settings.ini", "[General]\nSerial%20Port%20Number=16\n");
    const CliRun run = cli.run({"--model", "16F628A", "erase"});
    EXPECT_EQ(run.exitcode, 3);
    EXPECT_TRUE(contains(run.out, "Serial port COM16 error!\n")) << run.out;
    EXPECT_TRUE(contains(run.err, "/dev/ttyUSB7")) << run.err;
}

TEST(CliProcess, ProgramThenVerifyInSeparateRunsShareTheSimulatedChip) {
    CliRunner cli;
    CliRun run = cli.run(simargs(cli, {"program", kBlink, "--no-verify"}));
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Begin program all.\n")) << run.out;
    EXPECT_TRUE(contains(run.out, "Chip programmed. ")) << run.out;
    EXPECT_FALSE(contains(run.out, "Begin verify.")) << run.out;
    // Not a terminal: no progress bar, and a clean run has nothing to complain about.
    EXPECT_EQ(run.err, "");
    EXPECT_FALSE(contains(run.out, "F:1/")) << run.out;
    ASSERT_TRUE(cli.exists("chip.hex"));

    run = cli.run(simargs(cli, {"verify", kBlink}));
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Chip verified. ")) << run.out;

    // Read back: the same program, as the chip stores it.
    run = cli.run(simargs(cli, {"read", cli.path("read.hex")}));
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Chip read. ")) << run.out;
    const CliRun readback = cli.run({"--model", "16F628A", "show", cli.path("read.hex")});
    const CliRun original = cli.run({"--model", "16F628A", "show", kBlink});
    const auto rows = [](const std::string& listing) {
        return listing.substr(listing.find("FLASH Memory"),
                              listing.find("Config. Word") - listing.find("FLASH Memory"));
    };
    EXPECT_EQ(rows(readback.out), rows(original.out));
    EXPECT_EQ(readback.out.substr(readback.out.find("EEPROM Memory")),
              original.out.substr(original.out.find("EEPROM Memory")));

    // Another program on the same chip fails verification, with the system's report.
    cli.write("other.hex", ":020000000628D0\r\n:00000001FF\r\n");
    run = cli.run(simargs(cli, {"verify", cli.path("other.hex")}));
    EXPECT_EQ(run.exitcode, 1);
    EXPECT_TRUE(contains(run.out, "Chip verify failed. ")) << run.out;
    EXPECT_TRUE(contains(run.err,
                         "Chip verify failed:\n\nMemory Location,   Read Value,   Expected,\n"
                         "FLASH Word 0000h,   2805h,   2806h,\n"))
        << run.err;

    run = cli.run(simargs(cli, {"blank"}));
    EXPECT_EQ(run.exitcode, 1);
    EXPECT_TRUE(contains(run.out, "Chip is not blank. ")) << run.out;

    run = cli.run(simargs(cli, {"erase"}));
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Chip erased. ")) << run.out;
    run = cli.run(simargs(cli, {"blank"}));
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Chip is blank. ")) << run.out;
}

// The 16F84A's scripts meet commands a 16F628A does not know; standard error lists them as the
// desktop program's box does, timed from the start of the run.
TEST(CliProcess, TheSimulatedChipsFaultsGoToStandardErrorTimedFromTheStart) {
    CliRunner cli;
    const CliRun run = cli.run({"--model", "16F84A", "--port", "sim=16F628A", "--virtual-time",
                                "--no-id-check", "program", kBlink, "--no-verify"});
    EXPECT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "Simulated chip at 100 ms: unknown command 01h at 2007h\n"))
        << run.err;
}

TEST(CliProcess, SettingsGiveTheDefaultsAndOptionsAreNotSaved) {
    CliRunner cli;
    cli.write("settings.ini", "[General]\nMicrocontroller%20Model=10\n");
    CliRun run = cli.run({"show", kBlink});
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Microcontroller Model: 16F88\n")) << run.out;

    run = cli.run({"--model", "16F628A", "show", kBlink});
    ASSERT_EQ(run.exitcode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "Microcontroller Model: 16F628A\n")) << run.out;
    EXPECT_TRUE(contains(cli.read("settings.ini"), "Microcontroller%20Model=10"))
        << cli.read("settings.ini");

    // A name as --model takes it; a number the file does not have falls back to model 1, as the
    // GUI does; other text keeps its leading number.
    const std::pair<std::string, std::string> saved[] = {
        {"16F877A", "16F877A"}, {"pic16f628a", "16F628A"}, {"99", "16F84A"}, {"3x", "16F628A"}};
    for (const auto& [text, model] : saved) {
        cli.write("settings.ini", "[General]\nMicrocontroller%20Model=" + text + "\n");
        run = cli.run({"show", kBlink});
        ASSERT_EQ(run.exitcode, 0) << run.err;
        EXPECT_TRUE(contains(run.out, "Microcontroller Model: " + model + "\n")) << text;
    }
}

TEST(CliProcess, QuickStartRunsInRealTime) {
    CliRunner cli;
    const auto start = std::chrono::steady_clock::now();
    const CliRun run = cli.run({"--model", "16F628A", "--port", "sim", "program", kBlink});
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(run.exitcode, 0) << run.out << run.err;
    EXPECT_TRUE(contains(run.out, "Chip programmed. ")) << run.out;
    EXPECT_TRUE(contains(run.out, "Chip verified. ")) << run.out;
    EXPECT_EQ(run.err, "");
    // Real waits: the supply sequences alone take 100 ms per begin and per end.
    EXPECT_GT(seconds, 0.5);
    EXPECT_LT(seconds, 30.0);
}

}  // namespace
}  // namespace qm::cli::test
