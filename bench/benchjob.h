#pragma once

// The job the chip benchmarks time: a completely filled 16F877A of the shipped device file.
#include <cstdint>
#include <cstdio>
#include <string>

#include "buffer/progbuffer.h"
#include "devices/activemodel.h"
#include "devices/loaddevices.h"
#include "devices/selectmodel.h"
#include "host/host.h"

namespace qm::bench {

struct BenchModel {
    DeviceTable devices;
    int32_t number = 0;  // 0 when the file has no usable 16F877A
    ActiveModel model;
};

// The shipped device file and its 16F877A; says why on standard error when it is not there.
inline BenchModel loadbenchmodel() {
    BenchModel bench;
    const std::string path = std::string(QUELLMARK_SOURCE_DIR) + "/data/quellmarkdevices.txt";
    bench.devices = loaddevices(path).table;
    for (int n = 1; n <= bench.devices.modelcount(); ++n) {
        if (bench.devices.models[size_t(n)].name == "16F877A") bench.number = n;
    }
    if (bench.number == 0 || !selectmodel(bench.devices, bench.number, bench.model).ok) {
        std::fprintf(stderr, "no usable 16F877A model in %s\n", path.c_str());
        bench.number = 0;
    }
    return bench;
}

// Every location written with a value that is not the erased one.
inline void fill(ProgBuffer& buffer) {
    for (size_t i = 0; i < buffer.flash.size(); ++i) {
        buffer.flash[i] = int32_t((i * 0x2F1 + 0x155) & 0x3FFF);
    }
    for (size_t i = 0; i < buffer.eeprom.size(); ++i) {
        buffer.eeprom[i] = int32_t((i * 29 + 3) & 0xFF);
    }
    buffer.conf[0] = 0x3F3A;  // unprotected, unimplemented bits as the chip reads them
}

// The cheapest host there can be: the measurement is the core's cost, not a window's. ClockT
// is virtual or real time.
template <typename ClockT>
class BenchHost final : public Host {
  public:
    void setstatus(const std::string& text) override {
        ++statuses;
        last = text;
    }
    void yield() override {}
    int mymsgbox(const std::string& text, int, const std::string&) override {
        last = text;
        return kAnswerOk;
    }
    Clock& clock() override { return clock_; }
    void endprogram() override {}

    int64_t statuses = 0;
    std::string last;

  private:
    ClockT clock_;
};

}  // namespace qm::bench
