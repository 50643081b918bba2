// Erase/programming cycles of the simulated chip: what each begin or erase command writes, the
// undo record that lets a cycle cut short leave memory as it was, and the timing check.
#include <string>

#include "sim/picchip.h"
#include "text/hextext.h"

namespace qm {

namespace {

constexpr int32_t kConfigBase = 0x2000;

bool isexternal(ChipAction action) {
    return action == ChipAction::kBeginExternalEraseProgram ||
           action == ChipAction::kBeginExternalProgram;
}

bool isprogramonly(ChipAction action) {
    return action == ChipAction::kBeginProgram || action == ChipAction::kBeginExternalProgram;
}

}  // namespace

// Settles the running cycle when a command starts (its first falling CLOCK edge, `at`) or the
// power goes (code -1). A cycle cut short keeps nothing it wrote: every location goes back to
// its old contents. That is the conservative outcome: whatever the cycle was meant to change
// is visibly unchanged, so a verify catches it.
void PicChip::resolvecycle(int32_t code, std::chrono::microseconds at) {
    if (!cycle_.running) return;
    if (cycle_.discharge && code < 0) {
        // Switching off right after End Programming cuts nothing.
        cycle_.running = false;
        cycle_.discharge = false;
        return;
    }
    const std::chrono::microseconds elapsed = at - cycle_.start;
    const bool timeup = elapsed.count() >= cycle_.requiredus;
    const bool isend = code >= 0 && family_.commands[static_cast<size_t>(code)].action ==
                                        ChipAction::kEndProgramming;
    const std::string who = code < 0 ? std::string("power off") : "command " + hexbyteh(code);
    const std::string when = who + " at " + formatms(elapsed) + " ms into ";
    const std::string where = " cycle at " + hexwordh(cycle_.pc);
    std::string why;
    if (cycle_.external && !isend) {
        // Externally timed: only End Programming ends it, however long it has run.
        why = when + "an externally timed " + cycle_.kind + where +
              ", which only End Programming ends";
    } else if (!timeup) {
        why = when + "a " + formatms(std::chrono::microseconds(cycle_.requiredus)) + " ms " +
              cycle_.kind + where;
    }
    cycle_.running = false;
    cycle_.discharge = false;
    if (!why.empty()) {
        for (auto it = undo_.rbegin(); it != undo_.rend(); ++it) {
            switch (it->space) {
                case Space::kFlash:
                    flash_[static_cast<size_t>(it->index)] = it->old;
                    break;
                case Space::kEeprom:
                    eeprom_[static_cast<size_t>(it->index)] = it->old;
                    break;
                case Space::kIds:
                    ids_[static_cast<size_t>(it->index)] = it->old;
                    break;
                case Space::kConfig:
                    config_[static_cast<size_t>(it->index)] = it->old;
                    break;
                case Space::kCalibration:
                    calibration_[static_cast<size_t>(it->index)] = it->old;
                    break;
            }
        }
        log_.push_back(
            ChipEvent{ChipEventKind::kViolation, clock_.now(), code, -1, cycle_.pc, why});
    }
    undo_.clear();
}

void PicChip::startcycle(const char* kind, int32_t requiredus, bool external) {
    cycle_.running = true;
    cycle_.external = external;
    cycle_.start = clock_.now();
    cycle_.requiredus = requiredus;
    cycle_.pc = pc_;
    cycle_.kind = kind;
    cycle_.discharge = false;
}

void PicChip::begin(int32_t code, const CommandSpec& spec, Armed armed) {
    undo_.clear();
    const bool armederasing =
        armed == Armed::kProgramErase || armed == Armed::kDataErase || armed == Armed::kSetup2;
    if (armederasing && (spec.action == ChipAction::kBeginEraseProgram ||
                         spec.action == ChipAction::kBeginExternalEraseProgram)) {
        armederase(code, spec, armed);
        return;
    }
    // A load must come before every begin command; without one nothing is written.
    if (lastload_ == LoadKind::kNone) {
        ignore(code, "begin programming without a load");
        return;
    }
    const bool programonly = isprogramonly(spec.action);
    const bool data = lastload_ == LoadKind::kData;
    if (data) {
        if (family_.eepromsize == 0) {
            ignore(code, "no data memory");
        } else if (dataprotected()) {
            ignore(code, "write to protected data memory");
        } else {
            const int32_t index = pc_ % family_.eepromsize;
            const int32_t old = eeprom_[static_cast<size_t>(index)];
            write(Space::kEeprom, index, programonly ? (old & datalatch_) : datalatch_);
        }
    } else {
        writelatch(code, programonly);
    }
    // Unloaded latch slots are all ones again: with an erase they erase their word, without one
    // they leave it alone [U].
    latch_.fill(0x3FFF);
    datalatch_ = 0xFF;
    lastload_ = LoadKind::kNone;
    configlatch_ = false;
    const int32_t configus = spec.configus > 0 ? spec.configus : spec.codeus;
    startcycle("programming", data ? spec.dataus : (pc_ >= kConfigBase ? configus : spec.codeus),
               isexternal(spec.action));
}

// A begin command after 09h, 0Bh or 01h + 07h: the erase they armed, timed as the family's
// erase, internally or (for an externally timed begin) until End Programming.
void PicChip::armederase(int32_t code, const CommandSpec& spec, Armed armed) {
    if (armed == Armed::kProgramErase) {
        const bool preloaded =
            lastload_ == LoadKind::kProgram &&
            latch_[static_cast<size_t>(pc_ & (family_.latchwords - 1))] == 0x3FFF;
        // Whether this also clears the configuration word is not documented [U]: it does not,
        // so only the protected-erase sequence resets the configuration.
        if (family_.armederaseneedsload && !preloaded) {
            ignore(code, "bulk erase of program memory without Load Data 3FFFh");
        } else if (codeprotected()) {
            ignore(code, "bulk erase of protected program memory");
        } else {
            eraseprogram();
        }
    } else if (armed == Armed::kDataErase) {
        if (family_.armederaseneedsload && lastload_ != LoadKind::kData) {
            ignore(code, "bulk erase of data memory without Load Data for Data Memory");
        } else if (dataprotected()) {
            ignore(code, "bulk erase of protected data memory");
        } else {
            erasedata();
        }
    } else {
        setuperase(code);
    }
    latch_.fill(0x3FFF);
    lastload_ = LoadKind::kNone;
    configlatch_ = false;
    const bool external = isexternal(spec.action);
    startcycle("bulk erase", armed == Armed::kSetup2 ? family_.setuperaseus : family_.armederaseus,
               external);
}

// 01h, 07h, begin: the erase that removes protection.
void PicChip::setuperase(int32_t code) {
    if (pc_ >= kConfigBase) {
        // Program memory and the configuration word. Data memory is left alone [U]: scripts
        // must follow with the data erase.
        eraseprogram();
        eraseconfig();
    } else if (family_.setuperaseneedsconfig) {
        ignore(code, "bulk erase setup outside configuration space");
    } else if (family_.setuperasefollowsload) {
        if (lastload_ == LoadKind::kData) {
            if (dataprotected()) {
                ignore(code, "bulk erase of protected data memory");
            } else {
                erasedata();
            }
        } else if (lastload_ == LoadKind::kProgram) {
            if (codeprotected()) {
                ignore(code, "bulk erase of protected program memory");
            } else {
                eraseprogram();
            }
        } else {
            ignore(code, "bulk erase setup without a load");
        }
    } else {
        // The configuration word goes only when the PC is in configuration space, and data
        // memory is left alone [U].
        eraseprogram();
    }
}

// Program memory takes the whole latch block that holds the PC; configuration space takes the one
// word at the PC.
void PicChip::writelatch(int32_t code, bool programonly) {
    const int32_t slotmask = family_.latchwords - 1;
    if (pc_ >= kConfigBase) {
        const int32_t value = latch_[static_cast<size_t>(pc_ & slotmask)];
        if (pc_ <= 0x2003) {
            const int32_t index = pc_ - kConfigBase;
            const int32_t old = ids_[static_cast<size_t>(index)];
            write(Space::kIds, index, programonly ? (old & value) : value);
        } else if (pc_ == 0x2007 || (pc_ == 0x2008 && family_.configmask[1] != 0)) {
            const int32_t index = pc_ - 0x2007;
            const int32_t old = config_[static_cast<size_t>(index)];
            write(Space::kConfig, index, storedconfig(index, programonly ? (old & value) : value));
        } else if (const int32_t cal = calibrationindex(pc_); cal >= 0) {
            const int32_t old = calibration_[static_cast<size_t>(cal)];
            write(Space::kCalibration, cal, programonly ? (old & value) : value);
        } else {
            ignore(code, "no writable location at the PC");
        }
        return;
    }
    if (codeprotected()) {
        ignore(code, "write to protected program memory");
        return;
    }
    const int32_t base = (pc_ % family_.flashsize) & ~slotmask;
    if (!programonly && family_.rowerasewords > 0) {
        const int32_t row = (pc_ % family_.flashsize) & ~(family_.rowerasewords - 1);
        for (int32_t i = row; i < row + family_.rowerasewords && i < family_.flashsize; ++i)
            write(Space::kFlash, i, 0x3FFF);
    }
    for (int32_t slot = 0; slot <= slotmask && base + slot < family_.flashsize; ++slot) {
        const int32_t value = latch_[static_cast<size_t>(slot)];
        const int32_t old = flash_[static_cast<size_t>(base + slot)];
        write(Space::kFlash, base + slot, programonly ? (old & value) : value);
    }
}

void PicChip::bulkerase(int32_t code, const CommandSpec& spec) {
    undo_.clear();
    switch (spec.action) {
        case ChipAction::kBulkEraseProgram: {
            const bool dataprotectedbefore = dataprotected();
            if (pc_ >= kConfigBase && family_.bulkerasereachesconfig) {
                eraseprogram();
                eraseconfig();
                eraseids();
                if (family_.calibrationcount > 0 && pc_ >= family_.calibrationbase)
                    erasecalibration();
            } else if (family_.bulkeraseatzeroreachesconfig) {
                eraseprogram();
                eraseconfig();
            } else if (codeprotected() && !family_.bulkeraseignoresprotection) {
                // Only the erase that reaches the configuration word lifts protection [U].
                ignore(code, "bulk erase of protected program memory");
            } else {
                eraseprogram();
            }
            if (family_.bulkeraseignoresprotection && dataprotectedbefore) erasedata();
            startcycle("bulk erase", spec.codeus, false);
            break;
        }
        case ChipAction::kBulkEraseData:
            if (dataprotected()) {
                ignore(code, "bulk erase of protected data memory");
            } else {
                erasedata();
            }
            startcycle("bulk erase", spec.dataus, false);
            break;
        default:  // chip erase: works on a protected chip; IDs only from configuration space
            eraseprogram();
            erasedata();
            eraseconfig();
            if (pc_ >= kConfigBase) eraseids();
            startcycle("chip erase", spec.codeus, false);
            break;
    }
}

void PicChip::write(Space space, int32_t index, int32_t value) {
    int32_t* cell = nullptr;
    switch (space) {
        case Space::kFlash:
            cell = &flash_[static_cast<size_t>(index)];
            break;
        case Space::kEeprom:
            cell = &eeprom_[static_cast<size_t>(index)];
            break;
        case Space::kIds:
            cell = &ids_[static_cast<size_t>(index)];
            break;
        case Space::kConfig:
            cell = &config_[static_cast<size_t>(index)];
            break;
        case Space::kCalibration:
            cell = &calibration_[static_cast<size_t>(index)];
            break;
    }
    if (*cell == value) return;
    undo_.push_back(Undo{space, index, *cell});
    *cell = value;
}

int32_t PicChip::readprogram() const {
    if (pc_ >= kConfigBase) return configword(pc_);
    // Protected program memory reads as 0.
    if (codeprotected()) return 0;
    return flash_[static_cast<size_t>(pc_ % family_.flashsize)];
}

// Bits 8-13 of a data read carry nothing documented; the chip sends 0 there.
int32_t PicChip::readdata() const {
    if (family_.eepromsize == 0 || dataprotected()) return 0;
    return eeprom_[static_cast<size_t>(pc_ % family_.eepromsize)];
}

void PicChip::eraseprogram() {
    for (int32_t i = 0; i < family_.flashsize; ++i) write(Space::kFlash, i, 0x3FFF);
}

void PicChip::erasedata() {
    for (int32_t i = 0; i < family_.eepromsize; ++i) write(Space::kEeprom, i, 0xFF);
}

void PicChip::eraseconfig() {
    write(Space::kConfig, 0, storedconfig(0, 0x3FFF));
    if (family_.configmask[1] != 0) write(Space::kConfig, 1, storedconfig(1, 0x3FFF));
}

void PicChip::eraseids() {
    for (int32_t i = 0; i < 4; ++i) write(Space::kIds, i, 0x3FFF);
}

void PicChip::erasecalibration() {
    for (int32_t i = 0; i < family_.calibrationcount; ++i) write(Space::kCalibration, i, 0x3FFF);
}

void PicChip::ignore(int32_t code, const char* why) {
    log_.push_back(ChipEvent{ChipEventKind::kIgnored, clock_.now(), code, -1, pc_, why});
}

}  // namespace qm
