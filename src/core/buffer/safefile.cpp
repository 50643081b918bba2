#include "buffer/safefile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "buffer/shortpath.h"

namespace qm {

namespace fs = std::filesystem;

namespace {

constexpr int kNameAttempts = 50;

std::string errnotext(int err) {
    return err != 0 ? std::string(std::strerror(err)) : std::string("unknown error");
}

// Creates a file that did not exist before beside path ("x" refuses an existing name, so the
// temporary never clobbers anything). Null with the reason when no such file can be made.
std::FILE* createtemporary(const std::string& path, std::string& tempname, std::string& reason) {
    const SplitPath split = splitpath(path);
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        // The name part is cut so a long file name still leaves room for the suffix.
        tempname = split.folder + "." + split.name.substr(0, 100) + "." +
                   std::to_string(random() % 1000000) + ".tmp";
        errno = 0;
        if (std::FILE* file = std::fopen(tempname.c_str(), "wbx")) return file;
        if (errno != EEXIST) {
            reason = "The file cannot be created in its folder: " + errnotext(errno) + ".";
            return nullptr;
        }
    }
    reason = "No free name for a temporary file in the folder.";
    return nullptr;
}

}  // namespace

SafeWriteResult writefilesafely(const std::string& path, std::string_view bytes) {
    SafeWriteResult result;
    std::error_code ec;
    const fs::file_status target = fs::status(path, ec);
    if (fs::is_directory(target)) {
        result.reason = "The name belongs to a folder.";
        return result;
    }
    if (fs::exists(target) && !fs::is_regular_file(target)) {
        result.reason = "The name belongs to something that is not an ordinary file.";
        return result;
    }

    std::string tempname;
    std::FILE* file = createtemporary(path, tempname, result.reason);
    if (file == nullptr) return result;

    errno = 0;
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    const int writeerror = errno;
    errno = 0;
    const bool closed = std::fclose(file) == 0;
    const int closeerror = errno;
    if (!written || !closed) {
        fs::remove(tempname, ec);
        result.reason =
            "The file cannot be written: " + errnotext(!written ? writeerror : closeerror) + ".";
        return result;
    }

    // The replacement keeps the old file's permissions, as an in-place rewrite would.
    if (fs::exists(target)) fs::permissions(tempname, target.permissions(), ec);

    fs::rename(tempname, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(tempname, ignored);
        result.reason = "The file cannot be replaced: " + ec.message() + ".";
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace qm
