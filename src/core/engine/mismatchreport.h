#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/algstate.h"

namespace qm {

// The report's first line.
inline constexpr std::string_view kMismatchHeader =
    "Memory Location,   Read Value,   Expected,\r\n";
// The mismatch that cuts a script short.
inline constexpr int32_t kMismatchLimit = 25;

// What Blank Check and Verify found, kept until the next report begins.
struct MismatchReport {
    std::string mismatchreport{kMismatchHeader};
    int32_t mismatchcount = 0;
    // Mismatches whose value read was 0, as a code-protected memory reads.
    int32_t zeroreads = 0;
    // The chip's configuration words as the checks read them (CONF1, CONF2); -1 while unread.
    std::array<int32_t, 2> configread{-1, -1};
};

void beginreport(MismatchReport& report);

// Appends one line. The 25th line sends the run to its last instruction; later lines are
// counted and appended without a further jump.
void addmismatch(MismatchReport& report, AlgState& state, std::string_view location,
                 std::string_view readvalue, std::string_view expected);

// Location texts of the report lines.
std::string flashlocation(int32_t address);
std::string eepromlocation(int32_t address);
std::string conflocation(int32_t address);

}  // namespace qm
