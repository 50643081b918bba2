#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The programs that take an option.
enum OptionPrograms : unsigned { kForCli = 1, kForGui = 2, kForBoth = kForCli | kForGui };

// The options of both programs' command lines. Options a program does not take, and options not
// given, stay empty: their values then come from the settings.
struct CommandLineOptions {
    std::optional<std::string> devices;   // the device file
    std::optional<std::string> model;     // a model's number or name
    std::optional<std::string> port;      // the port of this run, as parseportspec reads it
    std::optional<int32_t> baud;          // for this run, instead of "Serial Port Baud Rate"
    std::optional<int32_t> holdus;        // for this run, instead of "Line Hold Time"
    std::optional<std::string> ftdipins;  // an FT232R cable's wiring, as parseftdipins reads it
    std::optional<std::string> settings;  // an INI file instead of the user's settings
    bool quiet = false;                   // no progress bar
    bool virtualtime = false;             // simulated ports on virtual time (tests)
    bool noverify = false;                // program without its Verify
    bool noidcheck = false;               // the operations do not read the device ID first
    bool ignorerange = false;             // program and verify a file with data outside the chip
    // Whether the operations overwrite the chip's calibration words (true) or keep them (false,
    // the default); set when either option was given.
    std::optional<bool> overwritecalibration;
    bool help = false;
    bool version = false;
};

// One option: its names, the placeholder of its value (empty for a flag), the programs that take
// it, the one small function that reads its value, and its line of help.
struct OptionRow {
    std::string_view name;       // "--baud"
    std::string_view shortname;  // "-q", or empty
    std::string_view value;      // "RATE"; empty: a flag
    unsigned programs = kForBoth;
    // Stores the value into the options; the message for the user when the value is no good,
    // empty when it is.
    std::string (*read)(const OptionRow& row, std::string_view value, CommandLineOptions& options);
    std::string_view help;  // one paragraph; empty: not listed in --help (a tests' option)
};

// Every option of both programs, in the order --help lists them.
std::span<const OptionRow> optiontable();
// What is wrong with options that only go together (an FT232R cable's wiring without a cable,
// virtual time without a simulated port); empty when nothing is.
std::string checkcombination(const CommandLineOptions& options);

struct ParsedCommandLine {
    bool ok = false;
    std::string error;  // one line for the user when ok is false
    CommandLineOptions options;
    std::vector<std::string> operands;  // what is no option, in order
};

// Reads the arguments after the program's name as `program` takes them. Options may stand before
// or after the operands, as "--name value" or "--name=value"; "--" ends the options. Checks the
// values' form and the options that only go together (an FT232R cable's wiring needs a cable,
// virtual time a simulated port), not whether files, models or ports exist.
ParsedCommandLine parsecommandline(const std::vector<std::string>& args, unsigned program);

// The options `program` takes, for --help: "  --baud RATE" and its help, wrapped to `width`
// columns after a column of `indent`; a name longer than the column puts its help on the next
// line.
std::string optionhelp(unsigned program, size_t indent, size_t width);
// "[--NAME VALUE] ...": the options with a value that `program`
// takes, for a usage line.
std::string optionsynopsis(unsigned program);

}  // namespace qm
