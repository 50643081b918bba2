#pragma once

#include <filesystem>
#include <string>

namespace qm {

// What a file of this type is, in words: "a folder", "a character device", "a pipe", "a socket".
std::string filekindtext(std::filesystem::file_type type);

// Why `path` cannot be used as an ordinary file, e.g. "it is a pipe, not an ordinary file";
// empty when it names an ordinary file (links are followed) or nothing at all. Looks at the path
// without opening it, so a pipe or a device there never blocks.
std::string notordinaryfile(const std::string& path);

}  // namespace qm
