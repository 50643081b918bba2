#pragma once

#include <string>

namespace qm {

// A chosen path cut after its last folder separator: the folder keeps the separator (it is what
// lastpath holds), the name is the rest. Without a separator the folder is empty.
struct SplitPath {
    std::string folder;
    std::string name;
};
SplitPath splitpath(const std::string& path);

// True for the characters that separate folders on this platform.
bool ispathseparator(char c);

}  // namespace qm
