#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

#include "settings/settingsstore.h"

namespace qm {

// A settings store held in memory: for tests, and for the command-line front end's settings that
// last one run. Like the registry, every value has one kind, text or number, and a write of
// either kind replaces whatever stood under the name. A read of the other kind than the one
// stored counts as missing (the accessors then replace the value with their default of the kind
// they asked for); numbers are never guessed from text nor text from numbers.
class MemorySettingsStore : public SettingsStore {
  public:
    void createkey() override;
    std::optional<std::string> readtext(const std::string& name) override;
    std::optional<int32_t> readnum(const std::string& name) override;
    void writetext(const std::string& name, const std::string& value) override;
    void writenum(const std::string& name, int32_t value) override;

    // Whether createkey has been called (the key exists).
    bool haskey() const { return haskey_; }
    bool contains(const std::string& name) const { return values_.count(name) != 0; }
    bool istext(const std::string& name) const;
    bool isnumber(const std::string& name) const;
    std::size_t size() const { return values_.size(); }

    // Simulates a key that cannot be created or opened: every read finds nothing and every
    // write is lost, as when the registry refuses access.
    void setunavailable(bool unavailable) { unavailable_ = unavailable; }

  private:
    using Value = std::variant<std::string, int32_t>;
    std::map<std::string, Value> values_;
    bool haskey_ = false;
    bool unavailable_ = false;
};

}  // namespace qm
