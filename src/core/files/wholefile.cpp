#include "files/wholefile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace qm {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

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
    if (fs::is_directory(status))
        return failure(WholeFileFault::Folder, "The name belongs to a folder, not a file.");
    if (!fs::is_regular_file(status)) {
        return failure(WholeFileFault::NotRegular,
                       "The name does not belong to an ordinary file (it is a device or a pipe).");
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > maxbytes) return failure(WholeFileFault::TooLarge, toolarge(maxbytes));

    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return failure(WholeFileFault::OpenFailed, sentence("The file cannot be opened", errno));
    }
    WholeFile result;
    if (!ec) result.bytes.reserve(static_cast<size_t>(size));
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        // The size was looked up before opening; the file may have grown since.
        if (result.bytes.size() + got > maxbytes)
            return failure(WholeFileFault::TooLarge, toolarge(maxbytes));
        result.bytes.append(chunk, got);
    }
    if (std::ferror(file.get())) {
        return failure(WholeFileFault::ReadFailed, sentence("The file cannot be read", errno));
    }
    return result;
}

}  // namespace qm
