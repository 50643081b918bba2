#include "files/wholefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "files/filekind.h"

namespace qm {

namespace fs = std::filesystem;

namespace {

// An open file descriptor, closed with its scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

fs::file_type filetypeof(mode_t mode) {
    if (S_ISREG(mode)) return fs::file_type::regular;
    if (S_ISDIR(mode)) return fs::file_type::directory;
    if (S_ISCHR(mode)) return fs::file_type::character;
    if (S_ISBLK(mode)) return fs::file_type::block;
    if (S_ISFIFO(mode)) return fs::file_type::fifo;
    if (S_ISSOCK(mode)) return fs::file_type::socket;
    return fs::file_type::unknown;
}

WholeFile failure(WholeFileFault fault, std::string reason) {
    WholeFile result;
    result.fault = fault;
    result.reason = std::move(reason);
    return result;
}

// "The file cannot be read: Input/output error." with the system's reason when there is one.
std::string sentence(const char* what, int err) {
    return std::string(what) + (err != 0 ? std::string(": ") + std::strerror(err) : "") + ".";
}

// The refusal of anything but an ordinary file; fault None for an ordinary file.
WholeFile notregular(fs::file_type type) {
    if (type == fs::file_type::regular) return {};
    if (type == fs::file_type::directory)
        return failure(WholeFileFault::Folder, "The name belongs to a folder, not a file.");
    return failure(
        WholeFileFault::NotRegular,
        "The name does not belong to an ordinary file (it is " + filekindtext(type) + ").");
}

std::string toolarge(std::uintmax_t maxbytes) {
    return "The file is larger than " + bytecounttext(maxbytes) +
           ", more than any file of this kind holds.";
}

}  // namespace

std::string bytecounttext(std::uintmax_t bytes) {
    constexpr std::uintmax_t kKib = 1024;
    if (bytes >= kKib * kKib && bytes % (kKib * kKib) == 0)
        return std::to_string(bytes / (kKib * kKib)) + " MiB";
    if (bytes >= kKib && bytes % kKib == 0) return std::to_string(bytes / kKib) + " KiB";
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

WholeFile readwholefile(const std::string& path, std::uintmax_t maxbytes) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec && status.type() == fs::file_type::none) {
        // The name may well exist; calling it missing would send the user after the wrong
        // problem.
        return failure(WholeFileFault::LookupFailed,
                       "The file cannot be opened: " + ec.message() + ".");
    }
    if (!fs::exists(status)) return failure(WholeFileFault::Missing, "The file does not exist.");
    // Devices are never opened: opening one can have effects of its own (a serial port raises
    // its modem lines).
    if (const WholeFile refused = notregular(status.type()); refused.fault != WholeFileFault::None)
        return refused;

    // Something else may have been put under the name since it was looked at: opened without
    // blocking (a pipe would otherwise wait for a writer), the descriptor is checked again.
    errno = 0;
    const Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0) {
        if (errno == ENOENT) return failure(WholeFileFault::Missing, "The file does not exist.");
        return failure(WholeFileFault::OpenFailed, sentence("The file cannot be opened", errno));
    }
    struct stat opened {};
    if (::fstat(file.fd, &opened) != 0)
        return failure(WholeFileFault::OpenFailed, sentence("The file cannot be opened", errno));
    if (const WholeFile refused = notregular(filetypeof(opened.st_mode));
        refused.fault != WholeFileFault::None)
        return refused;
    if (std::uintmax_t(opened.st_size) > maxbytes)
        return failure(WholeFileFault::TooLarge, toolarge(maxbytes));

    WholeFile result;
    result.bytes.reserve(static_cast<size_t>(opened.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(file.fd, chunk, sizeof chunk);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            return failure(WholeFileFault::ReadFailed, sentence("The file cannot be read", errno));
        }
        // The size was looked up before reading; the file may have grown since.
        if (result.bytes.size() + size_t(got) > maxbytes)
            return failure(WholeFileFault::TooLarge, toolarge(maxbytes));
        result.bytes.append(chunk, size_t(got));
    }
    return result;
}

}  // namespace qm
