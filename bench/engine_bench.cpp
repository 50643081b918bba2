// Times Program All followed by Verify of a completely filled 16F877A (8192 FLASH words, 256
// EEPROM bytes) on the simulated chip, on virtual time, with the shipped device file's scripts.
// A second measurement drives the same code-memory transfers through the line driver alone, so
// the share of the script engine itself can be read off.
//
// A last line times reading the shipped device file.
//
// Usage: engine_bench [runs]   (default 5)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "benchjob.h"
#include "buffer/progbuffer.h"
#include "devices/loaddevices.h"
#include "devices/selectmodel.h"
#include "engine/chipoperations.h"
#include "engine/engine.h"
#include "host/host.h"
#include "host/virtualclock.h"
#include "link/linedriver.h"
#include "link/portselect.h"
#include "sim/chipfamily.h"
#include "sim/picchip.h"
#include "sim/simadapter.h"

namespace {

using Wall = std::chrono::steady_clock;

using BenchHost = qm::bench::BenchHost<qm::VirtualClock>;

double ms(Wall::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Run {
    double programms = 0;
    double verifyms = 0;
    double virtualseconds = 0;
    int64_t lineops = 0;
    bool ok = false;
};

// A simulated 16F877A on the line driver, with a filled buffer to write to it.
struct Rig {
    explicit Rig(const qm::ActiveModel& model)
        : chip(qm::chipfamilyformodel("16F877A", model.flashsize, model.eepromsize), host.clock()),
          adapter(&chip),
          driver(adapter, host, model) {
        chip.setcommandlogging(false);
        adapter.open("sim", 56000);
        qm::clearbuffer(buffer, model);
        qm::bench::fill(buffer);
    }

    BenchHost host;
    qm::PicChip chip;
    qm::SimAdapter adapter;
    qm::LineDriver driver;
    qm::ProgBuffer buffer;
};

Run engine_run(const qm::ActiveModel& model) {
    Rig rig(model);
    BenchHost& host = rig.host;
    qm::Engine engine(host, rig.adapter, rig.driver, model, rig.buffer);
    qm::PortState port;
    port.portnumber = 1;
    port.portready = true;

    Run run;
    const auto t0 = Wall::now();
    const auto programmed = qm::programall(engine, port);
    const auto t1 = Wall::now();
    // As quellmark-cli program runs it: the chip's ID was read before Program All.
    const auto verified = qm::verifyprogrammed(engine, port, programmed);
    const auto t2 = Wall::now();
    run.programms = ms(t1 - t0);
    run.verifyms = ms(t2 - t1);
    run.virtualseconds = std::chrono::duration<double>(host.clock().now()).count();
    run.lineops = rig.adapter.lineoperations();
    run.ok = programmed.status == qm::OperationStatus::Done &&
             verified.status == qm::OperationStatus::Done;
    if (!run.ok) std::fprintf(stderr, "unexpected outcome: %s\n", host.last.c_str());
    return run;
}

// The code-memory part of the same work without the interpreter: every word loaded and
// incremented, the 8-word block written, then every word read back and incremented.
double driver_run(const qm::ActiveModel& model) {
    Rig rig(model);
    BenchHost& host = rig.host;
    qm::LineDriver& driver = rig.driver;
    const qm::ProgBuffer& buffer = rig.buffer;

    const auto t0 = Wall::now();
    driver.poweron();
    driver.sendcmddata(0x00, 0x3FFF);
    driver.sendcmd(0x1F);
    host.clock().sleepms(15);
    driver.poweroff();
    driver.poweron();
    for (int32_t a = 0; a < model.flashsize; ++a) {
        driver.sendcmddata(0x02, buffer.flash[size_t(a)]);
        if ((a + 1) % 8 == 0) {
            driver.sendcmd(0x18);
            host.clock().sleepms(model.progtime);
            driver.sendcmd(0x17);
        }
        driver.sendcmd(0x06);
    }
    driver.poweroff();
    driver.poweron();
    int32_t errors = 0;
    for (int32_t a = 0; a < model.flashsize; ++a) {
        if (driver.readcmddata(0x04) != buffer.flash[size_t(a)]) ++errors;
        driver.sendcmd(0x06);
    }
    driver.poweroff();
    const auto t1 = Wall::now();
    if (errors != 0) std::fprintf(stderr, "driver-only run read back %d wrong words\n", errors);
    return ms(t1 - t0);
}

// Reading the shipped device file and activating every model in it, as a start-up does for one.
double deviceload_run() {
    const std::string path = std::string(QUELLMARK_SOURCE_DIR) + "/data/quellmarkdevices.txt";
    const auto t0 = Wall::now();
    const qm::LoadDevicesResult loaded = qm::loaddevices(path);
    const auto t1 = Wall::now();
    for (int32_t n = 1; n <= loaded.table.modelcount(); ++n) {
        qm::ActiveModel model;
        if (!qm::selectmodel(loaded.table, n, model).ok)
            std::fprintf(stderr, "model %d cannot be activated\n", n);
    }
    return ms(t1 - t0);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const qm::bench::BenchModel bench = qm::bench::loadbenchmodel();
    if (bench.number == 0) return 1;
    const qm::ActiveModel& model = bench.model;

    std::vector<double> program, verify, total, driveronly, deviceload;
    Run last;
    for (int i = 0; i < runs; ++i) {
        last = engine_run(model);
        if (!last.ok) return 1;
        program.push_back(last.programms);
        verify.push_back(last.verifyms);
        total.push_back(last.programms + last.verifyms);
        driveronly.push_back(driver_run(model));
        deviceload.push_back(deviceload_run());
    }

    std::printf("16F877A, %d FLASH words, %d EEPROM bytes, %d runs (median, min in ms)\n",
                model.flashsize, model.eepromsize, runs);
    std::printf("  Program All            %9.1f  %9.1f\n", median(program),
                *std::min_element(program.begin(), program.end()));
    std::printf("  Verify                 %9.1f  %9.1f\n", median(verify),
                *std::min_element(verify.begin(), verify.end()));
    std::printf("  Program All + Verify   %9.1f  %9.1f\n", median(total),
                *std::min_element(total.begin(), total.end()));
    std::printf("  line driver only, code %9.1f  %9.1f\n", median(driveronly),
                *std::min_element(driveronly.begin(), driveronly.end()));
    std::printf("  line operations %lld, %.1f ns each (whole run)\n",
                static_cast<long long>(last.lineops), median(total) * 1e6 / double(last.lineops));
    std::printf("  virtual time of both operations: %.2f s\n", last.virtualseconds);
    std::printf("Device file (%d models): read in %.2f ms (median), %.2f ms (min)\n",
                bench.devices.modelcount(), median(deviceload),
                *std::min_element(deviceload.begin(), deviceload.end()));
    return 0;
}
