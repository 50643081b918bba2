#include "buffer/safefile.h"

#include <sys/stat.h>
#include <unistd.h>

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
// More links in a chain than any real setup has; a loop ends here.
constexpr int kMaxLinkHops = 40;

std::string errnotext(int err) {
    return err != 0 ? std::string(std::strerror(err)) : std::string("unknown error");
}

// The file a path finally names: symbolic links are followed (a relative link counts from the
// link's folder), so the save replaces the target and the links keep pointing at it. A dangling
// link names the file it would create. Empty with the reason when the chain cannot be followed.
std::string finaltarget(const std::string& path, std::string& reason) {
    fs::path current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec))) return current.string();
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) {
            reason = "The link cannot be followed: " + ec.message() + ".";
            return {};
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    reason = "The name is a chain of links that does not end.";
    return {};
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

// Writes bytes to an open file and closes it; the reason when anything failed.
bool writeandclose(std::FILE* file, std::string_view bytes, std::string& reason) {
    errno = 0;
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    const int writeerror = errno;
    errno = 0;
    const bool closed = std::fclose(file) == 0;
    const int closeerror = errno;
    if (written && closed) return true;
    reason = "The file cannot be written: " + errnotext(!written ? writeerror : closeerror) + ".";
    return false;
}

// Whether the user may write the existing file. Renaming over a file needs only the folder's
// permission, so a write-protected file would otherwise be replaced all the same. Opening it for
// update changes nothing in it.
bool maywrite(const std::string& target, std::string& reason) {
    errno = 0;
    std::FILE* file = std::fopen(target.c_str(), "r+b");
    if (file != nullptr) {
        std::fclose(file);
        return true;
    }
    reason = "The file may not be written: " + errnotext(errno) + ".";
    return false;
}

// Gives the temporary file the owner and group of the file it replaces. A process that may not
// (an ordinary user saving another's file it may write) keeps its own; the permissions, set
// after this, still follow the old file.
void keepowner(const std::string& target, const std::string& tempname) {
    struct stat old {};
    struct stat made {};
    if (::stat(target.c_str(), &old) != 0 || ::stat(tempname.c_str(), &made) != 0) return;
    if (old.st_uid == made.st_uid && old.st_gid == made.st_gid) return;
    if (::chown(tempname.c_str(), old.st_uid, old.st_gid) != 0) {
        // Not the owner: the group alone, where the process belongs to it.
        [[maybe_unused]] const int ignored = ::chown(tempname.c_str(), uid_t(-1), old.st_gid);
    }
}

// A file with other hard links is rewritten where it is, so every name keeps seeing the same
// file; the complete new contents wait in the temporary file until that has worked.
bool rewriteinplace(const std::string& target, const std::string& tempname, std::string_view bytes,
                    std::string& reason) {
    std::FILE* file = std::fopen(target.c_str(), "r+b");
    std::error_code ec;
    if (file != nullptr && writeandclose(file, bytes, reason)) {
        fs::resize_file(target, bytes.size(), ec);
        if (!ec) {
            fs::remove(tempname, ec);
            return true;
        }
        reason = "The file cannot be cut to its new length: " + ec.message() + ".";
    } else if (file == nullptr) {
        reason = "The file cannot be opened for writing: " + errnotext(errno) + ".";
    }
    reason += " The new contents are in " + tempname + ".";
    return false;
}

}  // namespace

SafeWriteResult writefilesafely(const std::string& path, std::string_view bytes) {
    SafeWriteResult result;
    const std::string target = finaltarget(path, result.reason);
    if (target.empty()) return result;

    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    const bool exists = fs::exists(status);
    if (fs::is_directory(status)) {
        result.reason = "The name belongs to a folder.";
        return result;
    }
    if (exists && !fs::is_regular_file(status)) {
        result.reason = "The name belongs to something that is not an ordinary file.";
        return result;
    }
    if (exists && !maywrite(target, result.reason)) return result;

    std::string tempname;
    std::FILE* file = createtemporary(target, tempname, result.reason);
    if (file == nullptr) return result;
    if (!writeandclose(file, bytes, result.reason)) {
        fs::remove(tempname, ec);
        return result;
    }

    if (exists && fs::hard_link_count(target, ec) > 1) {
        result.ok = rewriteinplace(target, tempname, bytes, result.reason);
        return result;
    }
    // The replacement keeps the old file's permissions and, as far as the process may give
    // them (root may), its owner and group, as an in-place rewrite would.
    if (exists) {
        keepowner(target, tempname);
        fs::permissions(tempname, status.permissions(), ec);
    }
    fs::rename(tempname, target, ec);
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
