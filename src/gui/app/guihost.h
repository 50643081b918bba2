#pragma once

#include "gui/app/eventpump.h"
#include "host/host.h"

namespace qm::gui {

class MainWindow;

// The main window as the core's host: the status line, the message box with the main window as
// parent, the throttled yield, and the window's disable, enable and updatedisplay.
class GuiHost final : public Host {
  public:
    GuiHost(MainWindow& window, EventPump& pump, Clock& clock)
        : window_(window), pump_(pump), clock_(clock) {}

    void setstatus(const std::string& text) override;
    void yield() override { pump_.yield(); }
    int mymsgbox(const std::string& text, int type, const std::string& caption) override;
    Clock& clock() override { return clock_; }
    [[noreturn]] void endprogram() override;

    void disable() override;
    void enable() override;
    void updatedisplay() override;

  private:
    MainWindow& window_;
    EventPump& pump_;
    Clock& clock_;
};

}  // namespace qm::gui
