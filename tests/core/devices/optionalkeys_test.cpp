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
        {"calibration: 0800\ncalreadalg: 1\n",
         "its calibration key \"0800\" cannot be used: 0800h is neither a FLASH word of the "
         "model nor in 2000h-20FFh."},
        {"calibration: 03F\ncalreadalg: 1\n",
         "its calibration key \"03F\" cannot be used: \"03F\" does not start with an address of "
         "four hex digits."},
        {"calibration: 2007&0000\ncalreadalg: 1\n",
         "its calibration key \"2007&0000\" cannot be used: \"2007&0000\" has no bit mask of four "
         "hex digits from 0001 to 3FFF after '&'."},
        {"calibration: 03FF=34XY\ncalreadalg: 1\n",
         "its calibration key \"03FF=34XY\" cannot be used: the form in \"03FF=34XY\" holds 'Y', "
         "neither a hex digit nor X."},
        {"calibration: 2008 2008\ncalreadalg: 1\n",
         "its calibration key \"2008 2008\" cannot be used: 2008h is listed twice."},
        {"calibration: \ncalreadalg: 1\n",
         "its calibration key \"\" cannot be used: it lists no word."},
        {"calibration: 2008\n",
         "it keeps calibration words but has no calibration read script (calreadalg) to read "
         "them."},
        {"calreadalg: 1\n",
         "it has a calibration script but no calibration key naming the words to keep."},
        {"calibration: 2008 2009\ncalreadalg: 1\n",
         "its calibration read script never reads register cal2."},
        {"calibration: 2008\ncalreadalg: 2\n",
         "its calibration read script uses register cal2, but the calibration key lists 1 word."},
        {"calibration: 2008\ncalreadalg: 1\ncalwritealg: 1\n",
         "its calibration write script has an instruction it cannot run: 'bogus'."},
        // Identify scripts run before every operation: refused when chosen, not mid-operation.
        {"identifyalg: 4\ndeviceid: 0E20\n",
         "its identify script has an instruction it cannot run: 'bogus'."},
        {"identifyalg: 1\ndeviceid: 0000\ndeviceidmask: C000\n",
         "the device ID mask C000h has bits above the 14 bits of the device ID word (3FFFh)."},
        {"calibration: 2008\ncalreadalg: 3\n",
         "its calibration read script has an instruction whose command is not two hex digits: "
         "'szz*5'."},
        {"identifyalg: 5\n",
         "its identify script has an instruction whose data is not four hex digits from 0000 to "
         "3FFF: 's00-4000'."},
    };
    for (const auto& c : cases) {
        const std::string file =
            "identifyalgdef 1: begin,temp=s04,end\n"
            "identifyalgdef 2: begin,s06,end\n"
            "calreadalgdef 1: begin,s00-3fff,s06*8,cal1=s04,end\n"
            "calreadalgdef 2: begin,cal1=s04,cal2=s04,end\n"
            "calreadalgdef 3: begin,szz*5,cal1=s04,end\n"
            "identifyalgdef 4: begin,temp=s04,bogus,end\n"
            "identifyalgdef 5: begin,s00-4000,temp=s04,end\n"
            "calwritealgdef 1: begin,s02-cal1,bogus,end\n" +
            kOldModel + c.lines;
        ActiveModel a;
        const SelectModelResult selected = selectmodel(parsedevices(file).table, 1, a);
        EXPECT_FALSE(selected.ok) << c.lines;
        EXPECT_EQ(selected.message, std::string("Model \"16F628A\" cannot be used: ") + c.reason);
        EXPECT_EQ(a.modelnumber, 0);
    }
}

TEST(OptionalKeys, CalibrationWordsAndTheirScriptsAreConverted) {
    const std::string file =
        kOldModel +
        "calreadalgdef 3: Begin,S06*1023,CAL1=s04,s00-3fff,s06*7,cal2=s04,end\n"
        "calwritealgdef 3: begin,s02-cal1,s08,w4,end\n"
        "calibration: 03ff=34xx\t 2007&3000\n"
        "calreadalg: 3\ncalwritealg: 3\n";
    ActiveModel a;
    const SelectModelResult selected = selectmodel(parsedevices(file).table, 1, a);
    ASSERT_TRUE(selected.ok) << selected.message;
    ASSERT_EQ(a.calibration.size(), 2u);
    EXPECT_EQ(a.calibration[0], (CalibrationWord{0x03FF, 0x3FFF, 0x3F00, 0x3400, "34XX"}));
    EXPECT_EQ(a.calibration[1], (CalibrationWord{0x2007, 0x3000, 0, 0, ""}));
    EXPECT_EQ(a.calreadsteps.size(), 7u);
    EXPECT_EQ(a.calreadsteps[1], "s06*1023");
    EXPECT_EQ(a.calwritesteps.front(), "begin");
}

}  // namespace
}  // namespace qm
