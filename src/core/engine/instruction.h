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
    Unrecognized,
};

// One instruction decoded once per run, so loops over thousands of words do not match texts
// again on every pass.
struct Instruction {
    Opcode op = Opcode::Unrecognized;
    int32_t command = -1;  // XX, -1 when not two hex digits
    int32_t data = -1;     // YYYY (-1 when invalid), or the wait in ms for Wait
    // Loop heads: index (from 0) of the first "loop" at or after this one; IfPage: of the first
    // "endifpage". -1 when there is none.
    int32_t target = -1;
};

Instruction decodeinstruction(std::string_view text);

// Decodes a whole list and fills in the loop and page-block targets.
std::vector<Instruction> decodeprogram(const std::vector<std::string>& steps);

}  // namespace qm
