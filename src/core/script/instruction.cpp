#include "script/instruction.h"

#include "text/hextext.h"
#include "text/leadingnumber.h"

namespace qm {

namespace {

bool startswith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool endswith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The characters at a fixed place, upper-cased; a text too short yields fewer characters, which
// the strict parsers reject.
std::string upperat(std::string_view text, size_t pos, size_t count) {
    std::string out;
    if (pos >= text.size()) return out;
    for (char c : text.substr(pos, count)) out += (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
    return out;
}

int32_t bytearg(std::string_view text, size_t pos) { return parsebyte(upperat(text, pos, 2)); }
int32_t wordarg(std::string_view text, size_t pos) { return parseword(upperat(text, pos, 4)); }

Instruction make(Opcode op, int32_t command = -1, int32_t data = -1) {
    Instruction in;
    in.op = op;
    in.command = command;
    in.data = data;
    return in;
}

struct Exact {
    std::string_view text;
    Opcode op;
};

// Rules matched on the whole text, before the prefix rules.
constexpr Exact kHeadRules[] = {
    {"begin", Opcode::Begin},
    {"end", Opcode::End},
    {"calcflash", Opcode::CalcFlash},
    {"calcflashpage", Opcode::CalcFlashPage},
    {"calceeprom", Opcode::CalcEeprom},
    {"setflashloop", Opcode::SetFlashLoop},
    {"seteepromloop", Opcode::SetEepromLoop},
    {"loop", Opcode::Loop},
    {"ifpage", Opcode::IfPage},
    {"endifpage", Opcode::EndIfPage},
};

constexpr Exact kCheckRules[] = {
    {"checkblankflash", Opcode::CheckBlankFlash},
    {"checkblankeeprom", Opcode::CheckBlankEeprom},
    {"checkblankconfig1", Opcode::CheckBlankConfig1},
    {"checkblankconfig2", Opcode::CheckBlankConfig2},
    {"checkflash", Opcode::CheckFlash},
    {"checkeeprom", Opcode::CheckEeprom},
    {"checkconfig1", Opcode::CheckConfig1},
    {"checkconfig2", Opcode::CheckConfig2},
};

struct Suffix {
    std::string_view suffix;
    Opcode op;
};

constexpr Suffix kSendRules[] = {
    {"-flash", Opcode::SendFlash},
    {"-eeprom", Opcode::SendEeprom},
    {"-config1", Opcode::SendConfig1},
    {"-config2", Opcode::SendConfig2},
};

struct Prefix {
    std::string_view prefix;
    Opcode op;
};

// The command always sits right after "=s".
constexpr Prefix kReadRules[] = {
    {"flash=s", Opcode::ReadFlash},     {"eeprom=s", Opcode::ReadEeprom},
    {"config1=s", Opcode::ReadConfig1}, {"config2=s", Opcode::ReadConfig2},
    {"temp=s", Opcode::ReadTemp},
};

bool isdigit(char c) { return c >= '0' && c <= '9'; }

// calN=sXX, sXX-calN and sXX*N. Anything else gives Unrecognized, which the caller then matches
// with the original rules.
Instruction decodeextended(std::string_view text) {
    // A register number is one digit, 1 to 8.
    const auto reg = [](char c) { return isdigit(c) ? c - '0' : -1; };
    if (text.size() == 8 && startswith(text, "cal") && text.substr(4, 2) == "=s") {
        const int32_t n = reg(text[3]);
        if (n >= 1 && n <= kCalRegisters) return make(Opcode::ReadCal, bytearg(text, 6), n);
    }
    if (text.size() == 8 && startswith(text, "s") && text.substr(3, 4) == "-cal") {
        const int32_t n = reg(text[7]);
        if (n >= 1 && n <= kCalRegisters) return make(Opcode::SendCal, bytearg(text, 1), n);
    }
    if (text.size() >= 5 && text.size() <= 9 && startswith(text, "s") && text[3] == '*') {
        const std::string_view digits = text.substr(4);
        bool alldigits = true;
        for (char c : digits) alldigits = alldigits && isdigit(c);
        const int32_t count = alldigits ? leadingnumber(digits) : -1;
        if (count >= 1 && count <= kMaxRepeat)
            return make(Opcode::SendRepeat, bytearg(text, 1), count);
    }
    return make(Opcode::Unrecognized);
}

}  // namespace

Instruction decodeinstruction(std::string_view text, ScriptLanguage language) {
    for (const Exact& rule : kHeadRules)
        if (text == rule.text) return make(rule.op);

    if (language == ScriptLanguage::Extended) {
        const Instruction extended = decodeextended(text);
        if (extended.op != Opcode::Unrecognized) return extended;
    }

    if (startswith(text, "s")) {
        for (const Suffix& rule : kSendRules)
            if (endswith(text, rule.suffix)) return make(rule.op, bytearg(text, 1));
    }
    for (const Prefix& rule : kReadRules)
        if (startswith(text, rule.prefix)) return make(rule.op, bytearg(text, rule.prefix.size()));

    for (const Exact& rule : kCheckRules)
        if (text == rule.text) return make(rule.op);

    if (startswith(text, "s")) {
        if (text.size() == 8 && text[3] == '-')
            return make(Opcode::SendCmdData, bytearg(text, 1), wordarg(text, 4));
        if (text.size() == 3) return make(Opcode::SendCmd, bytearg(text, 1));
    }
    if (text == "wprog") return make(Opcode::WaitProg);
    if (startswith(text, "w")) return make(Opcode::Wait, -1, leadingnumber(text.substr(1)));
    return make(Opcode::Unrecognized);
}

std::vector<Instruction> decodeprogram(const std::vector<std::string>& steps,
                                       ScriptLanguage language) {
    std::vector<Instruction> program;
    program.reserve(steps.size());
    for (const std::string& step : steps) program.push_back(decodeinstruction(step, language));

    // One pass from the end: the nearest "loop" / "endifpage" at or after each instruction.
    int32_t nextloop = -1;
    int32_t nextendif = -1;
    for (int32_t i = static_cast<int32_t>(program.size()) - 1; i >= 0; --i) {
        Instruction& in = program[static_cast<size_t>(i)];
        if (in.op == Opcode::Loop) nextloop = i;
        if (in.op == Opcode::EndIfPage) nextendif = i;
        if (in.op == Opcode::SetFlashLoop || in.op == Opcode::SetEepromLoop) in.target = nextloop;
        if (in.op == Opcode::IfPage) in.target = nextendif;
    }
    return program;
}

}  // namespace qm
