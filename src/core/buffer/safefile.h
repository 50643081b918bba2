#pragma once

#include <string>
#include <string_view>

namespace qm {

struct SafeWriteResult {
    bool ok = false;
    std::string reason;  // a sentence for the user when ok is false
};

// Writes bytes to path so that a failure never destroys what was there: the bytes go to a new
// temporary file in the same folder, which replaces path only once it was written and closed
// without error. On failure the temporary file is removed and path is untouched.
SafeWriteResult writefilesafely(const std::string& path, std::string_view bytes);

}  // namespace qm
