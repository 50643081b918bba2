#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qm {

// A per-user store of named text and 32-bit number values under one key. Implementations never
// throw and never report failure: a value that cannot be read is simply absent, a failed write is
// lost. Back-ends: QSettings (platform) and MemorySettingsStore (tests, the CLI's overrides).
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // Makes sure the key exists.
    virtual void createkey() = 0;
    virtual std::optional<std::string> readtext(const std::string& name) = 0;
    virtual std::optional<int32_t> readnum(const std::string& name) = 0;
    virtual void writetext(const std::string& name, const std::string& value) = 0;
    virtual void writenum(const std::string& name, int32_t value) = 0;
};

}  // namespace qm
