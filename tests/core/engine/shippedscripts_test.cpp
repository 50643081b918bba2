// The scripts of the shipped device file, run on the simulated chip of every model: whatever a
// user's chip goes through must work there first.
#include <gtest/gtest.h>

#include "core/engine/simenginerig.h"

namespace qm::test {
namespace {

TEST(ShippedScripts, EveryModelProgramsVerifiesReadsAndErases) {
    const LoadDevicesResult loaded = loaddevices(kShippedDevices);
    ASSERT_EQ(loaded.status, LoadDevicesStatus::Ok) << loaded.error;
    ASSERT_GT(loaded.table.modelcount(), 0);
    for (int n = 1; n <= loaded.table.modelcount(); ++n) {
        SimEngineRig rig(kShippedDevices, n);
        SCOPED_TRACE(rig.model.modelname);
        ASSERT_TRUE(rig.selected);
        rig.fillbuffer(n);
        // The chip keeps its calibration words whatever the image holds there.
        const ProgBuffer image = withcalibration(rig.buffer, *rig.chip, rig.model);

        EXPECT_EQ(programall(rig.engine, rig.port).status, OperationStatus::Done)
            << rig.host.status();
        EXPECT_EQ(rig.violations(), std::vector<std::string>{});
        EXPECT_EQ(verifyall(rig.engine, rig.port).status, OperationStatus::Done)
            << rig.host.status();

        EXPECT_EQ(readall(rig.engine, rig.port).status, OperationStatus::Done);
        EXPECT_EQ(rig.buffer.flash, image.flash);
        EXPECT_EQ(rig.buffer.eeprom, image.eeprom);
        EXPECT_EQ(rig.buffer.conf[0] & rig.model.configmask[0],
                  image.conf[0] & rig.model.configmask[0]);

        EXPECT_EQ(eraseall(rig.engine, rig.port).status, OperationStatus::Done);
        EXPECT_EQ(blankcheck(rig.engine, rig.port).status, OperationStatus::Done)
            << rig.host.status();
        EXPECT_EQ(rig.violations(), std::vector<std::string>{});
        EXPECT_FALSE(rig.adapter.supply());
        EXPECT_EQ(rig.chip->count(ChipEventKind::kProtocolFault), 0);
    }
}

}  // namespace
}  // namespace qm::test
