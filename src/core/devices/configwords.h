#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "devices/activemodel.h"

namespace qm {

// The configuration words as people read them: by their named fields (configfields.h), for the
// command line's listings and the desktop program's tool tip and boxes. Texts use CR LF between
// lines, as message boxes do. Index 0 is CONF1 (2007h), 1 is CONF2 (2008h).

// "2007h" or "2008h".
std::string configaddress(int index);

// The words of the model that have named fields: 0, and 1 too when the model uses CONF2.
std::vector<int> describedwords(const ActiveModel& model);
// Why the model's words cannot be shown by their fields, empty when they can: "The device file
// [DEVICEFILE ]names no fields of the configuration words of the M."
std::string nofieldsreason(const ActiveModel& model, const std::string& devicefile = {});

// A word's fields, one line each, the names and settings in columns:
// "FOSC  = INTOSCIO   internal oscillator, RA6 and RA7 are I/O", or for bits no setting has
// "WRT   = 0000h      no setting has these bits".
std::vector<std::string> describeconfig(const ConfigFieldSet& fields, int32_t word);

// Every field of the model's words with all its settings, for `quellmark-cli config`: per word a
// heading, then per field a line that begins with its name (its title, bits and erased setting)
// followed by one line per setting (bits, name, description). Empty when the model names no
// fields.
std::string configlisting(const ActiveModel& model);

// What the words about to be programmed do that a user may not have meant, one paragraph each:
// a word that is the erased value (as a HEX file without a configuration word leaves it), with
// what that means on the model; code or data protection, which keeps the chip from being read
// back or verified; write protection; low-voltage programming, for which the PGM pin must be
// held low; the watchdog, which the program must clear. Empty when there is nothing to say.
std::vector<std::string> configpitfalls(const ActiveModel& model,
                                        const std::array<int32_t, 2>& words);

// The fields whose settings keep the chip's memory from being read back (code or data
// protection), as "CP = ON (program memory code-protected)"; empty when none does.
std::vector<std::string> protectingfields(const ActiveModel& model,
                                          const std::array<int32_t, 2>& words);

// Whether any field of the model can protect memory.
bool canprotect(const ActiveModel& model);

// Why a chip may read as it did, when its configuration protects it: for the box of Read All and
// of a Verify or Blank Check that found differences. `read` holds the chip's words as read (-1:
// not read); `allzero` says every difference read 0. Names the protecting fields of the words
// read; without them, when every difference read 0 on a model that can protect, says the chip
// may be protected. Empty when nothing points to protection.
std::string protectionnote(const ActiveModel& model, const std::array<int32_t, 2>& read,
                           bool allzero);

}  // namespace qm
