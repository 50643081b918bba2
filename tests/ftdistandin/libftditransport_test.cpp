// The real FT232R transport (LibFtdiTransport under FtdiCable and the bit-bang port) through the
// libftdi stand-in: whole chip operations under every reading of the FT232R's bit-bang rate and
// latch, what opening shows the user, and quellmark-cli with the stand-in in place of libftdi1.
// The last test shows the stand-in sees each fault the others find absent.
#include <ftdi.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "cli/clirunner.h"
#include "core/engine/simenginerig.h"
#include "ftdistandin/ft232r.h"
#include "ftdistandin/standin.h"
#include "platform/ftdi/ftdicable.h"

namespace qm::test {
namespace {

using standin::Config;
using standin::Ft232r;
using standin::Latch;
using standin::Reading;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A model of the shipped device file on a real-cable port (--port ftdi[:SERIAL]) whose cable is
// the stand-in's, on virtual time.
struct CableRig {
    CableRig(const std::string& modelname, const Config& config, const std::string& serial = {},
             int32_t holdus = 0) {
        table = loaddevices(kShippedDevices).table;
        for (int32_t n = 1; n <= table.modelcount(); ++n)
            if (table.models[size_t(n)].name == modelname) selectmodel(table, n, model);
        clearbuffer(buffer, model);
        host.countingclock().recordsleeps = false;
        cable = &standin::plug(config, host.clock());
        PortSpec spec;
        spec.kind = PortSpec::Kind::Ftdi;
        spec.path = serial;
        opened = ftdi.open(spec, config.pins, 9600, model, host.clock());
        state.portnumber = 1;
        state.portready = opened.ok;
        if (!opened.ok) return;
        driver = std::make_unique<LineDriver>(ftdi.port(), host, model);
        driver->setholdtime(holdus);
        engine = std::make_unique<Engine>(host, ftdi.port(), *driver, model, buffer);
    }
    ~CableRig() {
        engine.reset();
        driver.reset();
        ftdi.close();
        standin::unplugall();
    }

    TestHost host;
    DeviceTable table;
    ActiveModel model;
    ProgBuffer buffer;
    PortState state;
    Ft232r* cable = nullptr;
    FtdiCable ftdi;
    FtdiCable::Opened opened;
    std::unique_ptr<LineDriver> driver;
    std::unique_ptr<Engine> engine;
};

const char* name(Reading reading) {
    return reading == Reading::kAsked ? "asked" : reading == Reading::kDivisor ? "divisor" : "x16";
}

TEST(StandIn, ProgramAndVerifyKeepTheirTimingUnderEveryReadingAndLatch) {
    struct Case {
        const char* chip;
        Reading reading;
        Latch latch;
        int32_t holdus;
    };
    std::vector<Case> cases;
    for (const char* chip : {"16F628A", "16F877A"})
        for (const Reading reading : {Reading::kAsked, Reading::kDivisor, Reading::kTimes16})
            for (const Latch latch : {Latch::kKept, Latch::kCleared})
                cases.push_back({chip, reading, latch, 0});
    // --hold-us counts real microseconds whatever the reading.
    cases.push_back({"16F628A", Reading::kTimes16, Latch::kKept, 5});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.chip) + " " + name(c.reading) +
                     (c.latch == Latch::kKept ? " kept" : " cleared") + " hold " +
                     std::to_string(c.holdus));
        Config config;
        config.chip = c.chip;
        config.reading = c.reading;
        config.latch = c.latch;
        CableRig rig(c.chip, config, {}, c.holdus);
        ASSERT_TRUE(rig.opened.ok) << rig.opened.message;
        fillimage(rig.buffer, rig.model, rig.cable->chip()->family(), 1);
        const OperationResult program = programall(*rig.engine, rig.state);
        EXPECT_EQ(program.status, OperationStatus::Done) << rig.host.status();
        EXPECT_EQ(verifyprogrammed(*rig.engine, rig.state, program).status, OperationStatus::Done)
            << rig.host.status();
        rig.ftdi.close();

        const Ft232r& cable = *rig.cable;
        EXPECT_EQ(cable.shortstates(), 0);
        EXPECT_GE(cable.shortestns(), 1000 * std::max(c.holdus, 1));
        EXPECT_EQ(cable.modemoves(), 0);
        EXPECT_EQ(cable.tdpulses(), 0);
        EXPECT_EQ(cable.lostsamples(), 0);
        EXPECT_EQ(cable.cutframes(), 0);
        PicChip& chip = *rig.cable->chip();
        EXPECT_EQ(chip.count(ChipEventKind::kViolation), 0);
        EXPECT_TRUE(
            std::equal(rig.buffer.flash.begin(), rig.buffer.flash.end(), chip.flash().begin()));
        EXPECT_EQ(rig.buffer.eeprom, chip.eeprom());
    }
}

TEST(StandIn, OpeningNamesTheMeasuredRateAndRefusesARateNoFt232rHas) {
    const std::string ready = "FTDI cable ready... (bit-bang rate measured: ";
    struct Case {
        Reading reading;
        double fixedrate;  // 0: as the reading has it
        double shown;      // the rate the status line shows, 0: the pins' own; -1: refused
    } cases[] = {
        {Reading::kAsked, 0, 0},
        {Reading::kDivisor, 0, 0},
        {Reading::kTimes16, 0, 0},
        // 1.2 times the rate asked, which no reading gives: the rate then asked must still be
        // one libftdi takes in bit-bang mode (500 000, not 708 333).
        {Reading::kAsked, 240, 600000},
        {Reading::kAsked, 20, -1},
        {Reading::kAsked, 2e7, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(name(c.reading)) + " " + std::to_string(c.fixedrate));
        Config config;
        config.reading = c.reading;
        config.fixedrate = c.fixedrate;
        CableRig rig("16F628A", config);
        const std::string message = rig.opened.message;
        if (c.shown < 0) {
            EXPECT_EQ(rig.opened.status, "FTDI cable error!");
            EXPECT_EQ(message.rfind("FTDI cable: the FT232R's pins ran at ", 0), 0u) << message;
            EXPECT_TRUE(
                message.ends_with(" bytes/s for a bit-bang rate of 200, which no FT232R "
                                  "does; its timing cannot be trusted"))
                << message;
            continue;
        }
        ASSERT_EQ(rig.opened.status.rfind(ready, 0), 0u) << rig.opened.status << message;
        EXPECT_TRUE(rig.opened.status.ends_with(" pin bytes/s)")) << rig.opened.status;
        std::string digits;
        for (const char ch : rig.opened.status.substr(ready.size()))
            if (ch != ' ') digits += ch;
        // Within what the margin allows of the rate the pins really run at.
        const double expected = c.shown > 0 ? c.shown : rig.cable->pinrate();
        EXPECT_NEAR(std::atof(digits.c_str()), expected, expected * 0.05);
    }
}

TEST(StandIn, SupplyTogglesMoveNoLineWhateverTheLatchDoes) {
    // With CLOCK and DATA high, as the hardware check can leave them.
    for (const Latch latch : {Latch::kKept, Latch::kCleared}) {
        Config config;
        config.latch = latch;
        CableRig rig("16F628A", config);
        ASSERT_TRUE(rig.opened.ok);
        SerialPort& port = rig.ftdi.port();
        port.setrts(true);
        port.setdtr(true);
        port.sendbyte(0x01);
        port.sendbyte(0x01);
        EXPECT_FALSE(port.failed()) << port.errortext();
        EXPECT_EQ(rig.cable->frames(), 2);
        EXPECT_FALSE(rig.cable->adapter().supply());
        EXPECT_TRUE(rig.cable->rts() && rig.cable->dtr());
        EXPECT_EQ(rig.cable->modemoves(), 0);
        EXPECT_EQ(rig.cable->tdpulses(), 0);
    }
}

TEST(StandIn, OpenFailuresSayWhatToDoAndKeepLibftdisText) {
    struct Case {
        const char* config;
        const char* serial;
        const char* message;
    } cases[] = {
        {"absent", "", "FTDI cable: no FT232R found (libftdi: usb device not found)"},
        {"", "QMOTHER",
         "FTDI cable QMOTHER: no FT232R with serial number QMOTHER (libftdi: usb device not "
         "found)"},
        {"driverbusy", "",
         "FTDI cable: cannot open an FT232R: the kernel's serial driver (ftdi_sio) could not be "
         "detached from it, usually because a program has its /dev/ttyUSB port open; close that "
         "program (see the README's section on FT232R cables) (libftdi: unable to set usb "
         "configuration. Make sure the default FTDI driver is not in use)"},
    };
    for (const Case& c : cases) {
        Config config;
        std::string error;
        ASSERT_TRUE(standin::parseconfig(c.config, config, error)) << error;
        CableRig rig("16F628A", config, c.serial);
        EXPECT_FALSE(rig.opened.ok);
        EXPECT_EQ(rig.opened.message, c.message);
    }
}

#ifdef QUELLMARK_FTDI_REATTACH
TEST(StandIn, ClosingTheCableGivesTheKernelItsSerialDriverBack) {
    CableRig rig("16F628A", Config{});
    ASSERT_TRUE(rig.opened.ok);
    EXPECT_FALSE(rig.cable->driverattached());
    rig.ftdi.close();
    EXPECT_TRUE(rig.cable->driverattached());
}
#endif

TEST(StandIn, QuellmarkCliRunsThroughTheStandIn) {
    setenv("LD_LIBRARY_PATH", QUELLMARK_STANDIN_DIR, 1);
    const std::string blink = std::string(QUELLMARK_SOURCE_DIR) + "/data/examples/blink628a.hex";
    struct Case {
        const char* config;
        std::vector<std::string> command;
        int exitcode;
        const char* out;
    } cases[] = {
        {"chip=16F628A", {"identify"}, 0, "Device ID 1072h: 16F628A, revision 18.\n"},
        // Unplugged during Program All.
        {"chip=16F628A,requestus=100,unplugafter=250",
         {"program", blink},
         3,
         "Begin program all.\nOperation failed: the FTDI cable failed: "},
        {"chip=16F628A,notemt",
         {"identify"},
         3,
         "Operation failed: the FTDI cable failed: the FT232R did not report the supply toggle "
         "byte as sent (its transmitter-empty bit did not come within 100 ms).\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config);
        setenv("FTDI_STANDIN", c.config, 1);
        cli::test::CliRunner cli;
        std::vector<std::string> args{"--model", "16F628A", "--port", "ftdi"};
        args.insert(args.end(), c.command.begin(), c.command.end());
        const cli::test::CliRun run = cli.run(args);
        EXPECT_EQ(run.exitcode, c.exitcode) << run.out << run.err;
        EXPECT_TRUE(contains(run.out, "FTDI cable ready... (bit-bang rate measured: ")) << run.out;
        EXPECT_TRUE(contains(run.out, c.out)) << run.out;
    }
    unsetenv("FTDI_STANDIN");
}

// The faults the tests above find absent, each made on purpose through plain libftdi calls on a
// cable without a chip (DATA IN reads DATA OUT back): the stand-in must see every one.
TEST(StandIn, SeesWhatARealCableWouldHide) {
    const uint8_t off = 0x15;  // TXD at mark, RTS and DTR off, on a standard cable
    const uint8_t dtron = 0x05;
    struct Case {
        const char* fault;
        Latch latch;
        std::function<bool(ftdi_context*, Ft232r&, Clock&)> seen;
    } cases[] = {
        {"one-byte states at 2 MB/s", Latch::kKept,
         [&](ftdi_context* ctx, Ft232r& cable, Clock&) {
             std::vector<uint8_t> out(40), in(40);
             for (size_t i = 0; i < out.size(); ++i) out[i] = i % 2 ? off : dtron;
             ftdi_set_bitmode(ctx, 0x15, BITMODE_SYNCBB);
             ftdi_set_baudrate(ctx, 500000);
             ftdi_write_data(ctx, out.data(), int(out.size()));
             ftdi_read_data(ctx, in.data(), int(in.size()));
             return cable.shortstates() > 0;
         }},
        {"bytes beyond the sample FIFO while nothing is read", Latch::kKept,
         [&](ftdi_context* ctx, Ft232r& cable, Clock& clock) {
             std::vector<uint8_t> out(300, off);
             ftdi_set_bitmode(ctx, 0x15, BITMODE_SYNCBB);
             ftdi_set_baudrate(ctx, 500000);
             ftdi_write_data(ctx, out.data(), int(out.size()));
             clock.sleep(std::chrono::milliseconds(10));
             ftdi_read_data(ctx, out.data(), int(out.size()));
             return cable.lostsamples() > 0;
         }},
        {"outputs on at once when the latch is cleared", Latch::kCleared,
         [&](ftdi_context* ctx, Ft232r& cable, Clock&) {
             ftdi_set_bitmode(ctx, 0x15, BITMODE_SYNCBB);
             return cable.modemoves() > 0 && cable.tdpulses() > 0;
         }},
        {"DATA IN sampled 0.5 us after it changed", Latch::kKept,
         [&](ftdi_context* ctx, Ft232r&, Clock&) {
             // DATA OUT on for 4 bytes of 0.5 us: the sample 0.5 us after the change shows the
             // level before, the one 1 us after the new one.
             const std::vector<uint8_t> out{off, off, dtron, dtron, dtron, dtron};
             std::vector<uint8_t> in(out.size());
             ftdi_set_bitmode(ctx, 0x15, BITMODE_SYNCBB);
             ftdi_set_baudrate(ctx, 500000);
             ftdi_write_data(ctx, out.data(), int(out.size()));
             ftdi_read_data(ctx, in.data(), int(in.size()));
             const auto dsr = [&](size_t i) { return (in[i] & 0x20) == 0; };
             return !dsr(3) && dsr(4);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        VirtualClock clock;
        Config config;
        config.chip = "none";
        config.reading = Reading::kDivisor;
        config.latch = c.latch;
        Ft232r& cable = standin::plug(config, clock);
        ftdi_context* ctx = ftdi_new();
        ASSERT_EQ(ftdi_usb_open_desc(ctx, 0x0403, 0x6001, nullptr, nullptr), 0);
        EXPECT_TRUE(c.seen(ctx, cable, clock));
        ftdi_free(ctx);
        standin::unplugall();
    }
}

}  // namespace
}  // namespace qm::test
