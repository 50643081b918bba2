#pragma once

#include <string>

#include "host/host.h"
#include "host/virtualclock.h"

namespace qm::fuzz {

// Stops the fuzzer with a crash it records when a property does not hold.
inline void check(bool condition) {
    if (!condition) __builtin_trap();
}

// A host that shows nothing, answers every question Yes, runs on virtual time, and notes an end
// of the program instead of ending it.
class FuzzHost final : public Host {
  public:
    void setstatus(const std::string&) override {}
    void yield() override {}
    int mymsgbox(const std::string&, int type, const std::string&) override {
        return msgboxkind(type) == kMsgYesNo ? kAnswerYes : kAnswerOk;
    }
    Clock& clock() override { return clock_; }
    void endprogram() override { ended = true; }

    bool ended = false;

  private:
    VirtualClock clock_;
};

}  // namespace qm::fuzz
