// Program All + Verify of a completely filled 16F877A (8192 FLASH words, 256 EEPROM bytes) with
// the shipped device file's scripts, once through the serial back-end (the simulated adapter,
// one line change per call) and once through the FT232R bit-bang back-end on its simulated
// cable, both on virtual time. It counts what a cable's speed depends on and estimates the time
// of the whole job:
//   - a built-in UART: every line operation an I/O access of a few microseconds;
//   - a USB-serial cable driven through modem-line calls: every line operation (a change of RTS
//     or DTR, a read of DSR, the toggle byte) one USB round trip;
//   - an FT232R in bit-bang mode: the USB round trips the back-end makes (1 ms each, and 2 ms
//     each for a request that waits for the next USB frame and samples that wait for the
//     latency timer), plus the time of the pin bytes as the back-end holds them at the rate it
//     measured (the simulated cable runs its pins at the rate asked for, the slowest reading of
//     the FT232R's rate and so the longest job);
// each plus the waits of the scripts and supply sequences. Transfers longer than the sample FIFO
// are refilled packet by packet while a read is pending; the estimate takes each refill to come
// before the pins have run through the rest of the FIFO, and prints how long that is and what
// the refills would add if each came a round trip late.
//
// Targets: at least 100 times fewer round trips than line operations, and at most 20 s (1 ms per
// round trip) and 30 s (2 ms) for the bit-bang estimate. The exit code is 1 when a target is
// missed or a run fails.
//
// Usage: ftdi_bench
#include <chrono>
#include <cstdio>

#include "benchjob.h"
#include "engine/chipoperations.h"
#include "engine/engine.h"
#include "host/virtualclock.h"
#include "link/bitbangport.h"
#include "link/linedriver.h"
#include "link/portselect.h"
#include "sim/chipfamily.h"
#include "sim/picchip.h"
#include "sim/simadapter.h"
#include "sim/simft232r.h"

namespace {

using Wall = std::chrono::steady_clock;
using BenchHost = qm::bench::BenchHost<qm::VirtualClock>;

constexpr double kUsbRoundTripS = 1e-3;
constexpr double kSlowRoundTripS = 2e-3;
// An access to a built-in UART's modem-control register [an assumption, not measured here].
constexpr double kUartLineOpS = 2e-6;
constexpr double kMinRatio = 100;
constexpr double kMaxEstimateS = 20;
constexpr double kMaxSlowEstimateS = 30;

struct Counts {
    bool ok = false;
    int64_t lineops = 0;     // serial back-end: line operations at the adapter
    int64_t roundtrips = 0;  // bit-bang back-end: USB round trips
    int64_t pinbytes = 0;    // bit-bang back-end: bytes written to the pins
    int64_t refills = 0;     // bit-bang back-end: sample FIFO refills inside transfers
    double pinrate = 0;      // bit-bang back-end: pin bytes per second, as measured
    int32_t askedrate = 0;   // bit-bang back-end: the rate asked of libftdi for it
    int64_t shortstates = 0;
    int64_t violations = 0;  // the chip's timing faults
    double virtuals = 0;     // virtual time of both operations
    double wallms = 0;
};

// Program All then Verify through the given port; the chip's clock may differ from the host's.
template <typename Setup>
Counts run(const qm::ActiveModel& model, Setup setup) {
    BenchHost host;
    qm::SimAdapter adapter;
    adapter.open("sim", 56000);
    Counts counts;
    setup(host, adapter, model, counts);
    return counts;
}

void operate(BenchHost& host, qm::SerialPort& port, qm::PicChip& chip, const qm::ActiveModel& model,
             Counts& counts) {
    qm::LineDriver driver(port, host, model);
    qm::ProgBuffer buffer;
    qm::clearbuffer(buffer, model);
    qm::bench::fill(buffer);
    qm::Engine engine(host, port, driver, model, buffer);
    qm::PortState state;
    state.portnumber = 1;
    state.portready = true;
    const auto t0 = Wall::now();
    // As quellmark-cli program runs them: the chip's ID is read once, before Program All.
    const qm::OperationResult program = qm::programall(engine, state);
    const bool programmed = program.status == qm::OperationStatus::Done;
    const bool verified =
        qm::verifyprogrammed(engine, state, program).status == qm::OperationStatus::Done;
    counts.wallms = std::chrono::duration<double, std::milli>(Wall::now() - t0).count();
    counts.ok = programmed && verified;
    if (!counts.ok) std::fprintf(stderr, "unexpected outcome: %s\n", host.last.c_str());
    counts.violations = chip.count(qm::ChipEventKind::kViolation);
    counts.virtuals = std::chrono::duration<double>(host.clock().now()).count();
}

qm::PicChip makechip(const qm::ActiveModel& model, qm::Clock& clock) {
    qm::PicChip chip(qm::chipfamilyformodel("16F877A", model.flashsize, model.eepromsize), clock);
    chip.setcommandlogging(false);
    return chip;
}

Counts serialrun(const qm::ActiveModel& model) {
    return run(model, [](BenchHost& host, qm::SimAdapter& adapter, const qm::ActiveModel& m,
                         Counts& counts) {
        qm::PicChip chip = makechip(m, host.clock());
        adapter.attach(&chip);
        operate(host, adapter, chip, m, counts);
        counts.lineops = adapter.lineoperations();
    });
}

Counts bitbangrun(const qm::ActiveModel& model) {
    return run(model, [](BenchHost& host, qm::SimAdapter& adapter, const qm::ActiveModel& m,
                         Counts& counts) {
        qm::SimFt232r cable(adapter, host.clock());
        qm::PicChip chip = makechip(m, cable.lineclock());
        adapter.attach(&chip);
        qm::BitBangPort port(cable, host.clock());
        if (!port.open("", 56000)) {
            std::fprintf(stderr, "the simulated cable does not open: %s\n",
                         port.errortext().c_str());
            return;
        }
        counts.pinrate = port.pinrate();
        counts.askedrate = port.askedrate();
        operate(host, port, chip, m, counts);
        port.close();
        counts.refills = cable.refills();
        counts.roundtrips = cable.roundtrips();
        counts.pinbytes = cable.pinbytes();
        counts.shortstates = cable.shortstates();
    });
}

}  // namespace

int main() {
    const qm::bench::BenchModel bench = qm::bench::loadbenchmodel();
    if (bench.number == 0) return 1;
    const qm::ActiveModel& model = bench.model;

    const Counts serial = serialrun(model);
    const Counts bitbang = bitbangrun(model);
    if (!serial.ok || !bitbang.ok) return 1;

    // On the serial back-end's simulated adapter line operations take no virtual time: its
    // virtual time is the waits alone.
    const double waits = serial.virtuals;
    // The simulated cable's virtual time is the waits and the pin bytes at their own rates (the
    // measurement's slow bursts included).
    const double bytess = bitbang.virtuals - waits;
    const double uart = double(serial.lineops) * kUartLineOpS + waits;
    const double usbserial = double(serial.lineops) * kUsbRoundTripS + waits;
    const double ftdi = double(bitbang.roundtrips) * kUsbRoundTripS + bitbang.virtuals;
    const double ftdislow = double(bitbang.roundtrips) * kSlowRoundTripS + bitbang.virtuals;
    const double ratio = double(serial.lineops) / double(bitbang.roundtrips);
    // What the pins still have to run through when a packet of samples comes back.
    const double refillus = (qm::kFt232rSampleFifo - qm::kFt232rPacketData) * 1e6 / bitbang.pinrate;

    std::printf("Program All + Verify, 16F877A, %d FLASH words, %d EEPROM bytes\n", model.flashsize,
                model.eepromsize);
    std::printf("  serial back-end:   %10lld line operations\n",
                static_cast<long long>(serial.lineops));
    std::printf(
        "  bit-bang back-end: %10lld USB round trips, %lld pin bytes at %.0f bytes/s "
        "(measured; %d asked)\n",
        static_cast<long long>(bitbang.roundtrips), static_cast<long long>(bitbang.pinbytes),
        bitbang.pinrate, bitbang.askedrate);
    std::printf("  sample FIFO refills inside transfers: %lld, each due within %.0f us\n",
                static_cast<long long>(bitbang.refills), refillus);
    std::printf("  line operations per round trip: %.0f (target at least %.0f)\n", ratio,
                kMinRatio);
    std::printf("  waits of the scripts: %.2f s; pin bytes: %.2f s\n", waits, bytess);
    std::printf("  virtual time on the simulated cable: %.2f s (waits + pin bytes)\n",
                bitbang.virtuals);
    std::printf("  timing faults: chip %lld (serial), %lld (bit-bang); short line states %lld\n",
                static_cast<long long>(serial.violations),
                static_cast<long long>(bitbang.violations),
                static_cast<long long>(bitbang.shortstates));
    std::printf("  simulation wall time: serial %.0f ms, bit-bang %.0f ms\n", serial.wallms,
                bitbang.wallms);
    std::printf("\nEstimated time of the job\n");
    std::printf("  built-in UART, %.0f us per line operation:      %9.1f s\n", kUartLineOpS * 1e6,
                uart);
    std::printf("  USB-serial cable, modem-line calls, 1 ms each:  %9.1f s (%.0f min)\n", usbserial,
                usbserial / 60);
    std::printf("  FT232R bit-bang, 1 ms per round trip: %9.1f s (target at most %.0f)\n", ftdi,
                kMaxEstimateS);
    std::printf("  FT232R bit-bang, 2 ms per round trip: %9.1f s (target at most %.0f)\n", ftdislow,
                kMaxSlowEstimateS);
    // The other end: a PC that answers each packet of samples only a round trip later, so that
    // the pins wait for every refill.
    std::printf("  (refills answered a round trip late would add %.1f s at 1 ms, %.1f s at 2 ms)\n",
                double(bitbang.refills) * kUsbRoundTripS,
                double(bitbang.refills) * kSlowRoundTripS);

    const bool faults = serial.violations + bitbang.violations + bitbang.shortstates > 0;
    const bool met =
        ratio >= kMinRatio && ftdi <= kMaxEstimateS && ftdislow <= kMaxSlowEstimateS && !faults;
    std::printf("\n%s\n", met ? "All targets met." : "TARGET MISSED.");
    return met ? 0 : 1;
}
