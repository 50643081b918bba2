// The device database that ships beside the executables: it must load cleanly and every model
// must be usable by the rest of the program.
#include <gtest/gtest.h>

#include <optional>

#include <set>
#include <string>

#include "devices/configfields.h"
#include "devices/loaddevices.h"
#include "devices/selectmodel.h"

namespace qm {
namespace {

const std::string kShippedFile = std::string(QUELLMARK_SOURCE_DIR) + "/data/quellmarkdevices.txt";

LoadDevicesResult loadshipped() { return loaddevices(kShippedFile); }

TEST(ShippedDevices, LoadsWithoutWarningsAndListsTheRequiredChips) {
    const LoadDevicesResult loaded = loadshipped();
    ASSERT_EQ(loaded.status, LoadDevicesStatus::Ok) << loaded.error;
    for (const auto& line : formatdevicewarnings(loaded.warnings)) ADD_FAILURE() << line;

    std::set<std::string> names;
    for (int n = 1; n <= loaded.table.modelcount(); ++n) {
        EXPECT_TRUE(names.insert(loaded.table.models[n].name).second)
            << "model name used twice: " << loaded.table.models[n].name;
    }
    EXPECT_GE(names.size(), 70u);
    // The first ten keep their numbers: settings keep a model by its number.
    const char* const first[] = {"16F84A",  "16F627A", "16F628A", "16F648A", "16F873A",
                                 "16F874A", "16F876A", "16F877A", "16F87",   "16F88"};
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(loaded.table.models[n].name, first[n - 1]);
    // One of each family at least, with the parts whose calibration must be kept.
    for (const char* required :
         {"16F628", "16F877", "16F819", "16F716", "16F77", "16F777", "12F629", "12F675", "16F630",
          "16F676", "12F683", "16F690", "16F886", "16F917", "16F727", "12F615", "16F785"}) {
        EXPECT_EQ(names.count(required), 1u) << required;
    }
}

TEST(ShippedDevices, EveryModelActivatesWithValuesTheScriptsCanRunOn) {
    const LoadDevicesResult loaded = loadshipped();
    ASSERT_EQ(loaded.status, LoadDevicesStatus::Ok) << loaded.error;
    for (int n = 1; n <= loaded.table.modelcount(); ++n) {
        SCOPED_TRACE(loaded.table.models[n].name);
        ActiveModel model;
        const SelectModelResult selected = selectmodel(loaded.table, n, model);
        ASSERT_TRUE(selected.ok) << selected.message;
        EXPECT_GT(model.flashsize, 0);
        EXPECT_GE(model.eepromsize, 0);
        EXPECT_GE(model.erasedconfig[0], 0);
        EXPECT_GE(model.erasedconfig[1], 0);
        EXPECT_NE(model.voltageorder, 0);
        EXPECT_GT(model.progtime, 0);
        ASSERT_GE(model.pagesize, 1);
        // "calcflashpage" loops would run past the buffer otherwise.
        EXPECT_EQ(model.flashsize % model.pagesize, 0);
        for (const auto& steps : model.steps) {
            ASSERT_FALSE(steps.empty());
            EXPECT_EQ(steps.front(), "begin");
            EXPECT_EQ(steps.back(), "end");
        }
    }
}

TEST(ShippedDevices, TwoConfigurationWordsOnlyWhereTheScriptsHandleThem) {
    const LoadDevicesResult loaded = loadshipped();
    ASSERT_EQ(loaded.status, LoadDevicesStatus::Ok) << loaded.error;
    for (int n = 1; n <= loaded.table.modelcount(); ++n) {
        ActiveModel model;
        ASSERT_TRUE(selectmodel(loaded.table, n, model).ok);
        const bool two = model.config2used;
        // Their scripts must then read, check and write CONF2 as well.
        const auto has = [](const std::vector<std::string>& steps, const std::string& what) {
            for (const auto& step : steps) {
                if (step.find(what) != std::string::npos) return true;
            }
            return false;
        };
        EXPECT_EQ(has(model.programsteps(), "-config2"), two) << model.modelname;
        EXPECT_EQ(has(model.readsteps(), "config2=s"), two) << model.modelname;
        EXPECT_EQ(has(model.blankchecksteps(), "checkblankconfig2"), two) << model.modelname;
    }
}

// Every configuration word of every model is described by named fields that fit it: inside the
// mask, no overlap, together with the kept calibration bits the whole mask, each field's erased
// setting the erased word's bits, and every setting encoded into the erased word decodes back.
// What Program All warns of, for the fields whose meaning is the same on every family: every
// setting of CP but OFF protects program memory, CPD ON data memory; LVP ON and WDTE ON are
// warned of too. (WRT means different things on different families.)
// The pitfall the setting must carry, nothing where the field is not one of those.
std::optional<ConfigPitfall> expectedpitfall(const std::string& field, const std::string& setting) {
    if (field == "CP") return setting == "OFF" ? ConfigPitfall::kNone : ConfigPitfall::kCodeProtect;
    const std::pair<const char*, ConfigPitfall> onmeans[] = {{"CPD", ConfigPitfall::kDataProtect},
                                                             {"LVP", ConfigPitfall::kLowVoltage},
                                                             {"WDTE", ConfigPitfall::kWatchdog}};
    for (const auto& [name, pitfall] : onmeans)
        if (field == name) return setting == "ON" ? pitfall : ConfigPitfall::kNone;
    return std::nullopt;
}

TEST(ShippedDevices, EveryConfigurationWordHasFieldsThatDecodeAndEncodeIt) {
    const LoadDevicesResult loaded = loadshipped();
    ASSERT_EQ(loaded.status, LoadDevicesStatus::Ok) << loaded.error;
    size_t fields = 0;
    size_t settings = 0;
    for (int n = 1; n <= loaded.table.modelcount(); ++n) {
        ActiveModel model;
        ASSERT_TRUE(selectmodel(loaded.table, n, model).ok);
        EXPECT_EQ(model.configfields[1].empty(), !model.config2used) << model.modelname;
        for (size_t w = 0; w < (model.config2used ? 2u : 1u); ++w) {
            SCOPED_TRACE(model.modelname + " CONF" + std::to_string(w + 1));
            const ConfigFieldSet& set = model.configfields[w];
            const int32_t erased = model.erasedconfig[w];
            EXPECT_FALSE(set.empty());
            int32_t used = 0;
            for (const ConfigField& field : set) {
                SCOPED_TRACE(field.name);
                EXPECT_EQ(field.mask & ~model.configmask[w], 0);
                EXPECT_EQ(field.mask & used, 0);
                used |= field.mask;
                EXPECT_FALSE(field.title.empty());
                const ConfigSetting* blank = erasedsetting(field);
                ASSERT_NE(blank, nullptr);
                EXPECT_EQ(blank->value, erased & field.mask);
                for (const ConfigSetting& setting : field.settings) {
                    EXPECT_FALSE(setting.description.empty()) << setting.name;
                    const auto pitfall = expectedpitfall(field.name, setting.name);
                    if (pitfall) {
                        EXPECT_EQ(setting.pitfall, *pitfall) << setting.name;
                    }
                    const int32_t word = encodeconfig(erased, field, setting.value);
                    EXPECT_EQ(word & ~field.mask, erased & ~field.mask) << setting.name;
                    EXPECT_EQ(settingof(field, word), &setting) << setting.name;
                    ++settings;
                }
                ++fields;
            }
            int32_t calibrationbits = 0;
            for (const CalibrationWord& word : model.calibration)
                if (word.address == 0x2007 + int32_t(w)) calibrationbits |= word.mask;
            EXPECT_EQ(used | calibrationbits, model.configmask[w]);
            // The erased word decodes to every field's erased setting, and those encode it back.
            int32_t rebuilt = erased & ~used;
            for (const DecodedField& decoded : decodeconfig(set, erased)) {
                ASSERT_NE(decoded.setting, nullptr) << decoded.field->name;
                EXPECT_TRUE(decoded.setting->erased) << decoded.field->name;
                rebuilt = encodeconfig(rebuilt, *decoded.field, decoded.setting->value);
            }
            EXPECT_EQ(rebuilt, erased);
        }
    }
    EXPECT_GT(fields, 0u);
    EXPECT_GT(settings, fields);
}

}  // namespace
}  // namespace qm
