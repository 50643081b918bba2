// The device database that ships beside the executables: it must load cleanly and every model
// must be usable by the rest of the program.
#include <gtest/gtest.h>

#include <set>
#include <string>

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

}  // namespace
}  // namespace qm
