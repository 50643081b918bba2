#pragma once

#include <cstdint>
#include <string_view>

namespace qm {

// The range "Change Default Programming Time" accepts, in milliseconds.
inline constexpr int32_t kMinProgTime = 1;
inline constexpr int32_t kMaxProgTime = 30;

// What an answer to the programming time prompt asks for: nothing (an empty answer), a wrong
// entry, or a new progtime.
struct ProgTimeAnswer {
    enum class Kind { Nothing, Wrong, Time };
    Kind kind = Kind::Nothing;
    int32_t progtime = 0;  // kMinProgTime..kMaxProgTime when kind is Time
};

// The answer is read by the leading-number rule, which rounds halves to the even neighbour
// (30.4 and 30.5 are 30, 2.5 is 2, 0.5 is 0) and ignores what follows the number (7ms is 7); the
// result must lie within 1..30. Text without a number is 0, so wrong.
ProgTimeAnswer parseprogtimeanswer(std::string_view answer);

}  // namespace qm
