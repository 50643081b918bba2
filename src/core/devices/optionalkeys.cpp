#include "devices/optionalkeys.h"

#include <algorithm>

#include "devices/selectmodel.h"
#include "script/instruction.h"
#include "text/asciicase.h"
#include "text/hextext.h"

namespace qm {

namespace {

const std::string* optionaltext(const devicemodel& model, const char* name) {
    const auto found = model.optional.find(name);
    return found == model.optional.end() ? nullptr : &found->second;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The bits of a program or configuration word, and of the device ID.
constexpr int32_t kWordMask = 0x3FFF;

// Like the words of configerased, a value is its first four characters, so "0E20h" or a note
// after the digits still reads.
int32_t leadingword(std::string_view text) {
    return parsewordanycase(text.substr(0, std::min<size_t>(text.size(), 4)));
}

bool readsaword(const std::vector<std::string>& steps) {
    return std::any_of(steps.begin(), steps.end(),
                       [](const std::string& step) { return step.starts_with("temp=s"); });
}

// One item of a calibration key: AAAA, AAAA&MMMM, either with =FFFF.
std::string parseitem(std::string_view item, int32_t flashsize, CalibrationWord& word) {
    const size_t equals = item.find('=');
    const std::string_view form = equals == std::string_view::npos ? "" : item.substr(equals + 1);
    const std::string_view location = item.substr(0, equals);
    const size_t amp = location.find('&');
    word.address = parsewordanycase(location.substr(0, amp));
    if (word.address < 0)
        return "\"" + std::string(item) + "\" does not start with an address of four hex digits";
    const bool inflash = word.address < flashsize;
    const bool inconfig = word.address >= 0x2000 && word.address <= 0x20FF;
    if (!inflash && !inconfig)
        return hexwordh(word.address) + " is neither a FLASH word of the model nor in 2000h-20FFh";
    if (amp != std::string_view::npos) {
        word.mask = parsewordanycase(location.substr(amp + 1));
        if (word.mask <= 0 || word.mask > kWordMask)
            return "\"" + std::string(item) +
                   "\" has no bit mask of four hex digits from 0001 to 3FFF after '&'";
    }
    if (equals != std::string_view::npos) {
        if (form.size() != 4) return "the form in \"" + std::string(item) + "\" is not four digits";
        word.form = asciiupper(form);
        for (size_t i = 0; i < 4; ++i) {
            const int32_t shift = 12 - 4 * static_cast<int32_t>(i);
            if (word.form[i] == 'X') continue;
            const int32_t digit = parsebyte("0" + word.form.substr(i, 1));
            if (digit < 0)
                return "the form in \"" + std::string(item) + "\" holds '" +
                       word.form.substr(i, 1) + "', neither a hex digit nor X";
            word.formmask |= 0xF << shift;
            word.formvalue |= digit << shift;
        }
        word.formmask &= word.mask;
        word.formvalue &= word.formmask;
    }
    return {};
}

// Whether the instruction takes a command XX.
bool takescommand(Opcode op) {
    switch (op) {
        case Opcode::SendFlash:
        case Opcode::SendEeprom:
        case Opcode::SendConfig1:
        case Opcode::SendConfig2:
        case Opcode::ReadFlash:
        case Opcode::ReadEeprom:
        case Opcode::ReadConfig1:
        case Opcode::ReadConfig2:
        case Opcode::ReadTemp:
        case Opcode::SendCmdData:
        case Opcode::SendCmd:
        case Opcode::ReadCal:
        case Opcode::SendCal:
        case Opcode::SendRepeat:
            return true;
        default:
            return false;
    }
}

// What makes a script of a kind the device file adds (identify, calibration) unfit to run,
// empty when nothing does: an instruction the interpreter does not know, which would end the
// program in the middle of every operation, or a command or data word it cannot read, which the
// line driver would silently skip. The five operations' scripts keep the original language's
// rule that such a transfer is skipped; these scripts are new and are held to what they say.
std::string scriptproblem(const std::vector<std::string>& steps,
                          const std::vector<Instruction>& decoded, const char* what) {
    const std::string script = "its " + std::string(what) + " script";
    for (size_t i = 0; i < decoded.size(); ++i) {
        const Instruction& in = decoded[i];
        const std::string quotedstep = "'" + steps[i] + "'";
        if (in.op == Opcode::Unrecognized)
            return script + " has an instruction it cannot run: " + quotedstep + ".";
        if (takescommand(in.op) && in.command < 0)
            return script +
                   " has an instruction whose command is not two hex digits: " + quotedstep + ".";
        if (in.op == Opcode::SendCmdData && (in.data < 0 || in.data > kWordMask))
            return script + " has an instruction whose data is not four hex digits from 0000 to " +
                   "3FFF: " + quotedstep + ".";
    }
    return {};
}

// What is wrong with a calibration script, empty when nothing is: an instruction it cannot run,
// a register beyond the words the model keeps, and for the read script a word it never reads.
std::string checkcalibrationscript(const std::vector<std::string>& steps, const char* what,
                                   size_t words, bool reads) {
    const std::vector<Instruction> decoded = decodeprogram(steps, ScriptLanguage::Extended);
    if (std::string bad = scriptproblem(steps, decoded, what); !bad.empty()) return bad;
    std::vector<bool> read(words, false);
    for (size_t i = 0; i < decoded.size(); ++i) {
        const Instruction& in = decoded[i];
        if (in.op != Opcode::ReadCal && in.op != Opcode::SendCal) continue;
        if (size_t(in.data) > words)
            return "its " + std::string(what) + " script uses register cal" +
                   std::to_string(in.data) + ", but the calibration key lists " +
                   std::to_string(words) + (words == 1 ? " word." : " words.");
        if (in.op == Opcode::ReadCal) read[size_t(in.data - 1)] = true;
    }
    for (size_t k = 0; reads && k < words; ++k) {
        if (!read[k])
            return "its " + std::string(what) + " script never reads register cal" +
                   std::to_string(k + 1) + ".";
    }
    return {};
}

std::string convertcalibration(const devicemodel& model, ActiveModel& converted) {
    converted.calibration.clear();
    converted.calreadsteps.clear();
    converted.calwritesteps.clear();
    const std::string* key = optionaltext(model, "calibration");
    const std::string* read = optionaltext(model, "calreadalg");
    const std::string* write = optionaltext(model, "calwritealg");
    const bool hasread = read != nullptr && !read->empty();
    const bool haswrite = write != nullptr && !write->empty();
    if (key == nullptr) {
        if (hasread || haswrite)
            return "it has a calibration script but no calibration key naming the words to keep.";
        return {};
    }
    std::string why;
    converted.calibration = parsecalibration(*key, converted.flashsize, why);
    if (!why.empty())
        return "its calibration key " + quoted(*key) + " cannot be used: " + why + ".";
    if (!hasread)
        return "it keeps calibration words but has no calibration read script (calreadalg) to "
               "read them.";
    const size_t words = converted.calibration.size();
    converted.calreadsteps = splitsteps(*read);
    if (std::string bad =
            checkcalibrationscript(converted.calreadsteps, "calibration read", words, true);
        !bad.empty())
        return bad;
    if (haswrite) {
        converted.calwritesteps = splitsteps(*write);
        return checkcalibrationscript(converted.calwritesteps, "calibration write", words, false);
    }
    return {};
}

}  // namespace

std::vector<CalibrationWord> parsecalibration(std::string_view text, int32_t flashsize,
                                              std::string& why) {
    std::vector<CalibrationWord> words;
    why.clear();
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = text.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos) break;
        const size_t end = std::min(text.find_first_of(" \t", start), text.size());
        const std::string_view item = text.substr(start, end - start);
        pos = end;
        CalibrationWord word;
        why = parseitem(item, flashsize, word);
        if (!why.empty()) return {};
        for (const CalibrationWord& earlier : words) {
            if (earlier.address == word.address) {
                why = hexwordh(word.address) + " is listed twice";
                return {};
            }
        }
        words.push_back(std::move(word));
    }
    if (words.empty()) {
        why = "it lists no word";
    } else if (words.size() > kMaxCalibrationWords) {
        why = "it lists " + std::to_string(words.size()) + " words, at most " +
              std::to_string(kMaxCalibrationWords) + " can be kept";
        words.clear();
    }
    return words;
}

std::string optionalname(std::string_view key) {
    if (!key.empty() && key.back() == ':') key.remove_suffix(1);
    return std::string(key);
}

ModelId modelid(const devicemodel& model) {
    ModelId result;
    if (const std::string* text = optionaltext(model, "deviceidmask")) {
        result.mask = leadingword(*text);
        if (result.mask < 0) {
            result.problem = "the device ID mask " + quoted(*text) + " is not four hex digits.";
        } else if (result.mask == 0) {
            result.problem = "the device ID mask 0000h leaves no bit to compare.";
        } else if ((result.mask & ~kWordMask) != 0) {
            // The ID word has 14 bits: a mask beyond them compares bits every chip reads as 0.
            result.problem = "the device ID mask " + hexwordh(result.mask) +
                             " has bits above the 14 bits of the device ID word (3FFFh).";
        }
    }
    if (const std::string* text = optionaltext(model, "deviceid"); text && result.problem.empty()) {
        result.id = leadingword(*text);
        if (result.id < 0) {
            result.problem = "the device ID " + quoted(*text) + " is not four hex digits.";
        } else if ((result.id & ~result.mask) != 0) {
            result.problem = "the device ID " + hexwordh(result.id) +
                             " has bits outside its mask " + hexwordh(result.mask) + ".";
        }
    }
    if (!result.problem.empty()) result.id = -1;
    return result;
}

bool idmatches(const ModelId& model, int32_t word) {
    return model.id >= 0 && (word & model.mask) == model.id;
}

std::string convertoptionalkeys(const devicemodel& model, ActiveModel& converted) {
    const ModelId id = modelid(model);
    if (!id.problem.empty()) return id.problem;
    converted.deviceid = id.id;
    converted.deviceidmask = id.mask;

    converted.configmask = {kWordMask, kWordMask};
    if (const std::string* text = optionaltext(model, "configmask")) {
        converted.configmask = parsewordpair(*text);
        if (converted.configmask[0] < 0 || converted.configmask[1] < 0) {
            return "the configuration mask " + quoted(*text) +
                   " is not two words of four hex digits (as in 21FF,3FFF).";
        }
    }

    converted.identifysteps.clear();
    const std::string* identify = optionaltext(model, "identifyalg");
    if (identify != nullptr && !identify->empty()) {
        converted.identifysteps = splitsteps(*identify);
        const std::vector<Instruction> decoded =
            decodeprogram(converted.identifysteps, ScriptLanguage::Extended);
        if (std::string bad = scriptproblem(converted.identifysteps, decoded, "identify");
            !bad.empty())
            return bad;
        if (!readsaword(converted.identifysteps)) {
            return "its identify script has no \"temp=s\" instruction to read the device ID.";
        }
    }
    if (converted.deviceid >= 0 && converted.identifysteps.empty()) {
        return "it has a device ID but no identify script (identifyalg) to read it.";
    }
    return convertcalibration(model, converted);
}

}  // namespace qm
