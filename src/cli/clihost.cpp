#include "cli/clihost.h"

#include <cstdlib>

#include "cli/terminaltext.h"
#include "host/exitcode.h"

namespace qm::cli {

namespace {

void printtext(std::ostream& stream, const std::string& text) {
    const std::string shown = toterminal(text);
    stream << shown;
    if (shown.empty() || shown.back() != '\n') stream << '\n';
    stream.flush();
}

}  // namespace

CliHost::CliHost(std::ostream& out, std::ostream& err, ProgressBar& bar, Clock& clock)
    : out_(out), err_(err), bar_(bar), clock_(clock) {}

void CliHost::setstatus(const std::string& text) {
    laststatus_ = text;
    if (ProgressBar::isprogress(text)) {
        bar_.update(text);
        return;
    }
    bar_.clear();
    printtext(out_, text);
}

// Every box goes to standard error, whatever its kind: standard output carries only the status
// texts and listings, so a warning can never end up inside a listing a script reads.
int CliHost::mymsgbox(const std::string& text, int type, const std::string& /*caption*/) {
    if (type == kMsgError) ++errorboxes_;
    printerror(text);
    return msgboxkind(type) == kMsgYesNo ? kAnswerYes : kAnswerOk;
}

void CliHost::endprogram() {
    bar_.clear();
    if (exithook_) {
        auto hook = std::move(exithook_);
        exithook_ = nullptr;
        hook();
    }
    out_.flush();
    err_.flush();
    std::exit(kExitDevice);
}

void CliHost::printline(const std::string& text) {
    bar_.clear();
    printtext(out_, text);
}

void CliHost::printerror(const std::string& text) {
    bar_.clear();
    out_.flush();
    printtext(err_, text);
}

}  // namespace qm::cli
