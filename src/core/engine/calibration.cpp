#include "engine/calibration.h"

#include <bit>

#include "text/hextext.h"

namespace qm {

namespace {

int32_t keptbits(const CalibrationWord& word, int32_t read) { return read & word.mask; }

bool contiguous(int32_t mask) {
    const uint32_t shifted = static_cast<uint32_t>(mask) >> std::countr_zero(uint32_t(mask));
    return (shifted & (shifted + 1)) == 0;
}

// "bits 13:12", "bit 3", or for bits that are not side by side "bits 3000h".
std::string bitsname(int32_t mask) {
    const int low = std::countr_zero(static_cast<uint32_t>(mask));
    const int high = 31 - std::countl_zero(static_cast<uint32_t>(mask));
    if (!contiguous(mask)) return "bits " + hexwordh(mask);
    if (high == low) return "bit " + std::to_string(low);
    return "bits " + std::to_string(high) + ":" + std::to_string(low);
}

// The bits in binary ("10"), or in hex when they are not side by side.
std::string bitsvalue(int32_t mask, int32_t value) {
    if (!contiguous(mask)) return hexwordh(value & mask);
    const int low = std::countr_zero(static_cast<uint32_t>(mask));
    const int high = 31 - std::countl_zero(static_cast<uint32_t>(mask));
    std::string binary;
    for (int bit = high; bit >= low; --bit) binary += ((value >> bit) & 1) != 0 ? '1' : '0';
    return binary;
}

bool wholeword(const CalibrationWord& word) { return word.mask == 0x3FFF; }

// "03FFh = 3480h", "2007h bits 13:12 = 10".
std::string valuetext(const CalibrationWord& word, int32_t read) {
    if (wholeword(word)) return hexwordh(word.address) + " = " + hexwordh(read & 0x3FFF);
    return hexwordh(word.address) + " " + bitsname(word.mask) + " = " + bitsvalue(word.mask, read);
}

// What the location holds after an erase, over which the kept bits are written back.
int32_t erasedvalue(const ActiveModel& model, int32_t address) {
    int32_t erased = kErasedWord;
    if (address == kAddrConf1 || address == kAddrConf2)
        erased = model.erasedconfig[size_t(address - kAddrConf1)];
    return erased < 0 ? kErasedWord : erased;
}

std::vector<int32_t> registerwords(const SideRun& side, size_t count) {
    std::vector<int32_t> words;
    for (size_t k = 0; k < count && k < side.state.cal.size(); ++k)
        words.push_back(side.state.cal[k] & 0x3FFF);
    return words;
}

}  // namespace

bool keepscalibration(const ActiveModel& model) {
    return !model.calibration.empty() && !model.calreadsteps.empty();
}

CalibrationRead readcalibration(Engine& engine) {
    CalibrationRead result;
    const SideRun side = runbeside(engine, engine.activemodel.calreadsteps, "calibration read");
    result.run = side.run;
    if (result.run.outcome == RunOutcome::Completed)
        result.words = registerwords(side, engine.activemodel.calibration.size());
    return result;
}

RunResult writecalibration(Engine& engine, const std::vector<int32_t>& words) {
    const ActiveModel& model = engine.activemodel;
    std::array<int32_t, kCalRegisters> registers{};
    for (size_t k = 0; k < model.calibration.size() && k < words.size(); ++k) {
        const CalibrationWord& word = model.calibration[k];
        registers[k] = (erasedvalue(model, word.address) & ~word.mask) | keptbits(word, words[k]);
    }
    return runbeside(engine, model.calwritesteps, "calibration write", registers).run;
}

std::string calibrationlist(const ActiveModel& model, const std::vector<int32_t>& words) {
    std::string text;
    for (size_t k = 0; k < model.calibration.size() && k < words.size(); ++k) {
        if (k > 0) text += ", ";
        text += valuetext(model.calibration[k], words[k]);
    }
    return text;
}

int badcalibrationform(const ActiveModel& model, const std::vector<int32_t>& words) {
    for (size_t k = 0; k < model.calibration.size() && k < words.size(); ++k) {
        const CalibrationWord& word = model.calibration[k];
        if ((words[k] & word.formmask) != word.formvalue) return static_cast<int>(k);
    }
    return -1;
}

bool heldbybuffer(const ActiveModel& model, const CalibrationWord& word) {
    return word.address < model.flashsize || word.address == kAddrConf1 ||
           (word.address == kAddrConf2 && model.config2used);
}

int changedcalibration(const ActiveModel& model, const std::vector<int32_t>& before,
                       const std::vector<int32_t>& after, bool outsidebuffer) {
    for (size_t k = 0; k < model.calibration.size(); ++k) {
        const CalibrationWord& word = model.calibration[k];
        if (outsidebuffer && heldbybuffer(model, word)) continue;
        if (k >= before.size() || k >= after.size() ||
            keptbits(word, before[k]) != keptbits(word, after[k]))
            return static_cast<int>(k);
    }
    return -1;
}

std::string badformtext(const CalibrationWord& word, int32_t read) {
    if (wholeword(word))
        return "the calibration word at " + hexwordh(word.address) + " reads " +
               hexwordh(read & 0x3FFF) + ", not " + word.form + "h";
    return "the calibration " + bitsname(word.mask) + " of " + hexwordh(word.address) + " read " +
           bitsvalue(word.mask, read) + ", which is not of the form " + word.form + "h";
}

std::string changedtext(const CalibrationWord& word, int32_t kept, int32_t read) {
    return valuetext(word, read) + " instead of " +
           (wholeword(word) ? hexwordh(kept & 0x3FFF) : bitsvalue(word.mask, kept));
}

namespace {

// The buffer's cell for a calibration word; nullptr for a location the buffer does not hold.
template <typename Buffer>
auto bufferedcell(Buffer& buffer, const ActiveModel& model, const CalibrationWord& word)
    -> decltype(&buffer.conf[0]) {
    if (!heldbybuffer(model, word)) return nullptr;
    if (word.address < kAddrIdFirst) {
        if (size_t(word.address) >= buffer.flash.size()) return nullptr;
        return &buffer.flash[size_t(word.address)];
    }
    return &buffer.conf[size_t(word.address - kAddrConf1)];
}

}  // namespace

std::string buffercalibration(const ProgBuffer& buffer, const ActiveModel& model) {
    std::string text;
    for (const CalibrationWord& word : model.calibration) {
        const int32_t* cell = bufferedcell(buffer, model, word);
        if (cell == nullptr) continue;
        text += (text.empty() ? "" : ", ") + valuetext(word, *cell);
    }
    return text;
}

void mergecalibration(ProgBuffer& buffer, const ActiveModel& model,
                      const std::vector<int32_t>& words) {
    for (size_t k = 0; k < model.calibration.size() && k < words.size(); ++k) {
        const CalibrationWord& word = model.calibration[k];
        if (int32_t* cell = bufferedcell(buffer, model, word))
            *cell = (*cell & ~word.mask) | keptbits(word, words[k]);
    }
}

int32_t calibratedexpected(const Engine& engine, int32_t address, int32_t expected) {
    const ActiveModel& model = engine.activemodel;
    const std::vector<int32_t>& words = engine.algstate.kept;
    for (size_t k = 0; k < model.calibration.size() && k < words.size(); ++k) {
        const CalibrationWord& word = model.calibration[k];
        if (word.address == address && expected >= 0)
            expected = (expected & ~word.mask) | keptbits(word, words[k]);
    }
    return expected;
}

const CalibrationWord* calibrationformfault(const Engine& engine, int32_t address, int32_t read) {
    const ActiveModel& model = engine.activemodel;
    for (size_t k = 0; k < model.calibration.size() && k < engine.algstate.kept.size(); ++k) {
        const CalibrationWord& word = model.calibration[k];
        if (word.address == address && (read & word.formmask) != word.formvalue) return &word;
    }
    return nullptr;
}

}  // namespace qm
