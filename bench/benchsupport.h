// Pieces the benchmarks share: a host that costs nothing, the full test image, and the shipped
// 16F877A model.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "buffer/progbuffer.h"
#include "devices/loaddevices.h"
#include "devices/selectmodel.h"
#include "host/host.h"
#include "host/virtualclock.h"

namespace bench {

// The cheapest host there can be: the measurement is the core's cost, not a window's.
class BenchHost final : public qm::Host {
  public:
    void setstatus(const std::string& text) override {
        ++statuses;
        last = text;
    }
    void yield() override { ++yields; }
    int mymsgbox(const std::string& text, int, const std::string&) override {
        last = text;
        return qm::kAnswerOk;
    }
    qm::Clock& clock() override { return clock_; }
    void endprogram() override {}

    int64_t statuses = 0;
    int64_t yields = 0;
    std::string last;

  private:
    qm::VirtualClock clock_;
};

// Every FLASH word, EEPROM byte and the configuration word in use.
inline void fill(qm::ProgBuffer& buffer) {
    for (size_t i = 0; i < buffer.flash.size(); ++i)
        buffer.flash[i] = int32_t((i * 0x2F1 + 0x155) & 0x3FFF);
    for (size_t i = 0; i < buffer.eeprom.size(); ++i)
        buffer.eeprom[i] = int32_t((i * 29 + 3) & 0xFF);
    buffer.conf[0] = 0x3F3A;  // unprotected, unimplemented bits as the chip reads them
}

// The shipped device file's 16F877A; false (with a message) when it is missing.
inline bool load16f877a(qm::ActiveModel& model) {
    const std::string path = std::string(QUELLMARK_SOURCE_DIR) + "/data/quellmarkdevices.txt";
    const qm::LoadDevicesResult loaded = qm::loaddevices(path);
    int32_t number = 0;
    for (int n = 1; n <= loaded.table.modelcount(); ++n)
        if (loaded.table.models[size_t(n)].name == "16F877A") number = n;
    if (number == 0 || !qm::selectmodel(loaded.table, number, model).ok) {
        std::fprintf(stderr, "no usable 16F877A model in %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace bench
