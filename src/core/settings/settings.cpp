#include "settings/settings.h"

#include <cstddef>

namespace qm {

namespace {

// Texts are UTF-8 here where the registry held one byte per character, so the length limit
// counts characters (code points), not bytes: a long path with accented letters is not dropped
// any earlier than it would have been. A byte that does not belong to a well-formed sequence
// counts as a character of its own.
std::size_t characterlength(const std::string& text) {
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (lead >= 0xC0 && lead <= 0xDF) {
            extra = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
        } else if (lead >= 0xF0 && lead <= 0xF7) {
            extra = 3;
        }
        std::size_t taken = 1;
        while (taken <= extra && i + taken < text.size() &&
               (static_cast<unsigned char>(text[i + taken]) & 0xC0) == 0x80) {
            ++taken;
        }
        if (taken != extra + 1) taken = 1;  // malformed: count the lead byte alone
        i += taken;
        ++count;
    }
    return count;
}

}  // namespace

void createsettingskey(SettingsStore& store) { store.createkey(); }

std::string getsetting(SettingsStore& store, const std::string& name, const std::string& fallback) {
    createsettingskey(store);
    std::optional<std::string> stored = store.readtext(name);
    if (stored && characterlength(*stored) <= static_cast<std::size_t>(kMaxSettingText)) {
        return *stored;
    }
    store.writetext(name, fallback);
    return fallback;
}

void savesetting(SettingsStore& store, const std::string& name, const std::string& value) {
    createsettingskey(store);
    store.writetext(name, value);
}

int32_t getsettingnum(SettingsStore& store, const std::string& name, int32_t fallback) {
    createsettingskey(store);
    std::optional<int32_t> stored = store.readnum(name);
    if (stored) return *stored;
    store.writenum(name, fallback);
    return fallback;
}

void savesettingnum(SettingsStore& store, const std::string& name, int32_t value) {
    createsettingskey(store);
    store.writenum(name, value);
}

}  // namespace qm
