// Any bytes as a script, run on a simulated chip on virtual time: every run must end within a
// bounded number of steps, never index outside the buffer, and leave the buffer's size alone.
// The port is lost after a bounded number of line operations, as a real one can be.
//
// Input: 6 bytes of model and chip (FLASH size, EEPROM size, page size, voltage order,
// programming time, chip kind), then the script text as the device file would hold it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "buffer/progbuffer.h"
#include "devices/activemodel.h"
#include "devices/selectmodel.h"
#include "engine/engine.h"
#include "engine/interpreter.h"
#include "fuzzhost.h"
#include "host/host.h"
#include "host/virtualclock.h"
#include "link/linedriver.h"
#include "sim/chipfamily.h"
#include "sim/picchip.h"
#include "sim/simadapter.h"

namespace {

using qm::fuzz::check;
using qm::fuzz::FuzzHost;

constexpr size_t kHeader = 6;
constexpr int64_t kLineOperations = 200'000;
// Far more than any run of these small memories may take: loops need the address to grow.
constexpr int64_t kStepBudget = 5'000'000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kHeader) return 0;
    qm::ActiveModel model;
    model.flashsize = 1 + data[0] % 64;
    model.eepromsize = data[1] % 17;
    model.pagesize = data[2] % 9;
    model.voltageorder = data[3] % 3;
    model.progtime = data[4] % 20;
    model.erasedconfig = {0x3FFF, 0x3FFF};
    model.config2used = (data[3] & 0x80) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data + kHeader), size - kHeader);
    model.steps[0] = qm::splitsteps(text);

    const auto& names = qm::knownchipnames();
    const size_t pick = data[5] % (names.size() + 1);
    const std::string_view name = pick < names.size() ? names[pick] : "generic";
    FuzzHost host;
    qm::PicChip chip(qm::chipfamilyformodel(name, model.flashsize, model.eepromsize), host.clock());
    chip.setcommandlogging(false);
    qm::SimAdapter adapter(&chip);
    adapter.open("sim", 9600);
    adapter.failafter(kLineOperations);
    qm::LineDriver driver(adapter, host, model);
    qm::ProgBuffer buffer;
    qm::clearbuffer(buffer, model);
    for (size_t i = 0; i < buffer.flash.size(); ++i)
        buffer.flash[i] = int32_t((i * 0x155) & 0x3FFF);
    qm::Engine engine(host, adapter, driver, model, buffer);
    // Close to the mismatch limit, so its jump to the last instruction is reached too.
    engine.report.mismatchcount = 20;

    qm::startalg(engine, model.steps[0]);
    qm::AlgState& state = engine.algstate;
    int64_t steps = 0;
    while (!adapter.failed() && state.algpc <= state.algcount) {
        check(++steps <= kStepBudget);
        if (qm::stepalg(engine) != qm::StepResult::Next || host.ended) break;
    }
    check(buffer.flash.size() == size_t(model.flashsize));
    check(buffer.eeprom.size() == size_t(model.eepromsize));
    return 0;
}
