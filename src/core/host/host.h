#pragma once

#include <string>

#include "host/clock.h"

namespace qm {

// Message box types and answers, as the message box understands them. kMsgDefaultNo added to
// kMsgYesNo makes No the button Enter presses, for a question whose safe answer is No.
enum MsgBoxType {
    kMsgPlain = 0,
    kMsgYesNo = 4,
    kMsgError = 16,
    kMsgInfo = 64,
    kMsgDefaultNo = 256
};
enum MsgBoxAnswer { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };
// The kind of box a type asks for, without kMsgDefaultNo.
constexpr int msgboxkind(int type) { return type & ~kMsgDefaultNo; }

// What the core needs from the program that runs it: the GUI, the command-line front end and the
// tests each implement this once.
class Host {
  public:
    virtual ~Host() = default;

    // The status line (label_status).
    virtual void setstatus(const std::string& text) = 0;
    // Let the user interface process its pending events once. The core's behaviour must not
    // depend on whether anything was processed.
    virtual void yield() = 0;
    // mymsgbox: text with CR LF line ends; returns kAnswerOk, kAnswerYes or kAnswerNo.
    virtual int mymsgbox(const std::string& text, int type, const std::string& caption) = 0;
    virtual Clock& clock() = 0;

    // Ends the program after a fatal script error. The GUI and the CLI do not return from it; a
    // test host records the call and returns, so callers must stop all work right after it.
    virtual void endprogram() = 0;

    // The main window's commands around a chip operation, and its redraw of the buffer views.
    virtual void disable() {}
    virtual void enable() {}
    virtual void updatedisplay() {}
};

}  // namespace qm
