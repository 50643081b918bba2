#include "sim/picchip.h"

#include <algorithm>
#include <utility>

namespace qm {

namespace {

constexpr int32_t kCommandBits = 6;
constexpr int32_t kWordClocks = 16;  // start bit, 14 data bits, stop bit
constexpr int32_t kConfigBase = 0x2000;

}  // namespace

PicChip::PicChip(ChipFamily family, Clock& clock) : family_(std::move(family)), clock_(clock) {
    family_.flashsize = std::clamp(family_.flashsize, 1, kConfigBase);
    family_.eepromsize = std::clamp(family_.eepromsize, 0, 0x4000);
    if (family_.latchwords < 1 || family_.latchwords > 8 ||
        (family_.latchwords & (family_.latchwords - 1)) != 0) {
        family_.latchwords = 1;
    }
    flash_.assign(static_cast<size_t>(family_.flashsize), 0x3FFF);
    eeprom_.assign(static_cast<size_t>(family_.eepromsize), 0xFF);
    eraseall();
    setfactorycalibration();
    // The largest cycle (a chip erase) records every location once; no allocation while running.
    undo_.reserve(flash_.size() + eeprom_.size() + ids_.size() + config_.size() +
                  calibration_.size());
    log_.reserve(4096);
    latch_.fill(0x3FFF);
}

// ---- pins ----

void PicChip::setsupply(bool on) {
    if (on == supply_) return;
    supply_ = on;
    if (on) {
        enterprogramming();
    } else {
        leaveprogramming();
    }
}

void PicChip::setclock(bool high) {
    if (high == clk_) return;
    clk_ = high;
    if (!supply_) return;
    if (high) {
        onrising();
    } else {
        onfalling();
    }
}

void PicChip::setdata(bool high) { dat_ = high; }

// VDD and VPP rise together on this adapter, so power-up is entry into programming mode. The
// chip enters it cleanly only with CLOCK and DATA held low while VPP rises.
void PicChip::enterprogramming() {
    if (clk_ || dat_) {
        logevent(ChipEventKind::kProtocolFault, -1, -1, pc_,
                 std::string("power on with ") +
                     (clk_ && dat_ ? "CLOCK and DATA"
                      : clk_       ? "CLOCK"
                                   : "DATA") +
                     " high; programming mode needs both low");
    }
    pc_ = 0;
    latch_.fill(0x3FFF);
    datalatch_ = 0xFF;
    lastload_ = LoadKind::kNone;
    configlatch_ = false;
    armed_ = Armed::kNone;
    resetdecoder();
    logevent(ChipEventKind::kPowerOn, -1, -1, pc_);
}

void PicChip::leaveprogramming() {
    const bool midcommand = phase_ != Phase::kCommand || bits_ > 0;
    if (cycle_.running) {
        // A command whose first bit came in during the cycle already cut it at that moment.
        const bool cutbycommand = phase_ == Phase::kCommand && bits_ > 0;
        resolvecycle(-1, cutbycommand ? cmdstart_ : clock_.now());
    }
    if (midcommand) {
        const int32_t code = phase_ == Phase::kCommand ? -1 : loadcode_;
        logevent(ChipEventKind::kIncompleteCommand, code, -1, pc_);
    }
    resetdecoder();
    logevent(ChipEventKind::kPowerOff, -1, -1, pc_);
}

void PicChip::resetdecoder() {
    phase_ = Phase::kCommand;
    bits_ = 0;
    rises_ = 0;
    shift_ = 0;
    driving_ = false;
    out_ = false;
}

// ---- decoder ----

void PicChip::onfalling() {
    switch (phase_) {
        case Phase::kCommand:
            if (bits_ == 0) cmdstart_ = clock_.now();
            if (dat_) shift_ |= 1 << bits_;
            if (++bits_ == kCommandBits) {
                const int32_t code = shift_;
                bits_ = 0;
                shift_ = 0;
                decode(code);
            }
            break;
        case Phase::kLoad:
            ++bits_;
            // Edge 1 is the start bit and edge 16 the stop bit; the chip ignores both.
            if (bits_ >= 2 && bits_ <= 15 && dat_) shift_ |= 1 << (bits_ - 2);
            if (bits_ == kWordClocks) finishload();
            break;
        case Phase::kRead:
            if (++bits_ == kWordClocks) resetdecoder();
            break;
    }
}

// The chip takes the DATA pin on the 2nd rising edge of a read and lets go after the 16th;
// bit i is valid from rising edge i + 2.
void PicChip::onrising() {
    if (phase_ != Phase::kRead) return;
    ++rises_;
    if (rises_ >= 2 && rises_ <= 15) {
        driving_ = true;
        out_ = ((readvalue_ >> (rises_ - 2)) & 1) != 0;
    } else if (rises_ >= kWordClocks) {
        driving_ = false;
        out_ = false;
    }
}

void PicChip::decode(int32_t code) {
    const int32_t pc = pc_;
    resolvecycle(code, cmdstart_);
    const CommandSpec& spec = family_.commands[static_cast<size_t>(code)];
    // Arming (09h/0Bh before a begin, 01h before 07h) holds only for the very next command.
    const Armed armed = std::exchange(armed_, Armed::kNone);
    switch (spec.action) {
        case ChipAction::kUnknown:
            // No data phase: clocks that the script means as data are taken as command bits.
            logevent(ChipEventKind::kUnknownCommand, code, -1, pc);
            return;
        case ChipAction::kLoadConfig:
        case ChipAction::kLoadProgram:
        case ChipAction::kLoadData:
            phase_ = Phase::kLoad;
            bits_ = 0;
            shift_ = 0;
            loadcode_ = code;
            loadpc_ = pc;
            return;  // logged with its data when the word is in
        case ChipAction::kReadProgram:
        case ChipAction::kReadData:
            readvalue_ = spec.action == ChipAction::kReadProgram ? readprogram() : readdata();
            phase_ = Phase::kRead;
            bits_ = 0;
            rises_ = 0;
            loadcode_ = code;
            if (logcommands_) logevent(ChipEventKind::kCommand, code, readvalue_, pc);
            return;
        case ChipAction::kIncrement:
            pc_ = pc_ < kConfigBase ? (pc_ + 1) & 0x1FFF : kConfigBase + ((pc_ + 1) & 0x1FFF);
            if (configlatch_ && family_.incrementdropsconfiglatch) {
                latch_.fill(0x3FFF);
                lastload_ = LoadKind::kNone;
                configlatch_ = false;
            }
            break;
        case ChipAction::kResetAddress:
            pc_ = 0;
            break;
        case ChipAction::kBeginEraseProgram:
        case ChipAction::kBeginProgram:
        case ChipAction::kBeginExternalEraseProgram:
        case ChipAction::kBeginExternalProgram:
            if (logcommands_) logevent(ChipEventKind::kCommand, code, -1, pc);
            begin(code, spec, armed);
            return;
        case ChipAction::kEndProgramming:
            // The cycle was settled above; a discharge time keeps the next command waiting.
            if (spec.codeus > 0) {
                startcycle("discharge after End Programming", spec.codeus, false);
                cycle_.discharge = true;
            }
            break;
        case ChipAction::kArmProgramErase:
            armed_ = Armed::kProgramErase;
            break;
        case ChipAction::kArmDataErase:
            armed_ = Armed::kDataErase;
            break;
        case ChipAction::kBulkSetup1:
            armed_ = Armed::kSetup1;
            break;
        case ChipAction::kBulkSetup2:
            if (armed == Armed::kSetup1) armed_ = Armed::kSetup2;
            break;
        case ChipAction::kBulkEraseProgram:
        case ChipAction::kBulkEraseData:
        case ChipAction::kChipErase:
            if (logcommands_) logevent(ChipEventKind::kCommand, code, -1, pc);
            bulkerase(code, spec);
            return;
    }
    if (logcommands_) logevent(ChipEventKind::kCommand, code, -1, pc);
}

void PicChip::finishload() {
    const int32_t value = shift_ & 0x3FFF;
    const ChipAction action = family_.commands[static_cast<size_t>(loadcode_)].action;
    if (action == ChipAction::kLoadData) {
        // Only the 8 bits after the start bit reach data memory.
        datalatch_ = value & 0xFF;
        lastload_ = LoadKind::kData;
    } else {
        if (action == ChipAction::kLoadConfig) pc_ = kConfigBase;
        latch_[static_cast<size_t>(pc_ & (family_.latchwords - 1))] = value;
        lastload_ = LoadKind::kProgram;
        configlatch_ = action == ChipAction::kLoadConfig;
    }
    if (logcommands_) logevent(ChipEventKind::kCommand, loadcode_, value, loadpc_);
    resetdecoder();
}

// ---- memory access ----

bool PicChip::codeprotected() const {
    return family_.cpmask != 0 && (config_[0] & family_.cpmask) != family_.cpmask;
}

bool PicChip::dataprotected() const {
    return family_.cpdmask != 0 && (config_[0] & family_.cpdmask) != family_.cpdmask;
}

int32_t PicChip::flashword(int32_t index) const {
    if (index < 0 || index >= family_.flashsize) return -1;
    return flash_[static_cast<size_t>(index)];
}

void PicChip::setflashword(int32_t index, int32_t value) {
    if (index < 0 || index >= family_.flashsize) return;
    flash_[static_cast<size_t>(index)] = value & 0x3FFF;
}

int32_t PicChip::eeprombyte(int32_t index) const {
    if (index < 0 || index >= family_.eepromsize) return -1;
    return eeprom_[static_cast<size_t>(index)];
}

void PicChip::seteeprombyte(int32_t index, int32_t value) {
    if (index < 0 || index >= family_.eepromsize) return;
    eeprom_[static_cast<size_t>(index)] = value & 0xFF;
}

int32_t PicChip::configword(int32_t address) const {
    if (address < kConfigBase || address > 0x3FFF) return -1;
    switch (address) {
        case 0x2000:
        case 0x2001:
        case 0x2002:
        case 0x2003:
            return ids_[static_cast<size_t>(address - kConfigBase)];
        case 0x2006:
            return (family_.deviceid | family_.revision) & 0x3FFF;
        case 0x2007:
            return config_[0];
        default:
            break;
    }
    if (address == 0x2008 && family_.configmask[1] != 0) return config_[1];
    if (const int32_t cal = calibrationindex(address); cal >= 0) {
        return calibration_[static_cast<size_t>(cal)];
    }
    // Reserved words and everything above: nothing documents them [U]; all ones.
    return 0x3FFF;
}

int32_t PicChip::calibrationindex(int32_t address) const {
    const int32_t index = address - family_.calibrationbase;
    if (family_.calibrationcount == 0 || index < 0 || index >= family_.calibrationcount) return -1;
    return index;
}

void PicChip::setconfigword(int32_t address, int32_t value) {
    if (address >= 0x2000 && address <= 0x2003) {
        ids_[static_cast<size_t>(address - kConfigBase)] = value & 0x3FFF;
    } else if (address == 0x2007 || (address == 0x2008 && family_.configmask[1] != 0)) {
        const int32_t index = address - 0x2007;
        config_[static_cast<size_t>(index)] = storedconfig(index, value);
    } else if (const int32_t cal = calibrationindex(address); cal >= 0) {
        calibration_[static_cast<size_t>(cal)] = value & 0x3FFF;
    }
}

int32_t PicChip::storedconfig(int32_t index, int32_t value) const {
    const int32_t mask = family_.configmask[static_cast<size_t>(index)];
    return (value & mask) | (family_.unimplementedfill & ~mask & 0x3FFF);
}

void PicChip::eraseall() {
    std::fill(flash_.begin(), flash_.end(), 0x3FFF);
    std::fill(eeprom_.begin(), eeprom_.end(), 0xFF);
    ids_.fill(0x3FFF);
    config_[0] = storedconfig(0, 0x3FFF);
    config_[1] = storedconfig(1, 0x3FFF);
}

void PicChip::setfactorycalibration() {
    if (family_.osccal >= 0) flash_.back() = family_.osccal & 0x3FFF;
    if (family_.bgmask != 0) {
        config_[0] = storedconfig(0, (config_[0] & ~family_.bgmask) | family_.bgfactory);
    }
    calibration_ = family_.calibration;
}

// ---- log ----

void PicChip::logevent(ChipEventKind kind, int32_t command, int32_t data, int32_t pc,
                       std::string text) {
    log_.push_back(ChipEvent{kind, clock_.now(), command, data, pc, std::move(text)});
}

int32_t PicChip::count(ChipEventKind kind) const {
    return static_cast<int32_t>(std::count_if(
        log_.begin(), log_.end(), [kind](const ChipEvent& e) { return e.kind == kind; }));
}

const ChipEvent* PicChip::last(ChipEventKind kind) const {
    for (auto it = log_.rbegin(); it != log_.rend(); ++it) {
        if (it->kind == kind) return &*it;
    }
    return nullptr;
}

}  // namespace qm
