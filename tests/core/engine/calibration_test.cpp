// Factory calibration through the operations, with the shipped device file on simulated chips: the
// 12F675's OSCCAL word and band-gap bits kept through Program All and Erase All, a damaged OSCCAL
// refused before anything is erased, a calibration the erase destroyed reported with its values,
// and the operations without keeping.
#include <gtest/gtest.h>

#include "core/engine/simenginerig.h"
#include "text/hextext.h"

namespace qm::test {
namespace {

int32_t shippednumber(const std::string& name) {
    const DeviceTable table = loaddevices(kShippedDevices).table;
    for (int32_t n = 1; n <= table.modelcount(); ++n)
        if (table.models[size_t(n)].name == name) return n;
    return 0;
}

// A 12F675 whose last word holds 3480h and whose band-gap bits are 10, with old code in it, and a
// buffer as a HEX file for it leaves it: 3FFh unset, band-gap bits 11 in the configuration word.
struct Rig675 : SimEngineRig {
    Rig675() : SimEngineRig(kShippedDevices, shippednumber("12F675")) {
        engine.devices = &table;
        for (int32_t a = 0; a < 0x3FF; ++a) chip->setflashword(a, 0x0123);
        chip->setflashword(0x3FF, 0x3480);
        chip->setconfigword(kAddrConf1, 0x21C4);
        for (int32_t a = 0; a < 6; ++a) buffer.flash[size_t(a)] = 0x2800 + a;
        buffer.eeprom[0] = 0x42;
        buffer.conf[0] = 0x3FC4;  // unprotected; what an assembler writes for the unused bits
    }
    std::string box() const { return host.msgboxes.empty() ? "" : host.msgboxes.back().text; }
};

TEST(Calibration, ProgramAllKeepsOsccalAndBandGapBitsOfA12F675AndVerifyPasses) {
    Rig675 rig;
    ASSERT_TRUE(rig.selected);
    const OperationResult programmed = programall(rig.engine, rig.port);
    ASSERT_EQ(programmed.status, OperationStatus::Done) << rig.host.status() << rig.box();
    EXPECT_NE(std::find(rig.host.statuses.begin(), rig.host.statuses.end(),
                        "Keeping the calibration: 03FFh = 3480h, 2007h bits 13:12 = 10."),
              rig.host.statuses.end());
    EXPECT_EQ(rig.chip->flashword(0x3FF), 0x3480);
    EXPECT_EQ(rig.chip->configword(kAddrConf1), 0x21C4);
    EXPECT_EQ(rig.chip->flashword(5), 0x2805);
    EXPECT_EQ(rig.chip->flashword(6), 0x3FFF);
    // The buffer is still the file's.
    EXPECT_EQ(rig.buffer.flash[0x3FF], 0x3FFF);
    EXPECT_EQ(rig.buffer.conf[0], 0x3FC4);

    const OperationResult verified = verifyall(rig.engine, rig.port);
    EXPECT_EQ(verified.status, OperationStatus::Done) << rig.box();
    EXPECT_EQ(rig.violations(), std::vector<std::string>{});

    // Erase All keeps them too, and the chip is blank apart from them.
    ASSERT_EQ(eraseall(rig.engine, rig.port).status, OperationStatus::Done) << rig.box();
    EXPECT_EQ(rig.chip->flashword(0x3FF), 0x3480);
    EXPECT_EQ(rig.chip->configword(kAddrConf1), 0x21FF);
    EXPECT_EQ(blankcheck(rig.engine, rig.port).status, OperationStatus::Done) << rig.box();
    EXPECT_EQ(rig.chip->count(ChipEventKind::kIgnored), 0);
}

TEST(Calibration, ADamagedOsccalStopsProgramAllAndEraseAllBeforeTheErase) {
    for (Operation op : {Operation::Program, Operation::Erase}) {
        Rig675 rig;
        rig.chip->setflashword(0x3FF, 0x3FFF);  // lost to another programmer's bulk erase
        const OperationResult result = runoperation(rig.engine, op, rig.port);
        EXPECT_EQ(result.status, OperationStatus::CalibrationRefused);
        EXPECT_EQ(rig.host.status(),
                  "Operation failed: the calibration word at 03FFh reads 3FFFh, not 34XXh.");
        EXPECT_EQ(rig.box(),
                  "The calibration word at 03FFh reads 3FFFh, not 34XXh: the chip's factory "
                  "calibration seems lost already, or the chip is not a 12F675.\r\n\r\nNothing "
                  "was erased or written.");
        EXPECT_EQ(rig.chip->flashword(0), 0x0123);
        EXPECT_EQ(rig.host.enablecalls, rig.host.disablecalls);
    }
}

TEST(Calibration, WithoutKeepingTheFilesValuesAreWrittenAndVerifyThenNamesTheLostWord) {
    Rig675 rig;
    OperationChoices overwrite;
    overwrite.keepcalibration = false;
    ASSERT_EQ(programall(rig.engine, rig.port, overwrite).status, OperationStatus::Done);
    EXPECT_EQ(rig.chip->flashword(0x3FF), 0x3FFF);
    EXPECT_EQ(rig.chip->configword(kAddrConf1) & 0x3000, 0x3000);
    EXPECT_EQ(verifyall(rig.engine, rig.port, overwrite).status, OperationStatus::Done);

    // Kept again, Verify reads the chip's calibration and finds it without its form.
    const OperationResult verified = verifyall(rig.engine, rig.port);
    EXPECT_EQ(verified.status, OperationStatus::Mismatches);
    EXPECT_EQ(verified.mismatchcount, 1);
    EXPECT_NE(rig.box().find("FLASH Word 03FFh,   3FFFh,   34XXh,\r\n"), std::string::npos)
        << rig.box();
}

TEST(Calibration, AWordTheEraseDestroysFailsTheOperationWithTheValuesToWriteBack) {
    // A 16F690 whose erase is written carelessly: 09h with the PC on the calibration word.
    SimEngineRig rig(kShippedDevices, shippednumber("16F690"));
    rig.model.steps[size_t(Operation::Erase)] =
        splitsteps("begin,s00-3fff,s06,s06,s06,s06,s06,s06,s06,s06,s09,w20,s0b,w20,end");
    rig.model.calwritesteps.clear();
    const int32_t factory = rig.chip->configword(0x2008);
    const OperationResult result = eraseall(rig.engine, rig.port);
    EXPECT_EQ(result.status, OperationStatus::CalibrationLost);
    EXPECT_EQ(rig.host.status(),
              "Operation failed: the calibration was not kept: 2008h = 3FFFh "
              "instead of " +
                  hexwordh(factory) + ".");
    EXPECT_NE(rig.host.msgboxes.back().text.find("The calibration read before: 2008h = " +
                                                 hexwordh(factory)),
              std::string::npos);
}

TEST(Calibration, ALostPortAfterTheCalibrationWasReadShowsItsValues) {
    Rig675 rig;
    rig.adapter.failafter(60000);  // after the calibration read, within the programming
    const OperationResult result = programall(rig.engine, rig.port);
    EXPECT_EQ(result.status, OperationStatus::PortFailed);
    EXPECT_EQ(rig.box(),
              "The operation stopped after the chip's calibration was read: 03FFh = 3480h, 2007h "
              "bits 13:12 = 10.\r\nIf the chip was erased, it has lost these values: note them "
              "and program them back with the chip's program.");
}

}  // namespace
}  // namespace qm::test
