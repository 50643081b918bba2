// The device file's optional keys (device ID, its mask, configuration masks, identify scripts):
// read as texts like the other keys, converted at activation, and absent from old files without
// changing anything there.
#include "devices/optionalkeys.h"

#include <gtest/gtest.h>

#include "devices/loaddevices.h"
#include "devices/selectmodel.h"

namespace qm {
namespace {

const std::string kOldModel =
    "programalgdef 1: begin,s02-flash,end\n"
    "model: 16F628A\n"
    "flash: 2048\n"
    "eeprom: 128\n"
    "configerased: 3FFF,3FFF\n"
    "config2used: false\n"
    "voltageseq: vppvdd\n"
    "progtime: 5\n"
    "pagesize: 1\n"
    "programalg: 1\n";

const std::string kNewLines =
    "identifyalgdef 2: Begin,S00-3FFF,s06,TEMP=S04,end\n"
    "IdentifyAlg: 2\n"
    "identifyalgdef 2: redefined later, reaches no model read before\n"
    "DEVICEID: 0e20 (16F877A)\n"
    "deviceidmask:3FF0\n"
    "configmask: 21ff,0003\n";

TEST(OptionalKeys, ReadAsTextsAndConvertedAtActivation) {
    const LoadDevicesResult r = parsedevices(kOldModel + kNewLines);
    ASSERT_EQ(r.status, LoadDevicesStatus::Ok);
    // Only the key without its space is worth a warning, as for the original keys.
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_EQ(r.warnings[0].linenumber, 15);
    const devicemodel& m = r.table.models[1];
    EXPECT_EQ(m.optional, (std::map<std::string, std::string>{
                              {"identifyalg", "Begin,S00-3FFF,s06,TEMP=S04,end"},
                              {"deviceid", "0e20 (16F877A)"},
                              {"deviceidmask", "3FF0"},
                              {"configmask", "21ff,0003"}}));

    ActiveModel a;
    const SelectModelResult selected = selectmodel(r.table, 1, a);
    ASSERT_TRUE(selected.ok) << selected.message;
    EXPECT_EQ(a.deviceid, 0x0E20);
    EXPECT_EQ(a.deviceidmask, 0x3FF0);
    EXPECT_EQ(a.configmask, (std::array<int32_t, 2>{0x21FF, 0x0003}));
    EXPECT_EQ(a.identifysteps,
              (std::vector<std::string>{"begin", "s00-3fff", "s06", "temp=s04", "end"}));
}

TEST(OptionalKeys, AFileWithoutThemReadsAndActivatesAsBefore) {
    const LoadDevicesResult withkeys = parsedevices(kOldModel + kNewLines);
    const LoadDevicesResult without = parsedevices(kOldModel);
    ASSERT_EQ(without.status, LoadDevicesStatus::Ok);
    EXPECT_TRUE(without.warnings.empty());
    // The new lines add to the model and change none of its original fields.
    devicemodel stripped = withkeys.table.models[1];
    stripped.optional.clear();
    EXPECT_EQ(stripped, without.table.models[1]);
    EXPECT_EQ(withkeys.table.algdefs, without.table.algdefs);

    ActiveModel a;
    ASSERT_TRUE(selectmodel(without.table, 1, a).ok);
    EXPECT_EQ(a.deviceid, -1);
    EXPECT_EQ(a.deviceidmask, 0x3FE0);
    EXPECT_EQ(a.configmask, (std::array<int32_t, 2>{0x3FFF, 0x3FFF}));
    EXPECT_TRUE(a.identifysteps.empty());

    // Activating a model with the keys and then one without leaves none of them behind.
    const LoadDevicesResult both = parsedevices(kOldModel + kNewLines + kOldModel);
    ASSERT_TRUE(selectmodel(both.table, 1, a).ok);
    ASSERT_TRUE(selectmodel(both.table, 2, a).ok);
    EXPECT_EQ(a.deviceid, -1);
    EXPECT_EQ(a.configmask[0], 0x3FFF);
    EXPECT_TRUE(a.identifysteps.empty());
}

TEST(OptionalKeys, UnusableValuesRefuseTheModelWithTheReason) {
    const struct {
        const char* lines;
        const char* reason;
    } cases[] = {
        {"deviceid: 0E2\n", "the device ID \"0E2\" is not four hex digits."},
        {"identifyalg: 1\ndeviceid: 0E27\n",
         "the device ID 0E27h has bits outside its mask 3FE0h."},
        {"identifyalg: 1\ndeviceid: 0E20\ndeviceidmask: 0000\n",
         "the device ID mask 0000h leaves no bit to compare."},
        {"configmask: 21FF\n",
         "the configuration mask \"21FF\" is not two words of four hex digits (as in 21FF,3FFF)."},
        {"deviceid: 0E20\n", "it has a device ID but no identify script (identifyalg) to read it."},
        {"identifyalg: 3\ndeviceid: 0E20\n",
         "it has a device ID but no identify script (identifyalg) to read it."},
        {"identifyalg: 2\n",
         "its identify script has no \"temp=s\" instruction to read the device ID."},
    };
    for (const auto& c : cases) {
        const std::string file =
            "identifyalgdef 1: begin,temp=s04,end\n"
            "identifyalgdef 2: begin,s06,end\n" +
            kOldModel + c.lines;
        ActiveModel a;
        const SelectModelResult selected = selectmodel(parsedevices(file).table, 1, a);
        EXPECT_FALSE(selected.ok) << c.lines;
        EXPECT_EQ(selected.message, std::string("Model \"16F628A\" cannot be used: ") + c.reason);
        EXPECT_EQ(a.modelnumber, 0);
    }
}

}  // namespace
}  // namespace qm
