#include "cli/options.h"

#include <cctype>
#include <map>

#include "link/ftdipins.h"
#include "link/portselect.h"
#include "platform/port/portspec.h"
#include "text/leadingnumber.h"

namespace qm::cli {

namespace {

// Operand count of every command.
const std::map<std::string, size_t>& commandoperands() {
    static const std::map<std::string, size_t> operands{
        {"models", 0}, {"ports", 0}, {"show", 1},  {"program", 1}, {"verify", 1},
        {"read", 1},   {"erase", 0}, {"blank", 0}, {"convert", 2}, {"identify", 0},
    };
    return operands;
}

// A whole decimal number that fits 32 bits; leading zeros do not count towards its length.
bool isdigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    const size_t first = text.find_first_not_of('0');
    return first == std::string::npos || text.size() - first <= 9;
}

bool ischipoperation(const std::string& command) {
    return command == "program" || command == "verify" || command == "read" || command == "erase" ||
           command == "blank";
}

ParsedOptions fail(std::string error) {
    ParsedOptions result;
    result.error = std::move(error);
    return result;
}

}  // namespace

ParsedOptions parseoptions(const std::vector<std::string>& args) {
    ParsedOptions result;
    CliOptions& o = result.options;
    std::vector<std::string> positional;
    bool optionsended = false;
    std::optional<bool> calibrationchoice;  // true: --overwrite-calibration was given

    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsended || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsended = true;
            continue;
        }

        // "--name=value" and "--name value" are the same.
        std::optional<std::string> inlinevalue;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlinevalue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        auto value = [&](std::string& out) -> bool {
            if (inlinevalue) {
                out = *inlinevalue;
                return true;
            }
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        auto flag = [&](bool& out) -> bool {
            out = true;
            return !inlinevalue;
        };

        std::string text;
        if (arg == "--help" || arg == "-h") {
            if (!flag(o.help)) return fail("option " + arg + " takes no value");
        } else if (arg == "--version" || arg == "-V") {
            if (!flag(o.version)) return fail("option " + arg + " takes no value");
        } else if (arg == "--quiet" || arg == "-q") {
            if (!flag(o.quiet)) return fail("option " + arg + " takes no value");
        } else if (arg == "--virtual-time") {
            if (!flag(o.virtualtime)) return fail("option " + arg + " takes no value");
        } else if (arg == "--no-verify") {
            if (!flag(o.noverify)) return fail("option " + arg + " takes no value");
        } else if (arg == "--no-id-check") {
            if (!flag(o.noidcheck)) return fail("option " + arg + " takes no value");
        } else if (arg == "--keep-calibration" || arg == "--overwrite-calibration") {
            if (inlinevalue) return fail("option " + arg + " takes no value");
            const bool overwrite = arg == "--overwrite-calibration";
            if (calibrationchoice && *calibrationchoice != overwrite)
                return fail(
                    "options --keep-calibration and --overwrite-calibration exclude each "
                    "other");
            calibrationchoice = overwrite;
            o.overwritecalibration = overwrite;
        } else if (arg == "--devices") {
            if (!value(text) || text.empty()) return fail("option --devices needs a file name");
            o.devices = text;
        } else if (arg == "--settings") {
            if (!value(text) || text.empty()) return fail("option --settings needs a file name");
            o.settings = text;
        } else if (arg == "--model") {
            if (!value(text) || text.empty()) return fail("option --model needs a name or number");
            o.model = text;
        } else if (arg == "--port") {
            if (!value(text)) return fail("option --port needs a port");
            if (!parseportspec(text)) {
                return fail("unknown port '" + text + "': use " + portforms());
            }
            o.port = text;
        } else if (arg == "--baud") {
            if (!value(text) || !isdigits(text) || leadingnumber(text) < kMinBaudRate ||
                leadingnumber(text) > kMaxBaudRate) {
                return fail("option --baud needs a rate from " + std::to_string(kMinBaudRate) +
                            " to " + std::to_string(kMaxBaudRate) + " baud");
            }
            o.baud = text;
        } else if (arg == "--hold-us") {
            if (!value(text) || !isdigits(text) || leadingnumber(text) > kMaxLineHoldTime) {
                return fail("option --hold-us needs a whole number of microseconds, at most " +
                            std::to_string(kMaxLineHoldTime));
            }
            o.holdus = leadingnumber(text);
        } else if (arg == "--ftdi-pins") {
            if (!value(text)) return fail("option --ftdi-pins needs a pin map");
            std::string error;
            if (!parseftdipins(text, error)) return fail("option --ftdi-pins: " + error);
            o.ftdipins = text;
        } else {
            return fail("unknown option " + arg);
        }
    }

    if (o.help || o.version) {
        result.ok = true;
        return result;
    }
    if (positional.empty()) return fail("no command given");
    o.command = positional.front();
    positional.erase(positional.begin());
    const auto& operands = commandoperands();
    const auto found = operands.find(o.command);
    if (found == operands.end()) return fail("unknown command '" + o.command + "'");
    if (positional.size() != found->second) {
        return fail("command " + o.command + " takes " + std::to_string(found->second) +
                    (found->second == 1 ? " file name" : " file names") + ", not " +
                    std::to_string(positional.size()));
    }
    for (const auto& operand : positional) {
        if (operand.empty()) return fail("empty file name for command " + o.command);
    }
    if (o.noverify && o.command != "program") {
        return fail("option --no-verify belongs to the command program");
    }
    if (o.noidcheck && !ischipoperation(o.command)) {
        return fail(
            "option --no-id-check belongs to the commands program, verify, read, erase "
            "and blank");
    }
    if (calibrationchoice && !ischipoperation(o.command)) {
        return fail(std::string("option ") +
                    (*calibrationchoice ? "--overwrite-calibration" : "--keep-calibration") +
                    " belongs to the commands program, verify, read, erase and blank");
    }
    const auto spec = o.port ? parseportspec(*o.port) : std::nullopt;
    if (o.virtualtime && !(spec && spec->simulated())) {
        return fail("option --virtual-time needs a simulated port: --port sim or --port ftdisim");
    }
    if (o.ftdipins && !(spec && spec->ftdi())) {
        return fail("option --ftdi-pins needs an FT232R cable: --port ftdi or --port ftdisim");
    }
    o.args = std::move(positional);
    result.ok = true;
    return result;
}

}  // namespace qm::cli
