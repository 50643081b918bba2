// The --port values: which back-end a run opens, and what each names.
#include "platform/port/portspec.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(PortSpec, NumbersComNamesPathsCablesAndTheSimulators) {
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

TEST(PortSpec, TheSimulatorsTakeAChipOfTheirOwnOrNone) {
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
}  // namespace qm
