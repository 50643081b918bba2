// The simulated families against the shipped device file: each family's chip refuses the scripts
// of every other family, each family's erase clears a code-protected chip, and the chips that
// need a pause after End Programming report a script that leaves it out.
#include <gtest/gtest.h>

#include <map>

#include "core/engine/simenginerig.h"

namespace qm::test {
namespace {

// The first shipped model of every simulated family, by family.
const std::map<FamilyKind, int32_t>& representatives() {
    static const std::map<FamilyKind, int32_t> reps = [] {
        std::map<FamilyKind, int32_t> out;
        const DeviceTable table = loaddevices(kShippedDevices).table;
        for (int32_t n = 1; n <= table.modelcount(); ++n) {
            const std::string& name = table.models[size_t(n)].name;
            out.emplace(chipfamilyformodel(name, 0, 0).kind, n);
        }
        return out;
    }();
    return reps;
}

// Whether the chip of `rig` takes the way `other` erases, programs and keeps calibration: with the
// chip's own sizes, its image is programmed and erased without a fault or a refusal, the chip's
// own verify and blank check pass, and its calibration words are as they were.
bool accepts(SimEngineRig& rig, const ActiveModel& other) {
    const ActiveModel own = rig.model;
    for (Operation op : {Operation::Erase, Operation::Program})
        rig.model.steps[size_t(op)] = other.steps[size_t(op)];
    rig.model.progtime = other.progtime;
    rig.model.pagesize = other.pagesize;
    rig.model.calibration = other.calibration;
    rig.model.calreadsteps = other.calreadsteps;
    rig.model.calwritesteps = other.calwritesteps;
    OperationChoices insist;
    insist.idcheck = false;  // the user insists, as with --no-id-check

    for (int32_t a = 0; a < 8; ++a) rig.buffer.flash[size_t(a)] = 0x2800 + a;
    if (!rig.buffer.eeprom.empty()) rig.buffer.eeprom[1] = 0x5A;
    rig.buffer.conf = rig.configvalues();
    const std::vector<int32_t> factory = chipcalibration(*rig.chip, own);
    const auto faultless = [&rig] {
        for (const ChipEvent& e : rig.chip->log())
            if (isfault(e.kind)) return false;
        return true;
    };
    const auto checked = [&rig, &own, &insist](OperationResult (*check)(Engine&, const PortState&,
                                                                        const OperationChoices&)) {
        ActiveModel changed = rig.model;
        rig.model = own;
        const bool passed = check(rig.engine, rig.port, insist).status == OperationStatus::Done;
        rig.model = changed;
        return passed;
    };
    return programall(rig.engine, rig.port, insist).status == OperationStatus::Done &&
           faultless() && checked(verifyall) &&
           eraseall(rig.engine, rig.port, insist).status == OperationStatus::Done && faultless() &&
           checked(blankcheck) && chipcalibration(*rig.chip, own) == factory;
}

TEST(SimulatedFamilies, EachChipTakesItsOwnScriptsAndRefusesEveryOtherFamilys) {
    // The 16F627A/628A/648A write one word per internally timed 08h, with waits longer than the
    // DS41204 family needs, and erase as it does: those chips take them, as the real ones take
    // a programmer's single-word writes.
    const std::pair<FamilyKind, FamilyKind> compatible{FamilyKind::kMidrange, FamilyKind::k62xA};
    ASSERT_EQ(representatives().size(), 13u);
    for (const auto& [chipkind, chipmodel] : representatives()) {
        for (const auto& [scriptkind, scriptmodel] : representatives()) {
            SimEngineRig rig(kShippedDevices, chipmodel);
            const SimEngineRig other(kShippedDevices, scriptmodel);
            SCOPED_TRACE(rig.model.modelname + " chip, " + other.model.modelname + " scripts");
            EXPECT_EQ(accepts(rig, other.model),
                      chipkind == scriptkind || std::pair(chipkind, scriptkind) == compatible);
        }
    }
}

TEST(SimulatedFamilies, EachFamilysEraseClearsACodeProtectedChip) {
    for (const auto& [kind, number] : representatives()) {
        SimEngineRig rig(kShippedDevices, number);
        SCOPED_TRACE(rig.model.modelname);
        const ChipFamily& family = rig.chip->family();
        const std::vector<int32_t> factory = chipcalibration(*rig.chip, rig.model);
        rig.chip->setflashword(0, 0x1234);
        rig.chip->seteeprombyte(0, 0x12);
        rig.chip->setconfigword(kAddrConf1, 0x3FFF & ~family.cpmask & ~family.cpdmask);
        ASSERT_TRUE(rig.chip->codeprotected());
        // A protected chip reads its program memory as 0, so an OSCCAL word there cannot be kept.
        OperationChoices choices;
        choices.keepcalibration = family.osccal < 0;
        ASSERT_EQ(eraseall(rig.engine, rig.port, choices).status, OperationStatus::Done)
            << rig.host.status();
        EXPECT_FALSE(rig.chip->codeprotected());
        EXPECT_FALSE(rig.chip->dataprotected());
        EXPECT_EQ(rig.chip->flashword(0), 0x3FFF);
        EXPECT_EQ(rig.chip->eeprombyte(0), rig.model.eepromsize > 0 ? 0xFF : -1);
        EXPECT_EQ(rig.violations(), std::vector<std::string>{});
        if (choices.keepcalibration) {
            EXPECT_EQ(chipcalibration(*rig.chip, rig.model), factory);
        }
    }
}

TEST(SimulatedFamilies, ProgrammingWithoutThePauseAfterEndProgrammingIsATimingFault) {
    const DeviceTable table = loaddevices(kShippedDevices).table;
    for (const std::string name : {"16F877A", "16F88", "16F819"}) {
        int32_t number = 1;
        while (number < table.modelcount() && table.models[size_t(number)].name != name) ++number;
        SimEngineRig rig(kShippedDevices, number);
        SCOPED_TRACE(rig.model.modelname);
        rig.fillbuffer();
        // The shipped program script with every w1 after 17h taken out.
        std::vector<std::string>& steps = rig.model.steps[size_t(Operation::Program)];
        std::vector<std::string> hurried;
        for (size_t i = 0; i < steps.size(); ++i) {
            hurried.push_back(steps[i]);
            if (steps[i] == "s17" && i + 1 < steps.size() && steps[i + 1] == "w1") ++i;
        }
        ASSERT_LT(hurried.size(), steps.size());
        steps = hurried;
        programall(rig.engine, rig.port);
        const std::vector<std::string> violations = rig.violations();
        ASSERT_FALSE(violations.empty());
        EXPECT_NE(violations.front().find(" ms into a 0.1 ms discharge after End Programming"),
                  std::string::npos)
            << violations.front();
    }
}

}  // namespace
}  // namespace qm::test
