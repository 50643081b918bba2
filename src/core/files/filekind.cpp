#include "files/filekind.h"

#include <system_error>

namespace qm {

std::string filekindtext(std::filesystem::file_type type) {
    using std::filesystem::file_type;
    switch (type) {
        case file_type::regular:
            return "an ordinary file";
        case file_type::directory:
            return "a folder";
        case file_type::character:
            return "a character device";
        case file_type::block:
            return "a block device";
        case file_type::fifo:
            return "a pipe";
        case file_type::socket:
            return "a socket";
        default:
            return "something other than a file";
    }
}

std::string notordinaryfile(const std::string& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status) || std::filesystem::is_regular_file(status)) return {};
    return "it is " + filekindtext(status.type()) + ", not an ordinary file";
}

}  // namespace qm
