#pragma once

#include <string>
#include <string_view>

namespace qm {

// Case conversion of the letters A-Z only. Device file keys, script instructions and words such
// as "true" are plain ASCII; other bytes of the 8-bit file text pass through unchanged, whatever
// the process locale says.
std::string asciilower(std::string_view text);
std::string asciiupper(std::string_view text);
// The text with its first letter upper-cased, for a sentence that starts a message.
std::string firstupper(std::string_view text);

}  // namespace qm
