#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host/clock.h"
#include "host/host.h"
#include "host/virtualclock.h"

namespace qm::test {

// A clock on virtual time that also counts how it is used, so tests can tell "slept 0 µs" from
// "never asked the clock".
class CountingClock final : public Clock {
  public:
    std::chrono::microseconds now() override {
        ++nowcalls;
        return time.now();
    }
    void sleep(std::chrono::microseconds duration) override {
        ++sleepcalls;
        if (recordsleeps) sleeps.push_back(duration);
        time.sleep(duration);
    }

    VirtualClock time;
    int64_t nowcalls = 0;
    int64_t sleepcalls = 0;
    // Every sleep's duration, in order. Switch off for long runs with many small sleeps.
    bool recordsleeps = true;
    std::vector<std::chrono::microseconds> sleeps;
};

// A Host for tests: records what the core shows, answers message boxes from a script, counts
// yields and runs on virtual time.
class TestHost final : public Host {
  public:
    struct MsgBox {
        std::string text;
        int type = 0;
        std::string caption;
    };

    void setstatus(const std::string& text) override {
        statuses.push_back(text);
        events.push_back("status:" + text);
    }

    void yield() override {
        ++yields;
        if (onyield) onyield();
    }

    // Answers come from `answers` in order; once it is empty, Yes/No boxes get `yesnoanswer` and
    // every other box OK.
    int mymsgbox(const std::string& text, int type, const std::string& caption) override {
        msgboxes.push_back({text, type, caption});
        events.push_back("msgbox");
        if (!answers.empty()) {
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return type == kMsgYesNo ? yesnoanswer : kAnswerOk;
    }

    Clock& clock() override { return clock_; }
    CountingClock& countingclock() { return clock_; }
    VirtualClock& virtualclock() { return clock_.time; }

    void endprogram() override {
        ++endprogramcalls;
        events.push_back("endprogram");
    }
    void disable() override {
        ++disablecalls;
        events.push_back("disable");
    }
    void enable() override {
        ++enablecalls;
        events.push_back("enable");
    }
    void updatedisplay() override {
        ++updatedisplaycalls;
        events.push_back("updatedisplay");
    }

    // The last status text, or empty when none was set.
    std::string status() const { return statuses.empty() ? std::string() : statuses.back(); }

    std::vector<std::string> statuses;
    std::vector<MsgBox> msgboxes;
    std::deque<int> answers;
    int yesnoanswer = kAnswerYes;
    int64_t yields = 0;
    // Runs inside every yield (after counting it), e.g. to mark yields in a port's event log.
    std::function<void()> onyield;
    int endprogramcalls = 0;
    int disablecalls = 0;
    int enablecalls = 0;
    int updatedisplaycalls = 0;
    // Everything but yields and the clock, in order: "status:" + text, "msgbox", "endprogram",
    // "disable", "enable", "updatedisplay".
    std::vector<std::string> events;

  private:
    CountingClock clock_;
};

}  // namespace qm::test
