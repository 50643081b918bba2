#pragma once

#include <string>

namespace qm {

// The text for the loaded-file label: a path longer than 70 characters becomes "... " followed
// by its last 70 characters. Characters are counted as UTF-8 code points, so a cut never splits
// one in half.
std::string shortpath(const std::string& path);

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
