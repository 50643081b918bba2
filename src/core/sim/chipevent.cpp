#include "sim/chipevent.h"

#include "text/hextext.h"

namespace qm {

std::string formatms(std::chrono::microseconds duration) {
    const int64_t us = duration.count();
    const bool negative = us < 0;
    const int64_t magnitude = negative ? -us : us;
    std::string text = std::to_string(magnitude / 1000);
    int64_t fraction = magnitude % 1000;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 3 - digits.size(), '0');
        while (digits.back() == '0') digits.pop_back();
        text += "." + digits;
    }
    return negative ? "-" + text : text;
}

bool isfault(ChipEventKind kind) {
    switch (kind) {
        case ChipEventKind::kUnknownCommand:
        case ChipEventKind::kIncompleteCommand:
        case ChipEventKind::kViolation:
        case ChipEventKind::kIgnored:
        case ChipEventKind::kProtocolFault:
            return true;
        case ChipEventKind::kPowerOn:
        case ChipEventKind::kPowerOff:
        case ChipEventKind::kCommand:
            break;
    }
    return false;
}

std::string describe(const ChipEvent& event) {
    return formatms(event.time) + " ms  " + eventtext(event);
}

std::string eventtext(const ChipEvent& event) {
    std::string line;
    const std::string at = " at " + hexwordh(event.pc);
    switch (event.kind) {
        case ChipEventKind::kPowerOn:
            return "power on, programming mode" + at;
        case ChipEventKind::kPowerOff:
            return "power off" + at;
        case ChipEventKind::kCommand:
            line = "command " + hexbyteh(event.command);
            if (event.data >= 0) line += " data " + hexwordh(event.data);
            return line + at;
        case ChipEventKind::kUnknownCommand:
            return "unknown command " + hexbyteh(event.command) + at;
        case ChipEventKind::kIncompleteCommand:
            line = "incomplete command";
            if (event.command >= 0) line += " " + hexbyteh(event.command);
            return line + at;
        case ChipEventKind::kViolation:
            return "timing violation: " + event.text;
        case ChipEventKind::kIgnored:
            return "command " + hexbyteh(event.command) + " ignored" + at + ": " + event.text;
        case ChipEventKind::kProtocolFault:
            return "protocol fault: " + event.text;
    }
    return line;
}

}  // namespace qm
