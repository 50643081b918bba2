#include "devices/loaddevices.h"

#include <array>

#include "devices/configfieldlines.h"
#include "devices/optionalkeys.h"
#include "files/wholefile.h"
#include "text/asciicase.h"
#include "text/leadingnumber.h"

namespace qm {

namespace {

// Indexed by Operation, in the order the lines are tested.
constexpr std::array<std::string_view, kOperationCount> kDefinitionKeywords{
    "erasealgdef", "programalgdef", "readalgdef", "blankcheckalgdef", "verifyalgdef"};
constexpr std::array<std::string_view, kOperationCount> kAlgorithmKeys{
    "erasealg:", "programalg:", "readalg:", "blankcheckalg:", "verifyalg:"};

constexpr std::array<std::string_view, 7> kValueKeys{
    "flash:", "eeprom:", "configerased:", "config2used:", "voltageseq:", "progtime:", "pagesize:"};
constexpr std::array<std::string devicemodel::*, 7> kValueFields{
    &devicemodel::flash,       &devicemodel::eeprom,     &devicemodel::configerased,
    &devicemodel::config2used, &devicemodel::voltageseq, &devicemodel::progtime,
    &devicemodel::pagesize};

constexpr std::string_view kModelKey = "model:";

template <size_t N>
int findkey(const std::array<std::string_view, N>& keys, std::string_view head) {
    for (size_t i = 0; i < N; ++i) {
        if (keys[i] == head) return static_cast<int>(i);
    }
    return -1;
}

// The optional script kind whose definition keyword (or, with bykey, model key) this is.
const OptionalScript* optionalscript(std::string_view word, bool bykey) {
    for (const OptionalScript& script : kOptionalScripts) {
        if ((bykey ? script.key : script.keyword) == word) return &script;
    }
    return nullptr;
}

bool isslot(int32_t number) { return number >= 0 && number < kAlgSlots; }

std::string outofrange(int32_t number) {
    return "ignored, definition number " + std::to_string(number) + " is outside 0 to " +
           std::to_string(kAlgSlots - 1);
}

// Whether a line is "model:" with blanks in front: not a model line by the format, but clearly
// meant as one.
bool indentedmodelline(std::string_view lower) {
    const size_t first = lower.find_first_not_of(" \t");
    return first != 0 && first != std::string_view::npos &&
           lower.substr(first).starts_with(kModelKey);
}

class DeviceFileParser {
  public:
    explicit DeviceFileParser(LoadDevicesResult& result) : result_(result) {}

    void handle(int linenumber, std::string_view line) {
        if (line.empty()) return;

        const std::string lower = asciilower(line);
        const size_t space = line.find(' ');
        const size_t colon = line.find(':');
        if (space == std::string_view::npos) {
            // "model:B" or "flash:2048": a key without the space the format asks for. Skipping
            // a model line would hand the key lines after it to the model before it, so the
            // line is read as if the space were there.
            const std::string_view key = keypart(lower, colon);
            if (!key.empty() && setkey(linenumber, line, key, line.substr(colon + 1),
                                       "read as if a space followed the colon")) {
                return;
            }
            if (indentedmodelline(lower)) {
                orphan(linenumber, line);
            } else {
                warn(linenumber, line, "ignored, no space in the line");
            }
            return;
        }
        // Everything after the first space: the value of key lines, the number of definitions.
        const std::string_view afterspace = line.substr(space + 1);
        const std::string_view word = std::string_view(lower).substr(0, space);

        if (isconfigfieldkeyword(word)) {
            const bool hascolon = colon != std::string_view::npos;
            const std::string reason =
                readconfigfieldline(result_.table, word, afterspace, hascolon,
                                    hascolon ? line.substr(colon + 1) : std::string_view());
            if (!reason.empty()) warn(linenumber, line, reason);
            return;
        }

        if (auto* definitions = definitiontable(word)) {
            const int32_t number = leadingnumber(afterspace);
            if (!isslot(number)) {
                warn(linenumber, line, outofrange(number));
                return;
            }
            std::string& slot = (*definitions)[number];
            if (colon == std::string_view::npos) {
                slot.clear();
                warn(linenumber, line,
                     "no colon in the definition line, stored as an empty definition");
                return;
            }
            // The character right after the colon is a separator and is dropped, whatever it is.
            const size_t start = colon + 2;
            slot = start < line.size() ? std::string(line.substr(start)) : std::string();
            return;
        }

        const std::string_view key = keypart(lower, colon);
        if (!key.empty() && setkey(linenumber, line, key, afterspace)) return;
        if (indentedmodelline(lower)) orphan(linenumber, line);
    }

  private:
    // The definition table of a definition keyword, nullptr when the word is none.
    std::array<std::string, kAlgSlots>* definitiontable(std::string_view word) {
        DeviceTable& table = result_.table;
        const int op = findkey(kDefinitionKeywords, word);
        if (op >= 0) return &table.algdefs[op];
        if (optionalscript(word, false) != nullptr) return &table.optionaldefs[std::string(word)];
        return nullptr;
    }

    // The text of definition `number` of an optional script kind; empty when never defined.
    const std::string& optionaldefinition(const OptionalScript& script, int32_t number) const {
        static const std::string kNone;
        const auto& defs = result_.table.optionaldefs;
        const auto found = defs.find(std::string(script.keyword));
        return found == defs.end() ? kNone : found->second[number];
    }

    // The line up to and including its first colon; empty without a colon, which matches no key.
    static std::string_view keypart(std::string_view lower, size_t colon) {
        return colon == std::string_view::npos ? std::string_view() : lower.substr(0, colon + 1);
    }

    // Applies a model key line, with the warning note when it was read; false when key is none of
    // the model keys.
    bool setkey(int linenumber, std::string_view line, std::string_view key, std::string_view value,
                const char* note = nullptr) {
        DeviceTable& table = result_.table;
        if (key == kModelKey) {
            table.models.emplace_back();
            table.models.back().name = value;
            orphanline_ = 0;
            if (note != nullptr) warn(linenumber, line, note);
            return true;
        }
        const int valueindex = findkey(kValueKeys, key);
        const int algop = valueindex >= 0 ? -1 : findkey(kAlgorithmKeys, key);
        const bool optionalvalue = findkey(kOptionalValueKeys, key) >= 0;
        const OptionalScript* script = optionalscript(key, true);
        if (valueindex < 0 && algop < 0 && !optionalvalue && script == nullptr) return false;
        if (orphanline_ != 0) {
            warn(linenumber, line,
                 "ignored, it follows the model line " + std::to_string(orphanline_) +
                     ", which was not read");
            return true;
        }
        // Before the first "model:" line this is slot 0, which no model uses.
        devicemodel& current = table.models.back();
        if (valueindex >= 0) {
            current.*kValueFields[valueindex] = value;
        } else if (optionalvalue) {
            current.optional[optionalname(key)] = value;
        } else if (const int32_t number = leadingnumber(value); !isslot(number)) {
            warn(linenumber, line, outofrange(number));
            return true;
        } else if (script != nullptr) {
            current.optional[optionalname(key)] = optionaldefinition(*script, number);
        } else {
            // A copy: definitions read later never reach a model already read.
            current.alg[algop] = table.algdefs[algop][number];
        }
        if (note != nullptr) warn(linenumber, line, note);
        return true;
    }

    // A model line that is not read: the key lines after it belong to the model it names, not to
    // the one before it, so they are skipped until the next model line.
    void orphan(int linenumber, std::string_view line) {
        orphanline_ = linenumber;
        warn(linenumber, line,
             "ignored, \"model:\" does not start the line; the key lines after it are ignored "
             "up to the next model line");
    }

    void warn(int linenumber, std::string_view line, std::string reason) {
        ++result_.warningcount;
        if (result_.warnings.size() >= kMaxDeviceWarnings) return;
        result_.warnings.push_back({linenumber, std::string(line), std::move(reason)});
    }

    LoadDevicesResult& result_;
    int orphanline_ = 0;  // number of a model line that was not read, 0 when none
};

}  // namespace

LoadDevicesResult parsedevices(std::string_view content) {
    LoadDevicesResult result;
    DeviceFileParser parser(result);

    int linenumber = 0;
    size_t pos = 0;
    while (pos < content.size()) {
        size_t end = content.find('\n', pos);
        const size_t next = end == std::string_view::npos ? content.size() : end + 1;
        if (end == std::string_view::npos) end = content.size();
        std::string_view line = content.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        parser.handle(++linenumber, line);
        pos = next;
    }

    result.status =
        result.table.modelcount() > 0 ? LoadDevicesStatus::Ok : LoadDevicesStatus::NoModels;
    return result;
}

LoadDevicesResult loaddevices(const std::string& path) {
    const WholeFile file = readwholefile(path, kMaxDeviceFileBytes);
    if (file.fault == WholeFileFault::None) return parsedevices(file.bytes);
    LoadDevicesResult result;
    result.status = LoadDevicesStatus::FileError;
    result.error = "Cannot read device file \"" + path + "\". " + file.reason;
    return result;
}

std::string devicefilepath(std::string_view folder) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    path += kDeviceFileName;
    return path;
}

std::vector<std::string> formatdevicewarnings(const std::vector<DeviceFileWarning>& warnings,
                                              std::string_view filename, size_t warningcount) {
    std::vector<std::string> lines;
    lines.reserve(warnings.size() + 1);
    for (const DeviceFileWarning& warning : warnings) {
        lines.push_back(std::string(filename) + " line " + std::to_string(warning.linenumber) +
                        ": " + warning.reason);
    }
    if (warningcount > warnings.size()) {
        const size_t more = warningcount - warnings.size();
        lines.push_back(std::string(filename) + ": " + std::to_string(more) + " more " +
                        (more == 1 ? "warning" : "warnings") + " not shown");
    }
    return lines;
}

}  // namespace qm
