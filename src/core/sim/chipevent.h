#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace qm {

enum class ChipEventKind : uint8_t {
    kPowerOn,            // supply and programming voltage applied: programming mode, PC = 0
    kPowerOff,           // supply removed: programming mode ends
    kCommand,            // a decoded command; loads and reads carry their data word
    kUnknownCommand,     // a code the chip's family does not know; it is ignored
    kIncompleteCommand,  // power went off in the middle of a command's bits or data word
    kViolation,          // an erase/programming cycle was cut short; text says why
    kIgnored,            // a command that did nothing (no load before a begin, protection)
    kProtocolFault,      // the pins broke the entry protocol, e.g. CLOCK high at power-on
};

// Whether an event is something a script or an adapter did wrong, as opposed to a plain trace
// entry: the front ends and the tests report these.
bool isfault(ChipEventKind kind);

// One entry of the simulated chip's log. Per-edge activity is never logged, only what a person
// reading a trace of a script wants to see.
struct ChipEvent {
    ChipEventKind kind = ChipEventKind::kCommand;
    std::chrono::microseconds time{0};  // host clock time of the event
    int32_t command = -1;               // 6-bit code, -1 when the event has none
    int32_t data = -1;                  // word loaded or read, -1 when the command has none
    int32_t pc = 0;                     // program counter when the command was decoded
    std::string text;                   // reason for violations and ignored commands
};

// One line of text for a trace, e.g. "12.345 ms  command 02h data 3FFFh at 0005h".
std::string describe(const ChipEvent& event);
// What happened, without the time: "command 02h data 3FFFh at 0005h".
std::string eventtext(const ChipEvent& event);

// Milliseconds with up to three decimals and no trailing zeros: 2100 us -> "2.1".
std::string formatms(std::chrono::microseconds duration);

}  // namespace qm
