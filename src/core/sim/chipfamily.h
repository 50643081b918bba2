#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The simulated chips' knowledge of each family. A fact marked [U] in this folder could not be
// confirmed from the programming specifications; the simulation then takes the reading under
// which a careless script fails (the longer time, the stricter latch, the erase that keeps less),
// so that a script it accepts does not rest on the doubtful fact.

// What a command code does on a family. Codes a family lacks are kUnknown.
enum class ChipAction : uint8_t {
    kUnknown,
    kLoadConfig,   // PC <- 2000h, the data word goes into the latch
    kLoadProgram,  // data word into the program-memory latch slot of the PC
    kLoadData,     // low 8 bits into the data-memory latch
    kReadProgram,
    kReadData,
    kIncrement,
    kResetAddress,               // PC <- 0 without leaving programming mode
    kBeginEraseProgram,          // internally timed: erase the target, then program the latch
    kBeginProgram,               // internally timed, program only: old AND new
    kBeginExternalEraseProgram,  // externally timed erase + program, ended by End Programming
    kBeginExternalProgram,       // externally timed program only, ended by End Programming
    kEndProgramming,
    kArmProgramErase,   // the next begin erases program memory (bulk erase that needs 08h)
    kArmDataErase,      // the next begin erases data memory
    kBulkEraseProgram,  // internally timed bulk erase of program memory
    kBulkEraseData,     // internally timed bulk erase of data memory
    kChipErase,
    kBulkSetup1,  // 01h, then 07h, then a begin: erase that also removes protection
    kBulkSetup2,
};

// A command's meaning and the time its erase/programming cycle needs, in microseconds, for a
// program-memory target, a data-memory target and a configuration-space target (0: as program
// memory). For externally timed commands the time is the minimum before End Programming; for
// End Programming it is the discharge time the next command must wait for.
struct CommandSpec {
    ChipAction action = ChipAction::kUnknown;
    int32_t codeus = 0;
    int32_t dataus = 0;
    int32_t configus = 0;
};

// The programming protocols the simulation knows. Parts of one protocol share commands, timings
// and erase behaviour; sizes, latch, configuration and calibration words are the part's own.
enum class FamilyKind : uint8_t {
    kGeneric,
    k84A,       // 16F84A
    k62x,       // 16F627/628
    k62xA,      // 16F627A/628A/648A
    k870,       // 16F870-877 (non-A)
    k87xA,      // 16F873A-877A
    k818,       // 16F818/819
    k8788,      // 16F87/88
    k716,       // 16F716
    k7x,        // 16F72-77, 16F737-777
    k629,       // 12F629/675, 16F630/676: OSCCAL at the last word, band-gap bits in 2007h
    kMidrange,  // 12F635/683, 16F631-690, 16F882-887, 16F913-946, 16F785
    k72x,       // 16F722-727, 16F722A/723A
    k615,       // 12F609/615/617, 16F610/616 and their HV parts
};

// Everything that differs between the simulated chips. A plain value: callers may adjust a
// family (sizes, masks) before building a chip from it.
struct ChipFamily {
    std::string name;  // part name without "PIC", e.g. "16F628A"; "generic" for unknown models
    FamilyKind kind = FamilyKind::kGeneric;
    int32_t flashsize = 0;   // words
    int32_t eepromsize = 0;  // bytes
    // 2006h reads deviceid | revision: the part's ID, with the revision bits clear, and a
    // revision in those bits.
    int32_t deviceid = 0x3FFF;
    int32_t revision = 0;
    // Implemented bits of CONFIG1 (2007h) and CONFIG2 (2008h); 0 for a word the chip lacks.
    std::array<int32_t, 2> configmask{0x3FFF, 0};
    // What unimplemented configuration bits read back: 0 or 3FFFh.
    int32_t unimplementedfill = 0;
    int32_t latchwords = 1;  // program-memory write latch, a power of two
    // CONFIG1 bits that must all be 1 for program (data) memory to be unprotected; 0 = none.
    int32_t cpmask = 0;
    int32_t cpdmask = 0;

    // Factory calibration. The last FLASH word holds an oscillator calibration word when
    // osccal >= 0; CONFIG1 holds factory bits under bgmask (band gap) with the value bgfactory.
    // Configuration space holds calibrationcount words from calibrationbase (2008h or 2009h).
    int32_t osccal = -1;
    int32_t bgmask = 0;
    int32_t bgfactory = 0;
    int32_t calibrationbase = 0;
    int32_t calibrationcount = 0;
    std::array<int32_t, 2> calibration{0x3FFF, 0x3FFF};

    // Bulk erase of program memory with the PC in configuration space also erases the
    // configuration words and the IDs; with the PC at a calibration word (calibrationbase or
    // above) the calibration words too.
    bool bulkerasereachesconfig = false;
    // Bulk erase of program memory with the PC in user memory erases the configuration word as
    // well (and so removes protection); otherwise it is refused on a protected chip.
    bool bulkeraseatzeroreachesconfig = false;
    // Bulk erase of program memory erases a protected program memory even with the PC in user
    // memory, and erases data memory too while that is protected.
    bool bulkeraseignoresprotection = false;
    // The arming bulk erases (09h, 0Bh before a begin) need the matching load first: Load Data
    // 3FFFh for program memory, Load Data for Data Memory for data memory.
    bool armederaseneedsload = false;
    // The 01h/07h erase works only with the PC in configuration space.
    bool setuperaseneedsconfig = false;
    // With the PC in user memory, the 01h/07h erase erases the memory of the last load (program
    // or data) and is refused on a protected one; in configuration space it erases program
    // memory and the configuration word.
    bool setuperasefollowsload = false;
    // The word loaded by Load Configuration is lost at the next Increment; only Load Data puts
    // a word in the latch that a begin command at 2007h writes.
    bool incrementdropsconfiglatch = false;
    // An erase + program begin on program memory erases this many words around the PC first
    // (a row); 0: only the latch block it programs.
    int32_t rowerasewords = 0;

    // Time of the erase that a begin command runs after an arming command (09h, 0Bh), and after
    // the 01h/07h setup.
    int32_t armederaseus = 0;
    int32_t setuperaseus = 0;
    std::array<CommandSpec, 64> commands{};
};

// The simulated chip for a model name such as "PIC16F628A" or "16f628a" (case does not matter,
// "PIC" is optional, blanks around the name are ignored). A known part keeps its own sizes, as a
// real chip would whatever the device file says; any other name gets a generic chip with the
// 16F84A's commands and timings and the given sizes.
ChipFamily chipfamilyformodel(std::string_view name, int32_t flashsize, int32_t eepromsize);

// The names chipfamilyformodel recognises, in the order of the parts table, for help texts and
// tests.
const std::vector<std::string_view>& knownchipnames();

// Whether chipfamilyformodel recognises the name (in any of the forms it accepts).
bool knownchipname(std::string_view name);

// The name that puts no chip in the simulated socket.
inline constexpr std::string_view kEmptySocket = "none";

// The protocol's commands and erase behaviour for a family (chipfamily.cpp); the parts table
// (chipparts.cpp) adds each part's sizes, ID, configuration and calibration words.
ChipFamily protocolfamily(FamilyKind kind);

}  // namespace qm
