#include "settings/memorysettingsstore.h"

namespace qm {

void MemorySettingsStore::createkey() {
    if (!unavailable_) haskey_ = true;
}

std::optional<std::string> MemorySettingsStore::readtext(const std::string& name) {
    if (unavailable_) return std::nullopt;
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    if (const auto* text = std::get_if<std::string>(&it->second)) return *text;
    return std::nullopt;
}

std::optional<int32_t> MemorySettingsStore::readnum(const std::string& name) {
    if (unavailable_) return std::nullopt;
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    if (const auto* number = std::get_if<int32_t>(&it->second)) return *number;
    return std::nullopt;
}

void MemorySettingsStore::writetext(const std::string& name, const std::string& value) {
    if (unavailable_) return;
    haskey_ = true;
    values_[name] = value;
}

void MemorySettingsStore::writenum(const std::string& name, int32_t value) {
    if (unavailable_) return;
    haskey_ = true;
    values_[name] = value;
}

bool MemorySettingsStore::istext(const std::string& name) const {
    auto it = values_.find(name);
    return it != values_.end() && std::holds_alternative<std::string>(it->second);
}

bool MemorySettingsStore::isnumber(const std::string& name) const {
    auto it = values_.find(name);
    return it != values_.end() && std::holds_alternative<int32_t>(it->second);
}

}  // namespace qm
