#include "buffer/shortpath.h"

namespace qm {

namespace {

constexpr size_t kShortPathChars = 70;

bool iscontinuationbyte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string shortpath(const std::string& path) {
    // Walk back over 70 code points; continuation bytes belong to the code point before them.
    size_t start = path.size();
    size_t chars = 0;
    while (start > 0 && chars < kShortPathChars) {
        --start;
        while (start > 0 && iscontinuationbyte(path[start])) --start;
        ++chars;
    }
    if (start == 0) return path;
    return "... " + path.substr(start);
}

bool ispathseparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

SplitPath splitpath(const std::string& path) {
    for (size_t i = path.size(); i > 0; --i) {
        if (ispathseparator(path[i - 1])) return {path.substr(0, i), path.substr(i)};
    }
    return {"", path};
}

}  // namespace qm
