#include "gui/app/startoptions.h"

namespace qm::gui {

ParsedStart parsestartoptions(const std::vector<std::string>& args) {
    ParsedStart parsed;
    StartOptions& options = parsed.options;
    bool optionsended = false;
    bool pinsgiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsended && arg == "--") {
            optionsended = true;
        } else if (!optionsended && (arg == "--help" || arg == "-h")) {
            options.help = true;
        } else if (!optionsended && arg == "--version") {
            options.version = true;
        } else if (!optionsended &&
                   (arg == "--port" || arg == "--settings" || arg == "--ftdi-pins")) {
            if (i + 1 >= args.size()) {
                parsed.error = arg + " needs a value";
                return parsed;
            }
            const std::string& value = args[++i];
            if (arg == "--settings") {
                options.settings = value;
                continue;
            }
            if (arg == "--ftdi-pins") {
                std::string why;
                const std::optional<FtdiPinMap> pins = parseftdipins(value, why);
                if (!pins) {
                    parsed.error = "--ftdi-pins " + value + ": " + why;
                    return parsed;
                }
                options.ftdipins = *pins;
                pinsgiven = true;
                continue;
            }
            options.port = parseportspec(value);
            if (!options.port) {
                parsed.error = "--port " + value + ": not a port (" + portforms() + ")";
                return parsed;
            }
        } else if (!optionsended && arg.size() > 1 && arg[0] == '-') {
            parsed.error = "unknown option " + arg;
            return parsed;
        } else if (options.hexfile.empty()) {
            options.hexfile = arg;
        } else {
            parsed.error = "only one HEX file can be opened";
            return parsed;
        }
    }
    if (pinsgiven && !(options.port && options.port->ftdi())) {
        parsed.error = "--ftdi-pins needs an FT232R cable: --port ftdi or --port ftdisim";
        return parsed;
    }
    parsed.ok = true;
    return parsed;
}

std::string startusage() {
    return "Usage: quellmark [--port PORT] [--ftdi-pins MAP] [--settings FILE] [FILE.hex]\n"
           "\n"
           "The desktop programmer for PIC mid-range microcontrollers. FILE.hex is opened\n"
           "into the buffer once the window has loaded.\n"
           "\n"
           "  --port PORT      the programmer port for this run, saved nowhere: a number\n"
           "                   1-16 or COMn, a device path such as /dev/ttyUSB0, or sim\n"
           "                   (the simulated adapter with a simulated chip of the model)\n"
           "                   or sim:IMAGE (its memory kept in the HEX file IMAGE);\n"
           "                   sim=CHIP[:IMAGE] puts a simulated CHIP such as 16F877A in\n"
           "                   the socket whatever the model, sim=none leaves it empty;\n"
           "                   ftdi for the first FT232R USB cable in bit-bang mode,\n"
           "                   ftdi:SERIAL for the one with that serial number, and\n"
           "                   ftdisim[=CHIP][:IMAGE] for the simulated adapter behind a\n"
           "                   simulated FT232R cable\n"
           "  --ftdi-pins MAP  where an FT232R cable has the lines, e.g. rts=D2,dtr=D4,\n"
           "                   dsr=D5 (the default); add :high to a line asserted by a\n"
           "                   high pin\n"
           "  --settings FILE  an INI file instead of the user's settings (also the\n"
           "                   environment variable QUELLMARK_SETTINGS)\n"
           "  --help, --version\n";
}

}  // namespace qm::gui
