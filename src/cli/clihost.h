#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "cli/progressbar.h"
#include "host/clock.h"
#include "host/host.h"

namespace qm::cli {

// The command line as the core's host. Status texts become lines on standard output, except the
// progress texts of the memory instructions, which only move the progress bar; message boxes
// print their text on standard error; a fatal script error ends the process with the
// device/script exit code. Nothing waits for the user.
class CliHost final : public Host {
  public:
    CliHost(std::ostream& out, std::ostream& err, ProgressBar& bar, Clock& clock);

    void setstatus(const std::string& text) override;
    void yield() override {}
    // Yes/No questions are answered Yes: the command line has already said what to do.
    int mymsgbox(const std::string& text, int type, const std::string& caption) override;
    Clock& clock() override { return clock_; }
    // Runs the exit hook (which saves a simulated chip's image), then ends the process.
    [[noreturn]] void endprogram() override;

    // Runs once before endprogram ends the process.
    void setexithook(std::function<void()> hook) { exithook_ = std::move(hook); }

    const std::string& laststatus() const { return laststatus_; }
    int errorboxes() const { return errorboxes_; }
    // Prints a line of the front end's own, keeping clear of the progress bar.
    void printline(const std::string& text);
    void printerror(const std::string& text);

  private:
    std::ostream& out_;
    std::ostream& err_;
    ProgressBar& bar_;
    Clock& clock_;
    std::function<void()> exithook_;
    std::string laststatus_;
    int errorboxes_ = 0;
};

}  // namespace qm::cli
