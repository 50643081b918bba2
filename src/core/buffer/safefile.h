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
//
// What the user could not overwrite by hand stays as it is: an existing file the user may not
// write is refused (renaming over it would need only the folder's permission), and anything
// that is not an ordinary file is refused. A symbolic link is followed and its target replaced
// in the target's folder, so the link stays a link; the target keeps its permissions. A file
// with further hard links is rewritten in place once the new contents are safely on disk, so
// that every name sees them.
SafeWriteResult writefilesafely(const std::string& path, std::string_view bytes);

}  // namespace qm
