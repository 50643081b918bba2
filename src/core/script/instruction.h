#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// What one script instruction does, in the order the interpreter tries the rules.
enum class Opcode : uint8_t {
    Begin,
    End,
    CalcFlash,
    CalcFlashPage,
    CalcEeprom,
    SetFlashLoop,
    SetEepromLoop,
    Loop,
    IfPage,
    EndIfPage,
    SendFlash,    // sXX-flash
    SendEeprom,   // sXX-eeprom
    SendConfig1,  // sXX-config1
    SendConfig2,  // sXX-config2
    ReadFlash,    // flash=sXX
    ReadEeprom,   // eeprom=sXX
    ReadConfig1,  // config1=sXX
    ReadConfig2,  // config2=sXX
    ReadTemp,     // temp=sXX
    CheckBlankFlash,
    CheckBlankEeprom,
    CheckBlankConfig1,
    CheckBlankConfig2,
    CheckFlash,
    CheckEeprom,
    CheckConfig1,
    CheckConfig2,
    SendCmdData,  // sXX-YYYY
    SendCmd,      // sXX
    WaitProg,     // wprog
    Wait,         // w<number>
    // Only in the script kinds the device file adds (identify, calibration read and write):
    ReadCal,     // calN=sXX: a word into calibration register N
    SendCal,     // sXX-calN: calibration register N as data
    SendRepeat,  // sXX*N: command XX, N times
    Unrecognized,
};

// Which instructions a script may use: the original language of the five operations, or that
// language with the instructions of the added script kinds.
enum class ScriptLanguage : uint8_t { Original, Extended };

// Calibration registers cal1..cal8.
inline constexpr int32_t kCalRegisters = 8;
// The most repeats sXX*N takes: one walk through the largest program memory.
inline constexpr int32_t kMaxRepeat = 0x3FFF;

// One instruction decoded once per run, so loops over thousands of words do not match texts
// again on every pass.
struct Instruction {
    Opcode op = Opcode::Unrecognized;
    int32_t command = -1;  // XX, -1 when not two hex digits
    // YYYY (-1 when invalid), the wait in ms for Wait, the register (1..8) for ReadCal and
    // SendCal, the count for SendRepeat.
    int32_t data = -1;
    // Loop heads: index (from 0) of the first "loop" at or after this one; IfPage: of the first
    // "endifpage". -1 when there is none.
    int32_t target = -1;
};

Instruction decodeinstruction(std::string_view text,
                              ScriptLanguage language = ScriptLanguage::Original);

// Decodes a whole list and fills in the loop and page-block targets.
std::vector<Instruction> decodeprogram(const std::vector<std::string>& steps,
                                       ScriptLanguage language = ScriptLanguage::Original);

}  // namespace qm
