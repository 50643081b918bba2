#include "cli/options.h"

#include <gtest/gtest.h>

#include <tuple>

#include "link/portspec.h"

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
    EXPECT_EQ(o.baud, "9600");
    EXPECT_EQ(o.holdus, 250);
    EXPECT_TRUE(o.noverify);
    EXPECT_TRUE(o.quiet);
    EXPECT_FALSE(o.devices.has_value());
}

TEST(CliOptions, NumbersMayHaveLeadingZeros) {
    const auto parsed = parse({"erase", "--hold-us", "0000000050", "--baud", "0009600"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.holdus, 50);
    EXPECT_EQ(parsed.options.baud, "0009600");
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

TEST(CliPortSpec, NumbersComNamesPathsCablesAndTheSimulators) {
    auto spec = parseportspec("3");
    ASSERT_TRUE(spec);
    EXPECT_EQ(spec->kind, PortSpec::Kind::Number);
    EXPECT_EQ(spec->number, 3);

    for (const char* text : {"COM7", "com7", "Com7", "7.2"}) {
        spec = parseportspec(text);
        ASSERT_TRUE(spec) << text;
        EXPECT_EQ(spec->number, 7) << text;
    }
    spec = parseportspec("16.4");
    ASSERT_TRUE(spec);
    EXPECT_EQ(spec->number, 16);

    spec = parseportspec("/dev/ttyUSB0");
    ASSERT_TRUE(spec);
    EXPECT_EQ(spec->kind, PortSpec::Kind::Path);
    EXPECT_EQ(spec->path, "/dev/ttyUSB0");

    spec = parseportspec("sim");
    ASSERT_TRUE(spec);
    EXPECT_EQ(spec->kind, PortSpec::Kind::Sim);
    EXPECT_TRUE(spec->path.empty());

    spec = parseportspec("sim:/tmp/a chip.hex");
    ASSERT_TRUE(spec);
    EXPECT_EQ(spec->kind, PortSpec::Kind::Sim);
    EXPECT_EQ(spec->path, "/tmp/a chip.hex");

    const std::tuple<const char*, PortSpec::Kind, const char*> cables[] = {
        {"ftdi", PortSpec::Kind::Ftdi, ""},
        {"FTDI:A600XYZ", PortSpec::Kind::Ftdi, "A600XYZ"},
        {"ftdisim", PortSpec::Kind::FtdiSim, ""},
        {"ftdisim:/tmp/chip.hex", PortSpec::Kind::FtdiSim, "/tmp/chip.hex"},
    };
    for (const auto& [text, kind, path] : cables) {
        spec = parseportspec(text);
        ASSERT_TRUE(spec) << text;
        EXPECT_EQ(spec->kind, kind) << text;
        EXPECT_EQ(spec->path, path) << text;
    }

    for (const char* text : {"", "com", "0.5", "17", "abc", "3x", "-1", "ftdi:", "ftdix"}) {
        EXPECT_FALSE(parseportspec(text)) << text;
    }
}

TEST(CliPortSpec, TheSimulatorsTakeAChipOfTheirOwnOrNone) {
    const struct {
        const char* text;
        const char* chip;  // nullptr: not a port
        const char* image;
        PortSpec::Kind kind = PortSpec::Kind::Sim;
    } cases[] = {
        {"sim=16F877A", "16F877A", ""},
        {"SIM=pic16f877a:/tmp/x:y.hex", "pic16f877a", "/tmp/x:y.hex"},
        {"sim=None", "none", ""},
        {"sim=16F877A:", nullptr, ""},
        {"sim=", nullptr, ""},
        {"sim=none:chip.hex", nullptr, ""},
        {"sim=16F629", nullptr, ""},
        {"ftdisim=16F88:/tmp/c.hex", "16F88", "/tmp/c.hex", PortSpec::Kind::FtdiSim},
        {"FtdiSim=none", "none", "", PortSpec::Kind::FtdiSim},
        {"ftdisim=none:chip.hex", nullptr, ""},
        {"ftdi=16F877A", nullptr, ""},  // a real cable holds whatever is in the socket
    };
    for (const auto& c : cases) {
        const auto spec = parseportspec(c.text);
        ASSERT_EQ(spec.has_value(), c.chip != nullptr) << c.text;
        if (!spec) continue;
        EXPECT_EQ(spec->kind, c.kind) << c.text;
        EXPECT_EQ(spec->simchip, c.chip) << c.text;
        EXPECT_EQ(spec->path, c.image) << c.text;
    }
}

}  // namespace
}  // namespace qm::cli
