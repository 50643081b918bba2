#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/interpreter.h"

namespace qm {

// What the chip's device ID (2006h) says about the chip in the socket.
enum class ChipIdentity {
    NotRead,    // no ID was read
    NoChip,     // 0000h or 3FFFh: nothing drives DATA IN (no chip, no adapter or no supply)
    Answered,   // a chip answered; the active model has no ID to compare with
    Match,      // the active model's ID
    WrongChip,  // another ID
};

struct IdCheck {
    ChipIdentity identity = ChipIdentity::NotRead;
    int32_t word = -1;  // 2006h as read
    // The device file's models whose ID the word is, in file order.
    std::vector<std::string> models;
    // The word's bits outside the ID mask of the first of those models, or of the active model
    // when none matches.
    int32_t revision = -1;
    // A word of all ones, and DATA IN still high once the script left DATA OUT low: no chip and
    // no empty socket reads that way, something holds the line high.
    bool datainhigh = false;
};

struct IdentifyRun {
    RunResult run;  // how the identify script ended
    IdCheck check;  // when it ran to its end
};

// Whether the model has a device ID to check, and the identify script that reads it.
bool hasdeviceid(const ActiveModel& model);

// Runs the active model's identify script and classifies the word it leaves in tempword; on a
// word of all ones, reads DATA IN once more with DATA OUT low to tell an empty socket (DATA IN
// follows DATA OUT) from a line held high. The run
// uses a copy of the program buffer and interpreter state of its own, so the buffer, the
// mismatch report and the registers of the operation's own run stay as they were. A script that
// leaves the supply switched on is switched off and counts as a script error.
IdentifyRun identify(Engine& engine);

// Texts. `chosen` is the active model's name.
// Status line of an operation stopped by the check: "Operation failed: no chip found." or
// "Operation failed: the chip in the socket is a 16F877A, not a 16F628A.".
std::string idfailedstatus(const IdCheck& check, const Engine& engine);
// The message box: what was read and what to check, then `tail` as a paragraph of its own when
// it is not empty.
std::string idfailedmessage(const IdCheck& check, const Engine& engine, const std::string& tail);
// What identify shows: "Device ID 0E27h: 16F877A, revision 7." or "Device ID 1234h: no model of
// the device file has this ID.".
std::string identifiedtext(const IdCheck& check);

}  // namespace qm
