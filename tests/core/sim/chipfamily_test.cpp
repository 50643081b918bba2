#include "sim/chipfamily.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(ChipFamilyForModel, RecognisesPartNamesWithOrWithoutPicInAnyCase) {
    for (const char* name : {"PIC16F628A", "16F628A", "pic16f628a", "  16f628A \t"}) {
        const ChipFamily f = chipfamilyformodel(name, 0, 0);
        EXPECT_EQ(f.kind, FamilyKind::k62xA) << name;
        EXPECT_EQ(f.name, "16F628A") << name;
        EXPECT_EQ(f.flashsize, 2048) << name;
        EXPECT_EQ(f.eepromsize, 128) << name;
    }
    EXPECT_EQ(chipfamilyformodel("16F629", 2048, 128).kind, FamilyKind::kGeneric);
    EXPECT_EQ(chipfamilyformodel("16F628AX", 2048, 128).kind, FamilyKind::kGeneric);
    EXPECT_EQ(chipfamilyformodel("16F8", 4096, 256).kind, FamilyKind::kGeneric);
}

TEST(ChipFamilyForModel, EveryKnownPartHasItsFamilySizesAndId) {
    struct Part {
        const char* name;
        FamilyKind kind;
        int32_t flash;
        int32_t eeprom;
        int32_t id;
        int32_t latch;
    };
    const Part parts[] = {
        {"16F84A", FamilyKind::k84A, 1024, 64, 0x0560, 1},
        {"16F627A", FamilyKind::k62xA, 1024, 128, 0x1040, 1},
        {"16F628A", FamilyKind::k62xA, 2048, 128, 0x1060, 1},
        {"16F648A", FamilyKind::k62xA, 4096, 256, 0x1100, 1},
        {"16F873A", FamilyKind::k87xA, 4096, 128, 0x0E40, 8},
        {"16F874A", FamilyKind::k87xA, 4096, 128, 0x0E60, 8},
        {"16F876A", FamilyKind::k87xA, 8192, 256, 0x0E00, 8},
        {"16F877A", FamilyKind::k87xA, 8192, 256, 0x0E20, 8},
        {"16F87", FamilyKind::k8788, 4096, 256, 0x0720, 4},
        {"16F88", FamilyKind::k8788, 4096, 256, 0x0760, 4},
    };
    for (const Part& p : parts) {
        // The device file's sizes do not change a real part.
        const ChipFamily f = chipfamilyformodel(p.name, 16, 16);
        EXPECT_EQ(f.kind, p.kind) << p.name;
        EXPECT_EQ(f.flashsize, p.flash) << p.name;
        EXPECT_EQ(f.eepromsize, p.eeprom) << p.name;
        EXPECT_EQ(f.deviceid, p.id) << p.name;
        EXPECT_EQ(f.latchwords, p.latch) << p.name;
        EXPECT_EQ(f.configmask[1] != 0, p.kind == FamilyKind::k8788) << p.name;
    }
}

TEST(ChipFamilyForModel, GenericSizesAreKeptInsideTheAddressSpace) {
    const ChipFamily f = chipfamilyformodel("12F999", 0x3000, -4);
    EXPECT_EQ(f.kind, FamilyKind::kGeneric);
    EXPECT_EQ(f.flashsize, 0x2000);
    EXPECT_EQ(f.eepromsize, 0);
    EXPECT_EQ(chipfamilyformodel("", 0, 0).flashsize, 1);
    EXPECT_EQ(f.commands[0x08].action, ChipAction::kBeginEraseProgram);
}

}  // namespace
}  // namespace qm
