#include "devices/loaddevices.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

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

bool isslot(int32_t number) { return number >= 0 && number < kAlgSlots; }

std::string outofrange(int32_t number) {
    return "ignored, definition number " + std::to_string(number) + " is outside 0 to " +
           std::to_string(kAlgSlots - 1);
}

class DeviceFileParser {
  public:
    explicit DeviceFileParser(LoadDevicesResult& result) : result_(result) {}

    void handle(int linenumber, std::string_view line) {
        if (line.empty()) return;

        const size_t space = line.find(' ');
        if (space == std::string_view::npos) {
            warn(linenumber, line, "ignored, no space in the line");
            return;
        }
        const std::string lower = asciilower(line);
        const size_t colon = line.find(':');
        // Everything after the first space: the value of key lines, the number of definitions.
        const std::string_view afterspace = line.substr(space + 1);
        DeviceTable& table = result_.table;

        const int defop = findkey(kDefinitionKeywords, std::string_view(lower).substr(0, space));
        if (defop >= 0) {
            const int32_t number = leadingnumber(afterspace);
            if (!isslot(number)) {
                warn(linenumber, line, outofrange(number));
                return;
            }
            std::string& slot = table.algdefs[defop][number];
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

        // Without a colon the key part is empty and matches nothing.
        const std::string_view key = colon == std::string_view::npos
                                         ? std::string_view()
                                         : std::string_view(lower).substr(0, colon + 1);
        if (key.empty()) return;

        // Before the first "model:" line this is slot 0, which no model uses.
        devicemodel& current = table.models.back();
        if (key == kModelKey) {
            table.models.emplace_back();
            table.models.back().name = afterspace;
            return;
        }
        const int valueindex = findkey(kValueKeys, key);
        if (valueindex >= 0) {
            current.*kValueFields[valueindex] = afterspace;
            return;
        }
        const int algop = findkey(kAlgorithmKeys, key);
        if (algop >= 0) {
            const int32_t number = leadingnumber(afterspace);
            if (!isslot(number)) {
                warn(linenumber, line, outofrange(number));
                return;
            }
            // A copy: definitions read later never reach a model already read.
            current.alg[algop] = table.algdefs[algop][number];
        }
    }

  private:
    void warn(int linenumber, std::string_view line, std::string reason) {
        result_.warnings.push_back({linenumber, std::string(line), std::move(reason)});
    }

    LoadDevicesResult& result_;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
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
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        LoadDevicesResult result;
        result.status = LoadDevicesStatus::FileError;
        result.error = "Cannot open device file \"" + path + "\": " + std::strerror(errno);
        return result;
    }

    std::string content;
    std::array<char, 8192> chunk;
    size_t got = 0;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) {
        content.append(chunk.data(), got);
    }
    if (std::ferror(file.get())) {
        // A folder opens on some systems and fails only here.
        const int err = errno;
        LoadDevicesResult result;
        result.status = LoadDevicesStatus::FileError;
        result.error = "Cannot read device file \"" + path + "\": " + std::strerror(err);
        return result;
    }
    return parsedevices(content);
}

std::string devicefilepath(std::string_view folder) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    path += kDeviceFileName;
    return path;
}

std::vector<std::string> formatdevicewarnings(const std::vector<DeviceFileWarning>& warnings,
                                              std::string_view filename) {
    std::vector<std::string> lines;
    lines.reserve(warnings.size());
    for (const DeviceFileWarning& warning : warnings) {
        lines.push_back(std::string(filename) + " line " + std::to_string(warning.linenumber) +
                        ": " + warning.reason);
    }
    return lines;
}

}  // namespace qm
