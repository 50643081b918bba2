#include "settings/settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "settings/memorysettingsstore.h"

namespace qm {
namespace {

TEST(Settings, FirstReadStoresAndReturnsTheDefault) {
    MemorySettingsStore store;
    EXPECT_EQ(getsetting(store, "Color Theme", "Original Lite"), "Original Lite");
    EXPECT_TRUE(store.istext("Color Theme"));
    // Later reads give the stored value, not the caller's default.
    EXPECT_EQ(getsetting(store, "Color Theme", "Mono Dark"), "Original Lite");

    EXPECT_EQ(getsettingnum(store, "Serial Port Number", 5), 5);
    EXPECT_TRUE(store.isnumber("Serial Port Number"));
    EXPECT_EQ(getsettingnum(store, "Serial Port Number", 9), 5);
    EXPECT_TRUE(store.haskey());
}

TEST(Settings, AFirstRunLeavesEverySettingWithItsDefault) {
    MemorySettingsStore store;
    const std::string appfolder = "/opt/quellmark/";
    EXPECT_EQ(getsetting(store, kSettingLastPath, appfolder), appfolder);
    EXPECT_EQ(getsetting(store, kSettingModel, kDefaultModel), "1");
    EXPECT_EQ(getsettingnum(store, kSettingPortNumber, kDefaultPortNumber), 2);
    EXPECT_EQ(getsetting(store, kSettingBaudRate, kDefaultBaudRate), "56000");
    EXPECT_EQ(getsetting(store, kSettingColorTheme, kDefaultColorTheme), "Original Lite");
    EXPECT_EQ(getsettingnum(store, kSettingMouseWheel, kDefaultMouseWheel), 1);
    EXPECT_EQ(getsettingnum(store, kSettingLineHoldTime, kDefaultLineHoldTime), 0);

    EXPECT_EQ(store.size(), 7u);
    EXPECT_EQ(store.readtext("Last Path"), appfolder);
    EXPECT_EQ(store.readtext("Microcontroller Model"), "1");
    EXPECT_EQ(store.readnum("Serial Port Number"), 2);
    EXPECT_EQ(store.readtext("Serial Port Baud Rate"), "56000");
    EXPECT_EQ(store.readtext("Color Theme"), "Original Lite");
    EXPECT_EQ(store.readnum("Mouse Wheel Enabled"), 1);
    EXPECT_EQ(store.readnum("Line Hold Time"), 0);
}

TEST(Settings, TextsLongerThan254CharactersCountAsMissing) {
    MemorySettingsStore store;
    const std::string longest(254, 'p');
    savesetting(store, "Last Path", longest);
    EXPECT_EQ(getsetting(store, "Last Path", "/app/"), longest);

    savesetting(store, "Last Path", std::string(255, 'p'));
    EXPECT_EQ(getsetting(store, "Last Path", "/app/"), "/app/");
    EXPECT_EQ(store.readtext("Last Path"), "/app/");

    // Characters, not bytes: 254 two-byte letters still fit, 255 do not.
    std::string accented;
    for (int i = 0; i < 254; ++i) accented += "\xC3\xA9";
    savesetting(store, "Last Path", accented);
    EXPECT_EQ(getsetting(store, "Last Path", "/app/"), accented);
    savesetting(store, "Last Path", accented + "\xC3\xA9");
    EXPECT_EQ(getsetting(store, "Last Path", "/app/"), "/app/");

    // Bytes that form no character each count as one, so junk cannot slip past the limit.
    savesetting(store, "Last Path", std::string(255, '\x80'));
    EXPECT_EQ(getsetting(store, "Last Path", "/app/"), "/app/");
}

TEST(Settings, NumbersRoundTripOverTheWhole32BitRange) {
    MemorySettingsStore store;
    for (int32_t value : {0, 1, -1, 16, -56000, std::numeric_limits<int32_t>::max(),
                          std::numeric_limits<int32_t>::min()}) {
        savesettingnum(store, "Serial Port Number", value);
        EXPECT_EQ(getsettingnum(store, "Serial Port Number", 2), value);
    }
}

TEST(Settings, AValueOfTheOtherKindIsReplacedByTheDefault) {
    MemorySettingsStore store;
    savesetting(store, "Serial Port Number", "3");
    EXPECT_EQ(getsettingnum(store, "Serial Port Number", 2), 2);
    EXPECT_TRUE(store.isnumber("Serial Port Number"));
    EXPECT_EQ(getsettingnum(store, "Serial Port Number", 7), 2);

    savesettingnum(store, "Color Theme", 12);
    EXPECT_EQ(getsetting(store, "Color Theme", "Original Lite"), "Original Lite");
    EXPECT_TRUE(store.istext("Color Theme"));
}

TEST(Settings, SavesReplaceWhateverStoodUnderTheName) {
    MemorySettingsStore store;
    savesetting(store, "Microcontroller Model", "4");
    savesetting(store, "Microcontroller Model", "");
    EXPECT_EQ(getsetting(store, "Microcontroller Model", "1"), "");  // empty text is a value
    savesettingnum(store, "Microcontroller Model", 3);
    EXPECT_TRUE(store.isnumber("Microcontroller Model"));
    EXPECT_EQ(store.size(), 1u);
}

TEST(Settings, AnUnavailableStoreGivesDefaultsAndKeepsNothing) {
    MemorySettingsStore store;
    store.setunavailable(true);
    savesetting(store, "Color Theme", "Mono Dark");
    EXPECT_EQ(getsetting(store, "Color Theme", "Original Lite"), "Original Lite");
    savesettingnum(store, "Serial Port Number", 4);
    EXPECT_EQ(getsettingnum(store, "Serial Port Number", 2), 2);
    EXPECT_EQ(store.size(), 0u);
    EXPECT_FALSE(store.haskey());
}

// Logs the store operations in order.
class RecordingStore : public MemorySettingsStore {
  public:
    std::vector<std::string> calls;
    void createkey() override {
        calls.push_back("createkey");
        MemorySettingsStore::createkey();
    }
    std::optional<std::string> readtext(const std::string& name) override {
        calls.push_back("readtext " + name);
        return MemorySettingsStore::readtext(name);
    }
    std::optional<int32_t> readnum(const std::string& name) override {
        calls.push_back("readnum " + name);
        return MemorySettingsStore::readnum(name);
    }
    void writetext(const std::string& name, const std::string& value) override {
        calls.push_back("writetext " + name);
        MemorySettingsStore::writetext(name, value);
    }
    void writenum(const std::string& name, int32_t value) override {
        calls.push_back("writenum " + name);
        MemorySettingsStore::writenum(name, value);
    }
};

TEST(Settings, EveryAccessorMakesSureOfTheKeyFirst) {
    using Calls = std::vector<std::string>;
    RecordingStore store;
    getsetting(store, "A", "x");
    EXPECT_EQ(store.calls, (Calls{"createkey", "readtext A", "writetext A"}));
    store.calls.clear();
    getsetting(store, "A", "y");
    EXPECT_EQ(store.calls, (Calls{"createkey", "readtext A"}));
    store.calls.clear();
    getsettingnum(store, "N", 1);
    EXPECT_EQ(store.calls, (Calls{"createkey", "readnum N", "writenum N"}));
    store.calls.clear();
    savesetting(store, "A", "z");
    savesettingnum(store, "N", 2);
    EXPECT_EQ(store.calls, (Calls{"createkey", "writetext A", "createkey", "writenum N"}));
}

}  // namespace
}  // namespace qm
