#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "buffer/progbuffer.h"
#include "core/engine/fakechipport.h"
#include "core/testhost.h"
#include "devices/activemodel.h"
#include "engine/engine.h"
#include "engine/interpreter.h"
#include "link/linedriver.h"

namespace qm::test {

// Cuts a script at its commas, as model activation does (without the lower-casing).
inline std::vector<std::string> script(std::string_view text) {
    std::vector<std::string> steps;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        steps.emplace_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return steps;
}

// An engine on the decoding fake port: a small chip (16 words FLASH, 8 bytes EEPROM, page 4)
// with the supply switched VDD first and a 5 ms programming time.
struct EngineRig {
    EngineRig() {
        model.flashsize = 16;
        model.eepromsize = 8;
        model.erasedconfig = {0x3FFF, 0x3FFF};
        model.voltageorder = 1;
        model.progtime = 5;
        model.pagesize = 4;
        // A run that should have stopped but loops on fails here instead of hanging the suite.
        port.failafter = 20'000'000;
        reset();
    }

    // Resizes and erases the buffer after the model was changed.
    void reset() { clearbuffer(buffer, model); }

    RunResult run(std::string_view text) { return runalg(engine, script(text)); }

    int64_t elapsedms() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   const_cast<TestHost&>(host).virtualclock().now())
            .count();
    }

    TestHost host;
    FakeChipPort port;
    ActiveModel model;
    ProgBuffer buffer;
    LineDriver driver{port, host, model};
    Engine engine{host, port, driver, model, buffer};
};

using Transfer = FakeChipPort::Transfer;

}  // namespace qm::test
