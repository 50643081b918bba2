#pragma once

#include <string>
#include <string_view>

#include "devices/devicemodel.h"

namespace qm {

// The device file lines that define configuration field sets. Like the definitions of the
// scripts, they are numbered lines with their own keyword, which a reader following the original
// rules skips:
//
//   configfield N: NAME MASK TITLE...
//   configsetting N: NAME VALUE[*] SETTING DESCRIPTION...
//   configwarning N: NAME KIND SETTING...
//
// N (kFirstFieldSet to kLastFieldSet) numbers a field set: the fields of one configuration word
// of a family. A configfield line adds field NAME with the bits MASK (four hex digits) and a
// title of a few words to set N. A configsetting line adds a setting to the field NAME that an
// earlier line added to set N: VALUE is the field's bits for it, in place (four hex digits), a
// '*' right after it marks the setting an erased chip has, SETTING is its name in one word and
// DESCRIPTION the rest of the line. A configwarning line says which settings of the field NAME
// (already given their lines) do something a user is warned of before Program All: KIND is
// codeprotect (program memory reads back as 0), dataprotect (data EEPROM reads back as 0),
// writeprotect (the program may not write that memory itself), lowvoltage (low-voltage
// programming: the PGM pin must be held low) or watchdog (the program must clear it). Words are
// separated by blanks; keywords and names are read in any case. Models name a set with the keys
// "configfields: N" and "config2fields: N" (optionalkeys.h); activation checks the set
// (modelconfigfields.h).
inline constexpr std::string_view kConfigFieldKeyword = "configfield";
inline constexpr std::string_view kConfigSettingKeyword = "configsetting";
inline constexpr std::string_view kConfigWarningKeyword = "configwarning";

// Whether the lower-cased word before a line's first space is one of the three keywords.
bool isconfigfieldkeyword(std::string_view word);

// Adds the line's field or setting to its set in `table`. `afterspace` is the line after its
// first space, `aftercolon` what follows the first colon (npos-free: empty when the line has
// none, and then `hascolon` is false). Returns why the line was ignored, worded like the
// reader's other warnings ("ignored, ..."), empty when it was read.
std::string readconfigfieldline(DeviceTable& table, std::string_view keyword,
                                std::string_view afterspace, bool hascolon,
                                std::string_view aftercolon);

}  // namespace qm
