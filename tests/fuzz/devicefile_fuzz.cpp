// Any bytes as a device file: the reader and model activation must neither crash nor hang, keep
// their warnings bounded, and give every activated model a buffer that fits the address map.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "buffer/progbuffer.h"
#include "devices/loaddevices.h"
#include "devices/selectmodel.h"
#include "fuzzhost.h"
#include "script/instruction.h"

namespace {

using qm::fuzz::check;

// Activating thousands of models of one input would only slow the search down.
constexpr int kModelsTried = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const qm::LoadDevicesResult loaded = qm::parsedevices(text);
    check(loaded.warnings.size() <= qm::kMaxDeviceWarnings);
    check(loaded.warningcount >= loaded.warnings.size());
    check((loaded.status == qm::LoadDevicesStatus::Ok) == (loaded.table.modelcount() > 0));
    const auto lines = qm::formatdevicewarnings(loaded.warnings, "fuzz.txt", loaded.warningcount);
    check(lines.size() <= qm::kMaxDeviceWarnings + 1);

    qm::ActiveModel model;
    for (int n = 0; n <= loaded.table.modelcount() + 1 && n <= kModelsTried; ++n) {
        const qm::ActiveModel before = model;
        const qm::SelectModelResult selected = qm::selectmodel(loaded.table, n, model);
        if (!selected.ok) {
            check(model == before);
            continue;
        }
        check(model.flashsize >= 1 && model.flashsize <= qm::kMaxFlashWords);
        check(model.eepromsize >= 0 && model.eepromsize <= qm::kMaxEepromBytes);
        qm::ProgBuffer buffer;
        qm::clearbuffer(buffer, model);
        for (const auto& steps : model.steps) {
            const auto decoded = qm::decodeprogram(steps);
            check(decoded.size() == steps.size());
            for (const qm::Instruction& in : decoded)
                check(in.target < 0 || size_t(in.target) < decoded.size());
        }
    }
    return 0;
}
