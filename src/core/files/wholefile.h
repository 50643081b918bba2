#pragma once

#include <cstdint>
#include <string>

namespace qm {

// Why a file could not be read whole.
enum class WholeFileFault {
    None,
    Missing,       // no such file
    LookupFailed,  // the name could not be looked up (no access to a folder, a link loop)
    Folder,
    NotRegular,  // a device, a pipe, a socket: reading could block or never end
    TooLarge,
    OpenFailed,
    ReadFailed,
};

struct WholeFile {
    WholeFileFault fault = WholeFileFault::None;
    std::string bytes;   // the whole file when fault is None
    std::string reason;  // a sentence for the user otherwise, e.g. "The file does not exist."
};

// Reads the file at path whole, when it is an ordinary file (or a link to one) of at most
// maxbytes bytes. Folders, devices, pipes and sockets are refused before they are opened, and
// the file is opened without blocking and checked again, so that something put under the name in
// between (a pipe renamed over it) is refused too: nothing blocks or reads on forever. A file that
// grows past the limit while it is read is refused as well. Memory use stays at the file's size.
WholeFile readwholefile(const std::string& path, std::uintmax_t maxbytes);

// A byte count as people write it: "16 MiB", "4 KiB", "100 bytes" (binary units, whole numbers
// only where exact, else bytes).
std::string bytecounttext(std::uintmax_t bytes);

}  // namespace qm
