#include "devices/selectmodel.h"

#include <gtest/gtest.h>

#include "devices/loaddevices.h"

namespace qm {
namespace {

using Steps = std::vector<std::string>;

devicemodel model(std::string name, std::string flash, std::string eeprom,
                  std::string configerased = "3FFF,3FFF") {
    devicemodel m;
    m.name = std::move(name);
    m.flash = std::move(flash);
    m.eeprom = std::move(eeprom);
    m.configerased = std::move(configerased);
    return m;
}

DeviceTable table(std::vector<devicemodel> models) {
    DeviceTable t;
    for (devicemodel& m : models) t.models.push_back(std::move(m));
    return t;
}

TEST(SelectModel, ConvertsEveryField) {
    const LoadDevicesResult file = parsedevices(
        "erasealgdef 0: Begin,CalcFlash,End\n"
        "verifyalgdef 1: a,,b\n"
        "model: Chip One\n"
        "flash: 2048.5 words\n"
        "eeprom:  256\n"
        "configerased: 3fff,0FF0\n"
        "config2used: TRUE\n"
        "voltageseq: VPPVDD\n"
        "progtime: 7\n"
        "pagesize: x\n"
        "erasealg: 0\n"
        "programalg: 0\n"
        "verifyalg: 1\n");
    ActiveModel a;
    const SelectModelResult r = selectmodel(file.table, 1, a);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(a.modelnumber, 1);
    EXPECT_EQ(a.modelname, "Chip One");
    EXPECT_EQ(a.flashsize, 2048);
    EXPECT_EQ(a.eepromsize, 256);
    EXPECT_EQ(a.erasedconfig[0], 0x3FFF);
    EXPECT_EQ(a.erasedconfig[1], 0x0FF0);
    EXPECT_TRUE(a.config2used);
    EXPECT_EQ(a.voltageorder, 2);
    EXPECT_EQ(a.progtime, 7);
    EXPECT_EQ(a.pagesize, 0);
    EXPECT_EQ(a.erasesteps(), (Steps{"begin", "calcflash", "end"}));
    EXPECT_EQ(a.programsteps(), (Steps{""}));
    EXPECT_EQ(a.readsteps(), (Steps{""}));
    EXPECT_EQ(a.verifysteps(), (Steps{"a", "", "b"}));
}

TEST(SelectModel, ErasedConfigNeedsFourHexDigitsEach) {
    struct Case {
        const char* text;
        int32_t conf1, conf2;
    } cases[] = {{"3FFF,3FFF", 0x3FFF, 0x3FFF},
                 {"3fff;3fff", 0x3FFF, 0x3FFF},
                 {"3FFF", 0x3FFF, -1},
                 {"3FFF,", 0x3FFF, -1},
                 {"3FF,3FFF", -1, -1},
                 {"", -1, -1},
                 {"1234 5678 junk", 0x1234, 0x5678},
                 {"12G4,3FF", -1, -1}};
    for (const Case& c : cases) {
        ActiveModel a;
        ASSERT_TRUE(selectmodel(table({model("m", "1", "0", c.text)}), 1, a).ok);
        EXPECT_EQ(a.erasedconfig[0], c.conf1) << c.text;
        EXPECT_EQ(a.erasedconfig[1], c.conf2) << c.text;
    }
}

TEST(SelectModel, UnknownWordsKeepThePreviousModelsValues) {
    devicemodel first = model("first", "16", "0");
    first.config2used = "true";
    first.voltageseq = "vddvpp";
    devicemodel second = model("second", "16", "0");
    second.config2used = "yes";
    second.voltageseq = "vdd vpp";
    devicemodel third = model("third", "16", "0");
    third.config2used = "False";
    const DeviceTable t = table({first, second, third});

    ActiveModel a;
    ASSERT_TRUE(selectmodel(t, 2, a).ok);
    EXPECT_FALSE(a.config2used);
    EXPECT_EQ(a.voltageorder, 0);
    ASSERT_TRUE(selectmodel(t, 1, a).ok);
    ASSERT_TRUE(selectmodel(t, 2, a).ok);
    EXPECT_EQ(a.modelname, "second");
    EXPECT_TRUE(a.config2used);
    EXPECT_EQ(a.voltageorder, 1);
    ASSERT_TRUE(selectmodel(t, 3, a).ok);
    EXPECT_FALSE(a.config2used);
    EXPECT_EQ(a.voltageorder, 1);
}

TEST(SplitSteps, CutsAtEveryCommaWithoutTrimming) {
    EXPECT_EQ(splitsteps("a, b"), (Steps{"a", " b"}));
    EXPECT_EQ(splitsteps("x,y,"), (Steps{"x", "y"}));
    EXPECT_EQ(splitsteps(""), (Steps{""}));
    EXPECT_EQ(splitsteps(","), (Steps{""}));
    EXPECT_EQ(splitsteps(",,"), (Steps{"", ""}));
    EXPECT_EQ(splitsteps("Wait 5 ,DATA"), (Steps{"wait 5 ", "data"}));
}

TEST(SelectModel, RefusesUnusableModelsAndKeepsTheActiveOne) {
    devicemodel good = model("Good", "1024", "128");
    good.progtime = "4";
    good.alg[0] = "begin,end";
    const DeviceTable t = table({good, model("NoFlash", "none", "0"), model("BadE2", "64", "-2"),
                                 model("Huge", "9000", "0"), model("HugeE2", "64", "30000")});
    ActiveModel a;
    ASSERT_TRUE(selectmodel(t, 1, a).ok);
    a.progtime = 20;  // set by the user; must survive a refused activation
    const ActiveModel before = a;

    const SelectModelResult noflash = selectmodel(t, 2, a);
    EXPECT_FALSE(noflash.ok);
    EXPECT_EQ(noflash.message,
              "Model \"NoFlash\" cannot be used: the FLASH size \"none\" gives 0 words, at least 1 "
              "is needed.");
    const SelectModelResult bade2 = selectmodel(t, 3, a);
    EXPECT_FALSE(bade2.ok);
    EXPECT_EQ(bade2.message,
              "Model \"BadE2\" cannot be used: the EEPROM size \"-2\" gives -2 bytes, which is "
              "negative.");
    EXPECT_FALSE(selectmodel(t, 4, a).ok);
    EXPECT_FALSE(selectmodel(t, 5, a).ok);
    for (int32_t n : {0, -1, 6}) EXPECT_FALSE(selectmodel(t, n, a).ok);
    EXPECT_EQ(selectmodel(t, 6, a).message,
              "Model number 6 is not in the device file, which lists 5 models.");

    EXPECT_TRUE(a == before);

    ASSERT_TRUE(selectmodel(t, 1, a).ok);
    EXPECT_EQ(a.progtime, 4);
}

TEST(StartupModelNumber, FallsBackToModelOneAndAsksForASave) {
    EXPECT_EQ(startupmodelnumber("3", 5).modelnumber, 3);
    EXPECT_FALSE(startupmodelnumber("3", 5).savedefault);
    EXPECT_FALSE(startupmodelnumber("5", 5).savedefault);
    for (const char* text : {"0", "6", "abc", "", "-2"}) {
        const StartupModel s = startupmodelnumber(text, 5);
        EXPECT_EQ(s.modelnumber, 1) << text;
        EXPECT_TRUE(s.savedefault) << text;
    }
}

}  // namespace
}  // namespace qm
