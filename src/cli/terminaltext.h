#pragma once

#include <string>
#include <string_view>

namespace qm::cli {

// The program's texts use CR LF line ends; a terminal wants "\n". A lone CR becomes "\n" too, so
// no text can move the cursor back over what was printed.
std::string toterminal(std::string_view text);

}  // namespace qm::cli
