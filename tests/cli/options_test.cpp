#include "cli/options.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/port/portspec.h"

namespace qm::cli {
namespace {

ParsedOptions parse(std::vector<std::string> args) { return parseoptions(args); }

TEST(CliOptions, ReadsGlobalOptionsBeforeOrAfterTheCommand) {
    const auto parsed = parse({"--model", "16f628a", "program", "blink.hex", "--port=sim:chip.hex",
                               "--baud", "9600", "--hold-us", "250", "--no-verify", "-q"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    const CliOptions& o = parsed.options;
    EXPECT_EQ(o.command, "program");
    EXPECT_EQ(o.args, std::vector<std::string>{"blink.hex"});
    EXPECT_EQ(o.model, "16f628a");
    EXPECT_EQ(o.port, "sim:chip.hex");
    EXPECT_EQ(o.baud, 9600);
    EXPECT_EQ(o.holdus, 250);
    EXPECT_TRUE(o.noverify);
    EXPECT_TRUE(o.quiet);
    EXPECT_FALSE(o.devices.has_value());
}

TEST(CliOptions, NumbersMayHaveLeadingZeros) {
    const auto parsed = parse({"erase", "--hold-us", "0000000050", "--baud", "0009600"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.holdus, 50);
    EXPECT_EQ(parsed.options.baud, 9600);
}

TEST(CliOptions, OperandsAfterDoubleDashMayStartWithADash) {
    const auto parsed = parse({"convert", "--", "-in.hex", "-out.hex"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.args, (std::vector<std::string>{"-in.hex", "-out.hex"}));
}

TEST(CliOptions, HelpAndVersionNeedNoCommand) {
    EXPECT_TRUE(parse({"--help"}).options.help);
    EXPECT_TRUE(parse({"-V"}).options.version);
    EXPECT_TRUE(parse({"--help", "no-such-command"}).ok);
}

TEST(CliOptions, RefusesBadCommandLines) {
    const std::vector<std::vector<std::string>> bad = {
        {},                            // no command
        {"flash"},                     // unknown command
        {"program"},                   // missing file
        {"show", "a.hex", "b.hex"},    // one too many
        {"convert", "in.hex"},         // one too few
        {"models", "--frobnicate"},    // unknown option
        {"models", "--model"},         // option without its value
        {"erase", "--port", "COM17"},  // port number out of range
        {"erase", "--port", "0"},
        {"erase", "--port", "ttyUSB0"},            // neither number nor path
        {"erase", "--port", "sim:"},               // image without a name
        {"erase", "--port", "sim=16F999"},         // no such simulated chip
        {"erase", "--port", "sim=none:chip.hex"},  // an empty socket keeps no image
        {"identify", "--no-id-check"},             // identify reads the ID anyway
        {"erase", "--keep-calibration", "--overwrite-calibration"},  // one or the other
        {"show", "a.hex", "--overwrite-calibration"},                // no chip to keep it on
        {"erase", "--keep-calibration=no"},
        {"erase", "--baud", "fast"},
        {"erase", "--baud", "0"},
        {"erase", "--baud", "1"},  // a toggle byte of ten seconds
        {"erase", "--baud", "3000001"},
        {"erase", "--hold-us", "-5"},
        {"erase", "--hold-us", "12us"},
        {"erase", "--hold-us", "10001"},     // beyond what any adapter needs
        {"erase", "--quiet=yes"},            // flags take no value
        {"verify", "a.hex", "--no-verify"},  // belongs to program only
        {"erase", "--virtual-time"},         // only with the simulated port
        {"erase", "--virtual-time", "--port", "3"},
        {"erase", "--virtual-time", "--port", "ftdi"},
        {"erase", "--port", "ftdi:"},                                // serial without a number
        {"erase", "--port", "ftdi", "--ftdi-pins", "rts=D3"},        // not a modem output
        {"erase", "--port", "sim", "--ftdi-pins", "rts=D4,dtr=D2"},  // not an FT232R cable
        {"show", ""},
    };
    for (const auto& args : bad) {
        std::string line;
        for (const auto& a : args) line += "[" + a + "] ";
        const auto parsed = parseoptions(args);
        EXPECT_FALSE(parsed.ok) << line;
        EXPECT_FALSE(parsed.error.empty()) << line;
    }
}

TEST(CliOptions, VirtualTimeIsAcceptedWithTheSimulatedPorts) {
    for (const char* port : {"sim", "ftdisim:chip.hex"}) {
        const auto parsed = parse({"erase", "--port", port, "--virtual-time"});
        ASSERT_TRUE(parsed.ok) << parsed.error;
        EXPECT_TRUE(parsed.options.virtualtime);
    }
    const auto parsed = parse({"erase", "--port", "ftdi:A1", "--ftdi-pins", "dsr=D3:high"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.ftdipins, "dsr=D3:high");
}

}  // namespace
}  // namespace qm::cli
