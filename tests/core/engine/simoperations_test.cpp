// Whole chip operations on the simulated chips of four families, with scripts written from the
// programming-interface facts (tests/data/engine/testdevices.txt).
#include <gtest/gtest.h>

#include "core/engine/simenginerig.h"
#include "text/hextext.h"

namespace qm::test {
namespace {

bool startswith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

struct Family {
    TestModel model;
    const char* name;
};

const Family kFamilies[] = {
    {k84A, "16F84A"}, {k628A, "16F628A"}, {k877A, "16F877A"}, {k88, "16F88"}};

TEST(SimOperations, ProgramAllThenVerify) {
    for (const Family& f : kFamilies) {
        SCOPED_TRACE(f.name);
        SimEngineRig rig(f.model);
        ASSERT_TRUE(rig.selected);
        ASSERT_EQ(rig.chip->family().name, f.name);
        rig.fillbuffer();

        const OperationResult programmed = programall(rig.engine, rig.port);
        EXPECT_EQ(programmed.status, OperationStatus::Done);
        EXPECT_TRUE(startswith(rig.host.status(), "Chip programmed. ")) << rig.host.status();
        EXPECT_EQ(rig.violations(), std::vector<std::string>{});
        EXPECT_EQ(rig.chipflash(), rig.buffer.flash);
        EXPECT_EQ(rig.chip->eeprom(), rig.buffer.eeprom);
        EXPECT_EQ(rig.chip->configword(kAddrConf1), rig.buffer.conf[0]);
        if (rig.model.config2used) {
            EXPECT_EQ(rig.chip->configword(kAddrConf2), rig.buffer.conf[1]);
        }
        EXPECT_FALSE(rig.adapter.supply());

        const OperationResult verified = verifyall(rig.engine, rig.port);
        EXPECT_EQ(verified.status, OperationStatus::Done);
        EXPECT_TRUE(startswith(rig.host.status(), "Chip verified. ")) << rig.host.status();
        EXPECT_TRUE(rig.host.msgboxes.empty());
    }
}

TEST(SimOperations, ProgramAllOfAPartialImageLeavesTheRestErased) {
    for (const Family& f : kFamilies) {
        SCOPED_TRACE(f.name);
        SimEngineRig rig(f.model);
        // Old contents everywhere, which Program All's erase must remove.
        for (int32_t i = 0; i < rig.model.flashsize; ++i) rig.chip->setflashword(i, 0x0123);
        rig.buffer.flash[0] = 0x2805;
        rig.buffer.flash[13] = 0x0008;  // the middle of a 4- or 8-word block
        rig.buffer.eeprom[2] = 0x5A;
        rig.buffer.conf = rig.configvalues();
        EXPECT_EQ(programall(rig.engine, rig.port).status, OperationStatus::Done);
        EXPECT_EQ(rig.violations(), std::vector<std::string>{});
        EXPECT_EQ(verifyall(rig.engine, rig.port).status, OperationStatus::Done)
            << (rig.host.msgboxes.empty() ? "" : rig.host.msgboxes.back().text.substr(0, 300));
    }
}

TEST(SimOperations, ReadAllIntoAClearedBufferGivesBackTheChip) {
    for (const Family& f : kFamilies) {
        SCOPED_TRACE(f.name);
        SimEngineRig rig(f.model);
        rig.fillbuffer(5);
        ASSERT_EQ(programall(rig.engine, rig.port).status, OperationStatus::Done);
        const ProgBuffer written = rig.buffer;

        rig.buffer.flash.assign(rig.buffer.flash.size(), 0);  // must not survive Read All
        const int displays = rig.host.updatedisplaycalls;
        EXPECT_EQ(readall(rig.engine, rig.port).status, OperationStatus::Done);
        EXPECT_TRUE(startswith(rig.host.status(), "Chip read. ")) << rig.host.status();
        EXPECT_EQ(rig.buffer.flash, written.flash);
        EXPECT_EQ(rig.buffer.eeprom, written.eeprom);
        EXPECT_EQ(rig.buffer.conf[0], written.conf[0]);
        if (rig.model.config2used) {
            EXPECT_EQ(rig.buffer.conf[1], written.conf[1]);
        }
        EXPECT_EQ(rig.host.updatedisplaycalls, displays + 2);
    }
}

TEST(SimOperations, EraseAllThenBlankCheck) {
    for (const Family& f : kFamilies) {
        SCOPED_TRACE(f.name);
        SimEngineRig rig(f.model);
        rig.fillbuffer(9);
        ASSERT_EQ(programall(rig.engine, rig.port).status, OperationStatus::Done);
        EXPECT_EQ(blankcheck(rig.engine, rig.port).status, OperationStatus::Mismatches);
        EXPECT_TRUE(startswith(rig.host.status(), "Chip is not blank. "));

        EXPECT_EQ(eraseall(rig.engine, rig.port).status, OperationStatus::Done);
        EXPECT_TRUE(startswith(rig.host.status(), "Chip erased. "));
        EXPECT_EQ(rig.violations(), std::vector<std::string>{});
        const size_t boxes = rig.host.msgboxes.size();
        EXPECT_EQ(blankcheck(rig.engine, rig.port).status, OperationStatus::Done);
        EXPECT_TRUE(startswith(rig.host.status(), "Chip is blank. ")) << rig.host.status();
        EXPECT_EQ(rig.host.msgboxes.size(), boxes);
        for (int32_t i = 0; i < rig.model.flashsize; ++i)
            ASSERT_EQ(rig.chip->flashword(i), 0x3FFF) << i;
    }
}

TEST(SimOperations, OneChangedWordFailsVerifyWithItsLine) {
    SimEngineRig rig(k877A);
    rig.fillbuffer();
    ASSERT_EQ(programall(rig.engine, rig.port).status, OperationStatus::Done);
    const int32_t onchip = rig.buffer.flash[0x123];
    rig.buffer.flash[0x123] = onchip ^ 0x0040;

    const OperationResult result = verifyall(rig.engine, rig.port);
    EXPECT_EQ(result.status, OperationStatus::Mismatches);
    EXPECT_EQ(result.mismatchcount, 1);
    EXPECT_TRUE(startswith(rig.host.status(), "Chip verify failed. ")) << rig.host.status();
    ASSERT_EQ(rig.host.msgboxes.size(), 1u);
    EXPECT_EQ(rig.host.msgboxes[0].text,
              "Chip verify failed:\r\n\r\n"
              "Memory Location,   Read Value,   Expected,\r\n"
              "FLASH Word 0123h,   " +
                  hexwordh(onchip) + ",   " + hexwordh(onchip ^ 0x0040) + ",\r\n");
    EXPECT_EQ(rig.host.msgboxes[0].type, 16);
}

TEST(SimOperations, ChangedEepromByteAndConfigWordShowInTheReport) {
    SimEngineRig rig(k88);
    rig.fillbuffer();
    ASSERT_EQ(programall(rig.engine, rig.port).status, OperationStatus::Done);
    rig.buffer.eeprom[0x41] ^= 0xFF;
    rig.buffer.conf[1] = 0x0001;
    EXPECT_EQ(verifyall(rig.engine, rig.port).status, OperationStatus::Mismatches);
    const std::string& text = rig.host.msgboxes.at(0).text;
    EXPECT_NE(text.find("EEPROM Byte 0041h,   " + hexbyteh(rig.buffer.eeprom[0x41] ^ 0xFF) +
                        ",   " + hexbyteh(rig.buffer.eeprom[0x41]) + ",\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("CONF Word 2008h,   0002h,   0001h,\r\n"), std::string::npos) << text;
}

TEST(SimOperations, WithoutTheProgrammingWaitTheChipIsWrongAndVerifyCatchesIt) {
    SimEngineRig rig(k84ANoWait, "16F84A");
    rig.fillbuffer();
    EXPECT_EQ(programall(rig.engine, rig.port).status, OperationStatus::Done);
    EXPECT_FALSE(rig.violations().empty());
    EXPECT_NE(rig.chipflash(), rig.buffer.flash);

    const OperationResult result = verifyall(rig.engine, rig.port);
    EXPECT_EQ(result.status, OperationStatus::Mismatches);
    EXPECT_EQ(result.mismatchcount, 25);
    EXPECT_TRUE(startswith(rig.host.status(), "Chip verify failed. "));
}

// The report of a blank check that finds n non-blank FLASH words, byte for byte.
std::string blankreport(int32_t n) {
    std::string text = "Chip is not blank:\r\n\r\nMemory Location,   Read Value,   Expected,\r\n";
    for (int32_t a = 0; a < n; ++a)
        text += "FLASH Word " + hexwordh(a * 3) + ",   " + hexwordh(a) + ",   3FFFh,\r\n";
    return text;
}

TEST(SimOperations, BlankCheckStopsAtTheTwentyFifthMismatch) {
    for (int32_t dirty : {30, 40}) {
        SCOPED_TRACE(dirty);
        SimEngineRig rig(k628A);
        for (int32_t a = 0; a < dirty; ++a) rig.chip->setflashword(a * 3, a);
        rig.chip->seteeprombyte(0, 0x00);  // never reached: the limit skips to the last "end"
        const OperationResult result = blankcheck(rig.engine, rig.port);
        EXPECT_EQ(result.status, OperationStatus::Mismatches);
        EXPECT_EQ(result.mismatchcount, 25);
        ASSERT_EQ(rig.host.msgboxes.size(), 1u);
        EXPECT_EQ(rig.host.msgboxes[0].text, blankreport(25));
        EXPECT_FALSE(rig.adapter.supply());  // the last instruction, "end", still ran
    }
}

TEST(SimOperations, PortLostDuringProgramAll) {
    SimEngineRig rig(k877A);
    rig.fillbuffer();
    rig.adapter.failafter(20000);
    const OperationResult result = programall(rig.engine, rig.port);
    EXPECT_EQ(result.status, OperationStatus::PortFailed);
    EXPECT_EQ(rig.host.status(), "Operation failed: the serial port was lost.");
    EXPECT_EQ(rig.host.disablecalls, 1);
    EXPECT_EQ(rig.host.enablecalls, 1);
    // The run stopped within one instruction: a few hundred words at most were attempted.
    int progress = 0;
    for (const std::string& s : rig.host.statuses) progress += startswith(s, "F:") ? 1 : 0;
    EXPECT_LT(progress, 400);
    // The next operation refuses the lost port.
    EXPECT_EQ(verifyall(rig.engine, rig.port).status, OperationStatus::PortNotReady);
    EXPECT_EQ(rig.host.status(), "Serial port 1 error!");
}

}  // namespace
}  // namespace qm::test
