#include "gui/app/startoptions.h"

namespace qm::gui {

namespace {

// Where the options' help starts, and the width it is wrapped to.
constexpr size_t kHelpColumn = 19;
constexpr size_t kHelpWidth = 80;

}  // namespace

ParsedStart parsestartoptions(const std::vector<std::string>& args) {
    ParsedCommandLine parsed = parsecommandline(args, kForGui);
    ParsedStart start;
    if (!parsed.ok) {
        start.error = std::move(parsed.error);
        return start;
    }
    if (parsed.operands.size() > 1) {
        start.error = "only one HEX file can be opened";
        return start;
    }
    static_cast<CommandLineOptions&>(start.options) = std::move(parsed.options);
    if (!parsed.operands.empty()) start.options.hexfile = parsed.operands.front();
    start.ok = true;
    return start;
}

std::string startusage() {
    return "Usage: quellmark " + optionsynopsis(kForGui) +
           " [FILE.hex]\n"
           "\n"
           "The desktop programmer for PIC mid-range microcontrollers. FILE.hex is opened\n"
           "into the buffer once the window has loaded.\n"
           "\n" +
           optionhelp(kForGui, kHelpColumn, kHelpWidth);
}

}  // namespace qm::gui
