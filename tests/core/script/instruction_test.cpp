#include "script/instruction.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

struct Case {
    const char* text;
    Opcode op;
    int32_t command;
    int32_t data;
};

// Arguments sit at fixed places; anything else there must parse as -1, never as a neighbour's
// digits.
TEST(DecodeInstruction, ArgumentsAtTheirPlaces) {
    const Case cases[] = {
        {"s0b", Opcode::SendCmd, 0x0B, -1},
        {"s06", Opcode::SendCmd, 0x06, -1},
        {"sxy", Opcode::SendCmd, -1, -1},
        {"s02-3fff", Opcode::SendCmdData, 0x02, 0x3FFF},
        {"s02-4000", Opcode::SendCmdData, 0x02, 0x4000},
        {"s02-3ffg", Opcode::SendCmdData, 0x02, -1},
        {"s02-flash", Opcode::SendFlash, 0x02, -1},
        {"s2-flash", Opcode::SendFlash, -1, -1},
        {"s0-flash", Opcode::SendFlash, -1, -1},  // 8 characters, but rule 11 comes first
        {"s03-eeprom", Opcode::SendEeprom, 0x03, -1},
        {"s02-config1", Opcode::SendConfig1, 0x02, -1},
        {"s1f-config2", Opcode::SendConfig2, 0x1F, -1},
        {"flash=s04", Opcode::ReadFlash, 0x04, -1},
        {"flash=s4", Opcode::ReadFlash, -1, -1},
        {"flash=s", Opcode::ReadFlash, -1, -1},
        {"flash=s04x", Opcode::ReadFlash, 0x04, -1},
        {"eeprom=s05", Opcode::ReadEeprom, 0x05, -1},
        {"config1=s04", Opcode::ReadConfig1, 0x04, -1},
        {"config2=s0a", Opcode::ReadConfig2, 0x0A, -1},
        {"temp=s04", Opcode::ReadTemp, 0x04, -1},
        {"temp=s", Opcode::ReadTemp, -1, -1},
    };
    for (const Case& c : cases) {
        const Instruction in = decodeinstruction(c.text);
        EXPECT_EQ(in.op, c.op) << c.text;
        EXPECT_EQ(in.command, c.command) << c.text;
        EXPECT_EQ(in.data, c.data) << c.text;
    }
}

TEST(DecodeInstruction, KeywordsAndWaits) {
    const Case cases[] = {
        {"begin", Opcode::Begin, -1, -1},
        {"end", Opcode::End, -1, -1},
        {"calcflash", Opcode::CalcFlash, -1, -1},
        {"calcflashpage", Opcode::CalcFlashPage, -1, -1},
        {"calceeprom", Opcode::CalcEeprom, -1, -1},
        {"setflashloop", Opcode::SetFlashLoop, -1, -1},
        {"seteepromloop", Opcode::SetEepromLoop, -1, -1},
        {"loop", Opcode::Loop, -1, -1},
        {"ifpage", Opcode::IfPage, -1, -1},
        {"endifpage", Opcode::EndIfPage, -1, -1},
        {"checkblankflash", Opcode::CheckBlankFlash, -1, -1},
        {"checkblankeeprom", Opcode::CheckBlankEeprom, -1, -1},
        {"checkblankconfig1", Opcode::CheckBlankConfig1, -1, -1},
        {"checkblankconfig2", Opcode::CheckBlankConfig2, -1, -1},
        {"checkflash", Opcode::CheckFlash, -1, -1},
        {"checkeeprom", Opcode::CheckEeprom, -1, -1},
        {"checkconfig1", Opcode::CheckConfig1, -1, -1},
        {"checkconfig2", Opcode::CheckConfig2, -1, -1},
        {"wprog", Opcode::WaitProg, -1, -1},
        {"w", Opcode::Wait, -1, 0},
        {"w25", Opcode::Wait, -1, 25},
        {"w2.5", Opcode::Wait, -1, 2},  // halves go to the even neighbour
        {"w3.5", Opcode::Wait, -1, 4},
        {"w10ms", Opcode::Wait, -1, 10},
        {"wx", Opcode::Wait, -1, 0},
        {"w-5", Opcode::Wait, -1, -5},
    };
    for (const Case& c : cases) {
        const Instruction in = decodeinstruction(c.text);
        EXPECT_EQ(in.op, c.op) << c.text;
        EXPECT_EQ(in.data, c.data) << c.text;
    }
}

TEST(DecodeInstruction, TextsNoRuleMatches) {
    // Instructions are never trimmed: blanks next to the commas make them unknown.
    for (const char* text : {"", " s06", "s06 ", "Begin", "s", "s0", "s06-3fff0", "loops",
                             "checkflash ", "x", "-flash"})
        EXPECT_EQ(decodeinstruction(text).op, Opcode::Unrecognized) << '"' << text << '"';
}

// The added script kinds' instructions exist only there; the five operations' scripts read them
// as the original language does.
TEST(DecodeInstruction, CalibrationRegistersAndRepeatsOnlyInTheExtendedLanguage) {
    const struct {
        const char* text;
        Case extended;
        Opcode original;
    } cases[] = {
        {"cal1=s04", {"", Opcode::ReadCal, 0x04, 1}, Opcode::Unrecognized},
        {"cal8=s05", {"", Opcode::ReadCal, 0x05, 8}, Opcode::Unrecognized},
        {"s02-cal3", {"", Opcode::SendCal, 0x02, 3}, Opcode::SendCmdData},
        {"s06*1023", {"", Opcode::SendRepeat, 0x06, 1023}, Opcode::Unrecognized},
        {"s06*16383", {"", Opcode::SendRepeat, 0x06, 16383}, Opcode::Unrecognized},
        // No register 0 or 9, no empty, zero or too long a walk.
        {"cal0=s04", {"", Opcode::Unrecognized, -1, -1}, Opcode::Unrecognized},
        {"s02-cal9", {"", Opcode::SendCmdData, 0x02, -1}, Opcode::SendCmdData},
        {"s06*", {"", Opcode::Unrecognized, -1, -1}, Opcode::Unrecognized},
        {"s06*0", {"", Opcode::Unrecognized, -1, -1}, Opcode::Unrecognized},
        {"s06*16384", {"", Opcode::Unrecognized, -1, -1}, Opcode::Unrecognized},
        {"s06*1x", {"", Opcode::Unrecognized, -1, -1}, Opcode::Unrecognized},
    };
    for (const auto& c : cases) {
        const Instruction in = decodeinstruction(c.text, ScriptLanguage::Extended);
        EXPECT_EQ(in.op, c.extended.op) << c.text;
        EXPECT_EQ(in.command, c.extended.command) << c.text;
        EXPECT_EQ(in.data, c.extended.data) << c.text;
        EXPECT_EQ(decodeinstruction(c.text).op, c.original) << c.text;
    }
}

TEST(DecodeProgram, TargetsAreTheNextClosingInstruction) {
    const auto program = decodeprogram(
        {"setflashloop", "ifpage", "endifpage", "loop", "seteepromloop", "ifpage", "loop"});
    EXPECT_EQ(program[0].target, 3);
    EXPECT_EQ(program[1].target, 2);
    EXPECT_EQ(program[4].target, 6);
    EXPECT_EQ(program[5].target, -1);  // no "endifpage" after it
    EXPECT_TRUE(decodeprogram({}).empty());
}

}  // namespace
}  // namespace qm
