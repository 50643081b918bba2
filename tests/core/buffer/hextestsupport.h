#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "devices/activemodel.h"
#include "text/hextext.h"

namespace qm::hextest {

// A 16F628A-like model: 2048 FLASH words, 128 EEPROM bytes, CONF1 only.
inline ActiveModel model(int32_t flash = 2048, int32_t eeprom = 128, bool config2 = false) {
    ActiveModel m;
    m.flashsize = flash;
    m.eepromsize = eeprom;
    m.erasedconfig = {0x3FFF, 0x3FFF};
    m.config2used = config2;
    return m;
}

// A record line with a correct checksum for the given body.
inline std::string rec(const std::string& body) { return ":" + body + hexchecksum(body); }

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("quellmark-hex-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string folder() const { return path_.string() + "/"; }
    size_t entries() const {
        size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(path_)) ++n;
        return n;
    }

  private:
    std::filesystem::path path_;
};

inline void writebytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readbytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace qm::hextest
