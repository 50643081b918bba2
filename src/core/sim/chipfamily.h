#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// What a command code does on a family. Codes a family lacks are kUnknown.
enum class ChipAction : uint8_t {
    kUnknown,
    kLoadConfig,   // PC <- 2000h, the data word goes into the latch
    kLoadProgram,  // data word into the program-memory latch slot of the PC
    kLoadData,     // low 8 bits into the data-memory latch
    kReadProgram,
    kReadData,
    kIncrement,
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
// program-memory (or configuration) target and for a data-memory target. For externally timed
// commands the time is the minimum before End Programming.
struct CommandSpec {
    ChipAction action = ChipAction::kUnknown;
    int32_t codeus = 0;
    int32_t dataus = 0;
};

enum class FamilyKind : uint8_t { kGeneric, k84A, k62xA, k87xA, k8788 };

// Everything that differs between the simulated chips. A plain value: callers may adjust a
// family (sizes, masks) before building a chip from it.
struct ChipFamily {
    std::string name;  // part name without "PIC", e.g. "16F628A"; "generic" for unknown models
    FamilyKind kind = FamilyKind::kGeneric;
    int32_t flashsize = 0;      // words
    int32_t eepromsize = 0;     // bytes
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
    // Bulk erase of program memory with the PC in configuration space also erases the
    // configuration words and the IDs.
    bool bulkerasereachesconfig = false;
    // Time of the erase that a begin command runs after an arming command (09h, 0Bh, 01h+07h).
    int32_t armederaseus = 0;
    std::array<CommandSpec, 64> commands{};
};

// The simulated chip for a model name such as "PIC16F628A" or "16f628a" (case does not matter,
// "PIC" is optional, blanks around the name are ignored). A known part keeps its own sizes, as a
// real chip would whatever the device file says; any other name gets a generic chip with the
// 16F84A's commands and timings and the given sizes.
ChipFamily chipfamilyformodel(std::string_view name, int32_t flashsize, int32_t eepromsize);

// The names chipfamilyformodel recognises, for help texts and tests.
const std::array<std::string_view, 10>& knownchipnames();

// Whether chipfamilyformodel recognises the name (in any of the forms it accepts).
bool knownchipname(std::string_view name);

// The name that puts no chip in the simulated socket.
inline constexpr std::string_view kEmptySocket = "none";

}  // namespace qm
