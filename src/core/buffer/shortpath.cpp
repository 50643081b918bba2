#include "buffer/shortpath.h"

namespace qm {

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
