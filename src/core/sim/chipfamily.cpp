// The programming protocols of the simulated chips: what each command code does on a family,
// how long its cycles take and what the erases reach. Where the programming facts leave a choice
// open, the family takes the one under which a careless script fails; those choices are marked.
#include "sim/chipfamily.h"

#include <iterator>

namespace qm {

namespace {

constexpr int32_t kMs = 1000;

void set(ChipFamily& f, int32_t code, ChipAction action, int32_t codeus = 0, int32_t dataus = 0,
         int32_t configus = 0) {
    f.commands[static_cast<size_t>(code)] = {action, codeus, dataus, configus};
}

// Load Configuration, Load Data, Read Data and Increment; every family has them. Families
// without data memory lack 03h and 05h.
void setcommon(ChipFamily& f, bool datamemory) {
    set(f, 0x00, ChipAction::kLoadConfig);
    set(f, 0x02, ChipAction::kLoadProgram);
    set(f, 0x04, ChipAction::kReadProgram);
    set(f, 0x06, ChipAction::kIncrement);
    if (datamemory) {
        set(f, 0x03, ChipAction::kLoadData);
        set(f, 0x05, ChipAction::kReadData);
    }
}

void family84a(ChipFamily& f) {
    setcommon(f, true);
    // Code protection is the ten bits 13:4 together. Any one of them cleared counts as
    // protected: the conservative reading [U].
    f.cpmask = 0x3FF0;
    f.armederaseus = 10 * kMs;
    f.setuperaseus = 10 * kMs;
    set(f, 0x08, ChipAction::kBeginEraseProgram, 8 * kMs, 8 * kMs);
    // Begin Programming Only (18h) is listed for this part only as unconfirmed [U]: it is
    // unknown here, so only 08h writes, as every programmer of this part does it.
    set(f, 0x09, ChipAction::kArmProgramErase);
    set(f, 0x0B, ChipAction::kArmDataErase);
    set(f, 0x01, ChipAction::kBulkSetup1);
    set(f, 0x07, ChipAction::kBulkSetup2);
}

// 16F627/628: like the 16F84A in its commands, with longer cycles.
void family62x(ChipFamily& f) {
    setcommon(f, true);
    f.cpmask = 0x3C00;  // CP bits 13:10, two pairs
    f.cpdmask = 0x0100;
    // The bulk erases need Load Data 3FFFh (Load Data for Data Memory) first, as documented.
    f.armederaseneedsload = true;
    // Only the sequence at 2007h is documented; from user memory it does nothing here [U].
    f.setuperaseneedsconfig = true;
    // 5-10 ms for the bulk erases and at least 15 ms for the 01h/07h erase: the upper ends.
    f.armederaseus = 10 * kMs;
    f.setuperaseus = 15 * kMs;
    // 08h erases and programs: 5 ms erase plus 8 ms programming.
    set(f, 0x08, ChipAction::kBeginEraseProgram, 13 * kMs, 13 * kMs);
    set(f, 0x18, ChipAction::kBeginProgram, 8 * kMs, 8 * kMs);
    set(f, 0x09, ChipAction::kArmProgramErase);
    set(f, 0x0B, ChipAction::kArmDataErase);
    set(f, 0x01, ChipAction::kBulkSetup1);
    set(f, 0x07, ChipAction::kBulkSetup2);
}

void family62xa(ChipFamily& f) {
    setcommon(f, true);
    // CP bit 13 and CPD bit 8 as the data sheets place them [U for the simulation].
    f.cpmask = 0x2000;
    f.cpdmask = 0x0100;
    f.bulkerasereachesconfig = true;
    // The word Load Configuration brings is not trusted to survive the Increments to 2007h [U].
    f.incrementdropsconfiglatch = true;
    set(f, 0x08, ChipAction::kBeginProgram, 4 * kMs, 6 * kMs);
    set(f, 0x09, ChipAction::kBulkEraseProgram, 6 * kMs, 6 * kMs);
    set(f, 0x0B, ChipAction::kBulkEraseData, 6 * kMs, 6 * kMs);
}

// 16F870-877 (non-A): no bulk erase commands; 01h/07h with a begin erase the memory of the
// last load, or at 2007h program memory and the configuration word.
void family870(ChipFamily& f) {
    setcommon(f, true);
    f.cpmask = 0x3030;  // CP1:CP0 in two copies, 13:12 and 5:4
    f.cpdmask = 0x0100;
    f.setuperasefollowsload = true;
    f.setuperaseus = 8 * kMs;
    set(f, 0x08, ChipAction::kBeginEraseProgram, 8 * kMs, 8 * kMs);  // 4 ms erase + 4 ms write
    set(f, 0x18, ChipAction::kBeginProgram, 4 * kMs, 4 * kMs);
    set(f, 0x01, ChipAction::kBulkSetup1);
    set(f, 0x07, ChipAction::kBulkSetup2);
}

void family87xa(ChipFamily& f) {
    setcommon(f, true);
    f.cpmask = 0x2000;  // [U] as on the 62xA
    f.cpdmask = 0x0100;
    // The erase/program cycle is documented as 4 ms, yet every surveyed programmer waits at
    // least 8 ms for it; the simulated chip asks for 8 ms so that no script relies on less.
    set(f, 0x08, ChipAction::kBeginEraseProgram, 8 * kMs, 8 * kMs);
    // Data memory through 18h is not documented [U]: program only, like code.
    set(f, 0x18, ChipAction::kBeginExternalProgram, 1 * kMs, 1 * kMs);
    // Two other programmers pause 100 us after 17h; the chip asks for that pause [U].
    set(f, 0x17, ChipAction::kEndProgramming, 100, 100);
    set(f, 0x09, ChipAction::kBulkEraseProgram, 10 * kMs, 10 * kMs);
    set(f, 0x0B, ChipAction::kBulkEraseData, 10 * kMs, 10 * kMs);
    set(f, 0x1F, ChipAction::kChipErase, 15 * kMs, 15 * kMs);  // 8-15 ms: the upper end
}

// 16F818/819: everything externally timed and ended by 17h.
void family818(ChipFamily& f) {
    setcommon(f, true);
    f.cpmask = 0x2000;
    f.cpdmask = 0x0100;
    // Whether 09h/0Bh erase on their own or need the following 08h ... 17h cycle is open [U]:
    // here they only arm it, so a script that sends 09h and waits erases nothing.
    f.armederaseus = 2 * kMs;
    // What 08h erases before it programs is open [U]: here the 32-word row around the PC, so a
    // script that programs block after block with 08h loses every block but the last of a row.
    f.rowerasewords = 32;
    set(f, 0x08, ChipAction::kBeginExternalEraseProgram, 1 * kMs, 2 * kMs);
    // Data memory gets the 2 ms every programmer waits rather than the 1 ms of code [U].
    set(f, 0x18, ChipAction::kBeginExternalProgram, 1 * kMs, 2 * kMs);
    // 100 us after 17h, as two other programmers pause [U].
    set(f, 0x17, ChipAction::kEndProgramming, 100, 100);
    set(f, 0x09, ChipAction::kArmProgramErase);
    set(f, 0x0B, ChipAction::kArmDataErase);
    set(f, 0x1F, ChipAction::kChipErase, 8 * kMs, 8 * kMs);
}

void family8788(ChipFamily& f) {
    setcommon(f, true);
    f.cpmask = 0x2000;  // [U] as on the 62xA
    f.cpdmask = 0x0100;
    // What 08h does on its own is not documented [U]. The conservative reading: an externally
    // timed erase + program that must be ended by 17h and needs the 2 ms the safe scripts wait.
    set(f, 0x08, ChipAction::kBeginExternalEraseProgram, 2 * kMs, 2 * kMs);
    // Data memory gets the 2 ms the safe scripts wait rather than the 1 ms of code [U].
    set(f, 0x18, ChipAction::kBeginExternalProgram, 1 * kMs, 2 * kMs);
    // 100 us after 17h, as two other programmers pause [U].
    set(f, 0x17, ChipAction::kEndProgramming, 100, 100);
    set(f, 0x09, ChipAction::kBulkEraseProgram, 10 * kMs, 10 * kMs);
    set(f, 0x0B, ChipAction::kBulkEraseData, 10 * kMs, 10 * kMs);
    set(f, 0x1F, ChipAction::kChipErase, 10 * kMs, 10 * kMs);
}

// 16F716: no data memory; 18h ... 0Eh, and a bulk erase.
void family716(ChipFamily& f) {
    setcommon(f, false);
    f.cpmask = 0x2000;
    // Whether 09h at PC 0 also clears 2007h is open [U]: it does not, and it is refused on a
    // protected chip, so only the erase after Load Configuration resets the configuration.
    f.bulkerasereachesconfig = true;
    set(f, 0x18, ChipAction::kBeginExternalProgram, 2 * kMs, 2 * kMs);
    set(f, 0x0E, ChipAction::kEndProgramming, 100, 100);  // TDIS
    set(f, 0x09, ChipAction::kBulkEraseProgram, 6 * kMs, 6 * kMs);
}

// 16F72-77 and 16F737-777: no data memory; 08h is the externally timed program command, ended
// by 0Eh; a 30 ms bulk erase that also removes protection.
void family7x(ChipFamily& f) {
    setcommon(f, false);
    f.bulkerasereachesconfig = true;
    f.bulkeraseatzeroreachesconfig = true;
    // The word Load Configuration brings is not trusted to survive the Increments to 2007h [U].
    f.incrementdropsconfiglatch = true;
    set(f, 0x08, ChipAction::kBeginExternalProgram, 1 * kMs, 1 * kMs);
    // The discharge time after 0Eh is given for the 16F716 only; it applies here as well [U].
    set(f, 0x0E, ChipAction::kEndProgramming, 100, 100);
    set(f, 0x09, ChipAction::kBulkEraseProgram, 30 * kMs, 30 * kMs);
}

// 12F629/675, 16F630/676. Load Configuration + 09h erases program memory with the OSCCAL word,
// the configuration word with its band-gap bits, and the IDs; 09h at PC 0 erases program memory
// with the OSCCAL word ([U] whether it spares it: it does not).
void family629(ChipFamily& f) {
    setcommon(f, true);
    f.cpmask = 0x0080;  // CP bit 7, CPD bit 8 [U]
    f.cpdmask = 0x0100;
    f.bulkerasereachesconfig = true;
    set(f, 0x08, ChipAction::kBeginProgram, 3 * kMs, 6 * kMs);
    set(f, 0x18, ChipAction::kBeginExternalProgram, 2 * kMs, 2 * kMs);
    // The discharge time is 0.5 us; the simulated clock counts whole microseconds.
    set(f, 0x0A, ChipAction::kEndProgramming, 1, 1);
    set(f, 0x09, ChipAction::kBulkEraseProgram, 6 * kMs, 6 * kMs);
    set(f, 0x0B, ChipAction::kBulkEraseData, 6 * kMs, 6 * kMs);
}

// The DS41204 protocol, which the 16F88x, 16F91x and 16F785 share: internally timed 08h,
// externally timed 18h ... 0Ah, internally timed bulk erases. Load Configuration + 09h erases
// program memory, the IDs and the configuration words, not the calibration words; 09h with the
// PC at a calibration word erases those too. The longest time of the parts is required of all:
// 3 ms for 08h (2.5 ms on the 16F785) and 18h (2.5 ms on the 16F88x).
void familymidrange(ChipFamily& f) {
    setcommon(f, true);
    f.cpmask = 0x0040;  // CP bit 6, CPD bit 7
    f.cpdmask = 0x0080;
    f.bulkerasereachesconfig = true;
    set(f, 0x08, ChipAction::kBeginProgram, 3 * kMs, 6 * kMs);
    set(f, 0x18, ChipAction::kBeginExternalProgram, 3 * kMs, 3 * kMs);
    set(f, 0x0A, ChipAction::kEndProgramming, 100, 100);
    set(f, 0x09, ChipAction::kBulkEraseProgram, 6 * kMs, 6 * kMs);
    set(f, 0x0B, ChipAction::kBulkEraseData, 6 * kMs, 6 * kMs);
}

// 16F722-727: no data memory; configuration words need 5 ms; 16h returns the PC to 0.
void family72x(ChipFamily& f) {
    setcommon(f, false);
    f.cpmask = 0x0040;  // CP bit 6 [U]
    f.bulkerasereachesconfig = true;
    set(f, 0x08, ChipAction::kBeginProgram, 2500, 2500, 5 * kMs);
    set(f, 0x18, ChipAction::kBeginExternalProgram, 2100, 2100, 2100);
    set(f, 0x0A, ChipAction::kEndProgramming, 100, 100);
    set(f, 0x09, ChipAction::kBulkEraseProgram, 5 * kMs, 5 * kMs);
    set(f, 0x16, ChipAction::kResetAddress);
}

// 12F609/615/617, 16F610/616: no data memory; only 18h ... 0Ah writes (08h is not listed for
// this family [U]: unknown here).
void family615(ChipFamily& f) {
    setcommon(f, false);
    f.cpmask = 0x0040;  // CP bit 6
    f.bulkerasereachesconfig = true;
    set(f, 0x18, ChipAction::kBeginExternalProgram, 3 * kMs, 3 * kMs);
    set(f, 0x0A, ChipAction::kEndProgramming, 100, 100);
    set(f, 0x09, ChipAction::kBulkEraseProgram, 6 * kMs, 6 * kMs);
}

}  // namespace

ChipFamily protocolfamily(FamilyKind kind) {
    // Indexed by FamilyKind; the generic chip has the 16F84A's protocol.
    static constexpr void (*kBuilders[])(ChipFamily&) = {
        family84a,  family84a, family62x, family62xa, family870,      family87xa, family818,
        family8788, family716, family7x,  family629,  familymidrange, family72x,  family615,
    };
    static_assert(std::size(kBuilders) == size_t(FamilyKind::k615) + 1);
    ChipFamily f;
    f.kind = kind;
    kBuilders[size_t(kind)](f);
    return f;
}

}  // namespace qm
