// The options of both programs: each read by one small function, with one wording per error.
#include <string>

#include "link/ftdipins.h"
#include "link/portselect.h"
#include "platform/options/commandline.h"
#include "platform/port/portspec.h"

namespace qm {

namespace {

std::string needs(const OptionRow& row, std::string_view what) {
    return "option " + std::string(row.name) + " needs " + std::string(what);
}

// A whole decimal number that fits 32 bits; leading zeros do not count towards its length.
std::optional<int32_t> wholenumber(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const size_t first = text.find_first_not_of('0');
    if (first == std::string_view::npos) return 0;
    if (text.size() - first > 9) return std::nullopt;
    return std::stoi(std::string(text.substr(first)));
}

// --devices and --settings: a file's name.
template <std::optional<std::string> CommandLineOptions::*File>
std::string readfilename(const OptionRow& row, std::string_view value, CommandLineOptions& o) {
    if (value.empty()) return needs(row, "a file name");
    o.*File = std::string(value);
    return {};
}

std::string readmodel(const OptionRow& row, std::string_view value, CommandLineOptions& o) {
    if (value.empty()) return needs(row, "a name or number");
    o.model = std::string(value);
    return {};
}

std::string readport(const OptionRow& row, std::string_view value, CommandLineOptions& o) {
    if (value.empty()) return needs(row, "a port");
    if (!parseportspec(value))
        return "unknown port '" + std::string(value) + "': use " + portforms();
    o.port = std::string(value);
    return {};
}

std::string readbaud(const OptionRow& row, std::string_view value, CommandLineOptions& o) {
    const std::optional<int32_t> rate = wholenumber(value);
    if (!rate || *rate < kMinBaudRate || *rate > kMaxBaudRate)
        return needs(row, "a rate from " + std::to_string(kMinBaudRate) + " to " +
                              std::to_string(kMaxBaudRate) + " baud");
    o.baud = *rate;
    return {};
}

std::string readholdus(const OptionRow& row, std::string_view value, CommandLineOptions& o) {
    const std::optional<int32_t> us = wholenumber(value);
    if (!us || *us > kMaxLineHoldTime)
        return needs(row,
                     "a whole number of microseconds, at most " + std::to_string(kMaxLineHoldTime));
    o.holdus = *us;
    return {};
}

std::string readftdipins(const OptionRow& row, std::string_view value, CommandLineOptions& o) {
    if (value.empty()) return needs(row, "a pin map");
    std::string why;
    if (!parseftdipins(value, why)) return "option " + std::string(row.name) + ": " + why;
    o.ftdipins = std::string(value);
    return {};
}

// --keep-calibration and --overwrite-calibration: one of the two, given any number of times.
std::string readcalibration(const OptionRow& row, std::string_view, CommandLineOptions& o) {
    const bool overwrite = row.name == "--overwrite-calibration";
    if (o.overwritecalibration && *o.overwritecalibration != overwrite)
        return "options --keep-calibration and --overwrite-calibration exclude each other";
    o.overwritecalibration = overwrite;
    return {};
}

template <bool CommandLineOptions::*Flag>
std::string setflag(const OptionRow&, std::string_view, CommandLineOptions& o) {
    o.*Flag = true;
    return {};
}

constexpr OptionRow kOptions[] = {
    {"--devices", "", "FILE", kForCli, readfilename<&CommandLineOptions::devices>,
     "device description file (default: quellmarkdevices.txt beside the program, else in "
     "../share/quellmark/ from the program's folder)"},
    {"--model", "", "NAME|NUMBER", kForCli, readmodel,
     "model by number or by name, any case, with or without PIC (default: setting "
     "\"Microcontroller Model\")"},
    {"--port", "", "PORT", kForBoth, readport,
     "the programmer port for this run, saved nowhere (default: setting \"Serial Port "
     "Number\"): N or COMn (1-16), a device path such as /dev/ttyUSB0, sim for the simulated "
     "adapter with a simulated chip of the model, or sim:IMAGE to keep the simulated chip in the "
     "HEX file IMAGE between runs; sim=CHIP[:IMAGE] puts a simulated CHIP (e.g. 16F877A) in the "
     "socket whatever the model, sim=none leaves it empty; ftdi for the first FT232R USB cable in "
     "bit-bang mode, ftdi:SERIAL for the one with that serial number; ftdisim[=CHIP][:IMAGE] for "
     "the simulated adapter behind a simulated FT232R cable"},
    {"--no-id-check", "", "", kForCli, setflag<&CommandLineOptions::noidcheck>,
     "do not read the device ID before the operation"},
    {"--keep-calibration", "", "", kForCli, readcalibration,
     "keep the chip's calibration words (the default)"},
    {"--overwrite-calibration", "", "", kForCli, readcalibration,
     "write the HEX file's values at the calibration locations instead"},
    {"--baud", "", "RATE", kForCli, readbaud,
     "baud rate from 300 to 3000000 (default: setting \"Serial Port Baud Rate\")"},
    {"--hold-us", "", "N", kForCli, readholdus,
     "hold every line change at least N microseconds; USB-serial adapters may need 50-500 "
     "(default: setting \"Line Hold Time\"); FT232R cables hold every line state at least 1 "
     "microsecond"},
    {"--ftdi-pins", "", "MAP", kForBoth, readftdipins,
     "where an FT232R cable has the lines, e.g. rts=D2,dtr=D4,dsr=D5 (the default); add :high "
     "to a line asserted by a high pin"},
    {"--settings", "", "FILE", kForBoth, readfilename<&CommandLineOptions::settings>,
     "keep the settings in this INI file instead of the user's (also: QUELLMARK_SETTINGS)"},
    {"--no-verify", "", "", kForCli, setflag<&CommandLineOptions::noverify>,
     "program without the Verify that follows"},
    {"--ignore-range", "", "", kForCli, setflag<&CommandLineOptions::ignorerange>,
     "program or verify the data of a HEX file that fit the model even though it has data "
     "outside it"},
    {"--quiet", "-q", "", kForCli, setflag<&CommandLineOptions::quiet>, "no progress bar"},
    {"--virtual-time", "", "", kForCli, setflag<&CommandLineOptions::virtualtime>, ""},
    {"--help", "-h", "", kForBoth, setflag<&CommandLineOptions::help>, "this text"},
    {"--version", "-V", "", kForBoth, setflag<&CommandLineOptions::version>,
     "the program's version and licence"},
};

}  // namespace

std::span<const OptionRow> optiontable() { return kOptions; }

// Options that only go together; empty when they do.
std::string checkcombination(const CommandLineOptions& o) {
    const std::optional<PortSpec> spec = o.port ? parseportspec(*o.port) : std::nullopt;
    if (o.virtualtime && !(spec && spec->simulated()))
        return "option --virtual-time needs a simulated port: --port sim or --port ftdisim";
    if (o.ftdipins && !(spec && spec->ftdi()))
        return "option --ftdi-pins needs an FT232R cable: --port ftdi or --port ftdisim";
    return {};
}

}  // namespace qm
