#include "cli/options.h"

#include <map>

namespace qm::cli {

namespace {

// Operand count of every command.
const std::map<std::string, size_t>& commandoperands() {
    static const std::map<std::string, size_t> operands{
        {"models", 0}, {"ports", 0}, {"show", 1},    {"program", 1},  {"verify", 1}, {"read", 1},
        {"erase", 0},  {"blank", 0}, {"convert", 2}, {"identify", 0}, {"config", 0},
    };
    return operands;
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

// The command and its operands: a known command with as many file names as it takes.
std::string checkcommand(const std::string& command, const std::vector<std::string>& operands) {
    const auto& known = commandoperands();
    const auto found = known.find(command);
    if (found == known.end()) return "unknown command '" + command + "'";
    if (operands.size() != found->second) {
        return "command " + command + " takes " + std::to_string(found->second) +
               (found->second == 1 ? " file name" : " file names") + ", not " +
               std::to_string(operands.size());
    }
    for (const auto& operand : operands) {
        if (operand.empty()) return "empty file name for command " + command;
    }
    return {};
}

// Options that belong to some commands only.
std::string checkbelonging(const CliOptions& o) {
    if (o.noverify && o.command != "program")
        return "option --no-verify belongs to the command program";
    if (o.ignorerange && o.command != "program" && o.command != "verify")
        return "option --ignore-range belongs to the commands program and verify";
    const char* const operations =
        " belongs to the commands program, verify, read, erase and blank";
    if (o.noidcheck && !ischipoperation(o.command))
        return std::string("option --no-id-check") + operations;
    if (o.overwritecalibration && !ischipoperation(o.command)) {
        return std::string("option ") +
               (*o.overwritecalibration ? "--overwrite-calibration" : "--keep-calibration") +
               operations;
    }
    return {};
}

}  // namespace

ParsedOptions parseoptions(const std::vector<std::string>& args) {
    ParsedCommandLine parsed = parsecommandline(args, kForCli);
    if (!parsed.ok) return fail(std::move(parsed.error));
    ParsedOptions result;
    CliOptions& o = result.options;
    static_cast<CommandLineOptions&>(o) = std::move(parsed.options);
    if (o.help || o.version) {
        result.ok = true;
        return result;
    }
    std::vector<std::string>& positional = parsed.operands;
    if (positional.empty()) return fail("no command given");
    o.command = positional.front();
    positional.erase(positional.begin());
    if (std::string error = checkcommand(o.command, positional); !error.empty())
        return fail(std::move(error));
    if (std::string error = checkbelonging(o); !error.empty()) return fail(std::move(error));
    o.args = std::move(positional);
    result.ok = true;
    return result;
}

}  // namespace qm::cli
