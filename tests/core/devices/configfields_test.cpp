// Named configuration fields: the device file lines that define them, the models that use them,
// and decoding and encoding a configuration word by them.
#include "devices/configfields.h"

#include <gtest/gtest.h>

#include "devices/loaddevices.h"
#include "devices/selectmodel.h"

namespace qm {
namespace {

// A small family: CONF1 with a split oscillator field and a one-bit field, CONF2 with one field.
constexpr const char* kFamily =
    "configfield 1: FOSC 0013 oscillator\n"
    "configsetting 1: FOSC 0010 INTOSCIO internal oscillator, RA6 and RA7 are I/O\n"
    "configsetting 1: fosc 0013* EXTRCCLK external RC on RA7, clock out on RA6\n"
    "configfield 1: WDTE 0004 watchdog timer\n"
    "configsetting 1: WDTE 0000 OFF watchdog timer off\n"
    "configsetting 1: WDTE 0004* ON watchdog timer on\n"
    "configfield 2: IESO 0002 two-speed start-up\n"
    "configsetting 2: IESO 0000 OFF two-speed start-up off\n"
    "configsetting 2: IESO 0002* ON two-speed start-up on\n";

std::string chip(const std::string& keys) {
    return "model: Chip\nflash: 1024\neeprom: 0\nconfigerased: 3FFF,3FFF\n" + keys;
}

TEST(ConfigFieldLines, AreReadIntoNumberedSetsAndNamedByTheModel) {
    const LoadDevicesResult file = parsedevices(
        std::string(kFamily) + chip("config2used: true\nconfigfields: 1\nconfig2fields: 2\n"));
    EXPECT_EQ(file.warningcount, 0u);
    ActiveModel model;
    const SelectModelResult selected = selectmodel(file.table, 1, model);
    ASSERT_TRUE(selected.ok) << selected.message;
    ASSERT_EQ(model.configfields[0].size(), 2u);
    const ConfigField& fosc = model.configfields[0][0];
    EXPECT_EQ(fosc.name, "FOSC");
    EXPECT_EQ(fosc.mask, 0x0013);
    EXPECT_EQ(fosc.title, "oscillator");
    EXPECT_EQ(fosc.settings,
              (std::vector<ConfigSetting>{
                  {0x0010, "INTOSCIO", "internal oscillator, RA6 and RA7 are I/O", false},
                  {0x0013, "EXTRCCLK", "external RC on RA7, clock out on RA6", true}}));
    ASSERT_EQ(model.configfields[1].size(), 1u);
    EXPECT_EQ(model.configfields[1][0].name, "IESO");

    // A model that names no set has none; the other keys keep working as before.
    EXPECT_TRUE(selectmodel(parsedevices(std::string(kFamily) + chip("")).table, 1, model).ok);
    EXPECT_TRUE(model.configfields[0].empty());
    EXPECT_TRUE(model.configfields[1].empty());
}

TEST(ConfigFieldLines, WarningLinesMarkTheSettingsProgramAllWarnsOf) {
    const LoadDevicesResult file = parsedevices(
        std::string(kFamily) + "configwarning 1: wdte Watchdog on\n" + chip("configfields: 1\n"));
    EXPECT_EQ(file.warningcount, 0u);
    ActiveModel model;
    ASSERT_TRUE(selectmodel(file.table, 1, model).ok);
    const ConfigField& wdte = model.configfields[0][1];
    EXPECT_EQ(wdte.settings[0].pitfall, ConfigPitfall::kNone);
    EXPECT_EQ(wdte.settings[1].pitfall, ConfigPitfall::kWatchdog);
}

TEST(ConfigFieldLines, LinesThatBreakTheFormatAreWarningsWithTheirLineNumber) {
    struct Case {
        const char* line;
        const char* reason;
    };
    const Case cases[] = {
        {"configfield 0: CP 2000 protection", "ignored, field set number 0 is outside 1 to 99"},
        {"configsetting 100: CP 2000 OFF off", "ignored, field set number 100 is outside 1 to 99"},
        {"configfield 3 CP 2000 protection", "ignored, no colon after the field set number"},
        {"configfield 3: CP 2000", "ignored, a field needs a name, a mask and a title"},
        {"configfield 3: CP 20G0 protection",
         "ignored, the mask \"20G0\" is not four hex digits from 0001 to 3FFF"},
        {"configfield 3: CP 0000 protection",
         "ignored, the mask \"0000\" is not four hex digits from 0001 to 3FFF"},
        {"configfield 1: WDTE 0008 again", "ignored, field set 1 already has a field WDTE"},
        {"configsetting 1: CP 2000 OFF off",
         "ignored, field set 1 has no field CP before this line"},
        {"configsetting 1: WDTE 0004 ON",
         "ignored, a setting needs a field name, a value, a "
         "setting name and a description"},
        {"configsetting 1: WDTE 04* ON on",
         "ignored, the value \"04*\" is not four hex digits from 0000 to 3FFF (with '*' after the "
         "erased one)"},
        {"configwarning 1: WDTE watchdog",
         "ignored, a warning needs a field name, a kind and settings"},
        {"configwarning 1: CP codeprotect ON",
         "ignored, field set 1 has no field CP before this line"},
        {"configwarning 1: WDTE barks ON",
         "ignored, \"barks\" is not codeprotect, dataprotect, writeprotect, lowvoltage or "
         "watchdog"},
        {"configwarning 1: WDTE watchdog ON SOMETIMES",
         "ignored, field WDTE has no setting SOMETIMES before this line"},
    };
    for (const Case& c : cases) {
        const LoadDevicesResult file =
            parsedevices(std::string(kFamily) + "\n" + c.line + "\n" + chip("configfields: 1\n"));
        ASSERT_EQ(file.warnings.size(), 1u) << c.line;
        EXPECT_EQ(file.warnings[0].linenumber, 11) << c.line;
        EXPECT_EQ(file.warnings[0].reason, c.reason) << c.line;
        // The line changed nothing: the model still activates with the family's two fields.
        ActiveModel model;
        ASSERT_TRUE(selectmodel(file.table, 1, model).ok) << c.line;
        EXPECT_EQ(model.configfields[0].size(), 2u) << c.line;
    }
}

TEST(ConfigFieldLines, ActivationRefusesAModelWhoseFieldsCannotBeUsed) {
    struct Case {
        const char* extra;  // device file lines before the model
        const char* keys;   // the model's keys
        const char* why;
    };
    const Case cases[] = {
        {"", "configfields: x\n",
         "its configfields key \"x\" is not a field set number from 1 to 99."},
        {"", "configfields: 7\n",
         "it names field set 7 (configfields), which the device file "
         "does not define."},
        {"", "config2fields: 2\n",
         "it names field set 2 (config2fields) but has no second "
         "configuration word (config2used is not true)."},
        {"", "configmask: 3FEF,3FFF\nconfigfields: 1\n",
         "in its field set 1 (configfields) the field FOSC (0013h) has bits outside the CONF1 "
         "mask 3FEFh."},
        {"configfield 5: PWRTE 000C timer\n"
         "configsetting 5: PWRTE 000C* OFF off\n"
         "configfield 5: WDTE 0004 watchdog\n"
         "configsetting 5: WDTE 0004* ON on\n",
         "configfields: 5\n",
         "in its field set 5 (configfields) the fields PWRTE (000Ch) and WDTE (0004h) overlap."},
        {"configfield 5: WDTE 0004 watchdog\n"
         "configsetting 5: WDTE 0004* ON on\n"
         "configsetting 5: WDTE 0008 OFF off\n",
         "configfields: 5\n",
         "in its field set 5 (configfields) the field WDTE (mask 0004h) has the setting OFF with "
         "bits outside it: 0008h."},
        {"configfield 5: WDTE 0004 watchdog\n"
         "configsetting 5: WDTE 0004* ON on\n"
         "configsetting 5: WDTE 0004 ALSO on\n",
         "configfields: 5\n",
         "in its field set 5 (configfields) the field WDTE names the value 0004h twice (ON and "
         "ALSO)."},
        {"configfield 5: WDTE 0004 watchdog\n", "configfields: 5\n",
         "in its field set 5 (configfields) the field WDTE has no setting."},
        {"configfield 5: WDTE 0004 watchdog\n"
         "configsetting 5: WDTE 0004 ON on\n"
         "configsetting 5: WDTE 0000 OFF off\n",
         "configfields: 5\n",
         "in its field set 5 (configfields) the field WDTE marks 0 erased settings with '*'; it "
         "needs exactly one."},
        {"configfield 5: WDTE 0004 watchdog\n"
         "configsetting 5: WDTE 0004* ON on\n"
         "configsetting 5: WDTE 0000* OFF off\n",
         "configfields: 5\n",
         "in its field set 5 (configfields) the field WDTE marks 2 erased settings with '*'; it "
         "needs exactly one."},
    };
    for (const Case& c : cases) {
        const LoadDevicesResult file = parsedevices(std::string(kFamily) + c.extra + chip(c.keys));
        ActiveModel model;
        model.modelname = "before";
        const SelectModelResult selected = selectmodel(file.table, 1, model);
        EXPECT_FALSE(selected.ok) << c.why;
        EXPECT_EQ(selected.message, std::string("Model \"Chip\" cannot be used: ") + c.why);
        EXPECT_EQ(model.modelname, "before");
    }
}

TEST(ConfigFields, DecodeDescribesEachFieldAndSaysWhenNoSettingMatches) {
    const LoadDevicesResult file = parsedevices(std::string(kFamily) + chip("configfields: 1\n"));
    ActiveModel model;
    ASSERT_TRUE(selectmodel(file.table, 1, model).ok);
    const ConfigFieldSet& fields = model.configfields[0];
    struct Case {
        int32_t word;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {0x3FFF,
         {"FOSC = EXTRCCLK   external RC on RA7, clock out on RA6",
          "WDTE = ON   watchdog timer on"}},
        {0x3FE8, {"FOSC = 0000h   no setting has these bits", "WDTE = OFF   watchdog timer off"}},
        {0x0014,
         {"FOSC = INTOSCIO   internal oscillator, RA6 and RA7 are I/O",
          "WDTE = ON   watchdog timer on"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        for (const DecodedField& decoded : decodeconfig(fields, c.word))
            lines.push_back(describefield(decoded));
        EXPECT_EQ(lines, c.lines) << c.word;
    }
}

}  // namespace
}  // namespace qm
