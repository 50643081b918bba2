// The parts the simulation knows: each one's protocol, sizes, device ID, configuration words,
// write latch and factory calibration, from the programming facts.
#include <algorithm>
#include <cctype>

#include "sim/chipfamily.h"

namespace qm {

namespace {

using K = FamilyKind;

// The revisions the simulated parts report are our own choice; what counts is that they are not
// 0, so that a check comparing 2006h without its mask fails. Parts with a 4-bit revision field
// get one below 10h, the others one that uses bit 4 as well.
constexpr int32_t kRevision5Bit = 0x12;
constexpr int32_t kRevision4Bit = 0x07;

struct Part {
    std::string_view name;
    FamilyKind kind;
    int32_t flash;
    int32_t eeprom;
    int32_t id;
    bool revision4bit;
    std::array<int32_t, 2> configmask;
    int32_t latch;
    // Calibration words in configuration space: the first address and how many (0: none).
    int32_t calbase = 0;
    int32_t calcount = 0;
    // The factory OSCCAL word at the last FLASH word and band-gap bits of CONFIG1; -1: none.
    int32_t osccal = -1;
    int32_t bg = -1;
    // Code protection bits when they differ from the family's.
    int32_t cpmask = -1;
};

// Unimplemented configuration bits read 0 on every part, as the programmers' blank values imply
// [U] and as the device file's erased values say.
constexpr Part kParts[] = {
    {"16F84A", K::k84A, 1024, 64, 0x0560, false, {0x3FFF, 0}, 1},

    {"16F627", K::k62x, 1024, 128, 0x07A0, false, {0x3DFF, 0}, 1},
    {"16F628", K::k62x, 2048, 128, 0x07C0, false, {0x3DFF, 0}, 1},

    {"16F627A", K::k62xA, 1024, 128, 0x1040, false, {0x21FF, 0}, 1},
    {"16F628A", K::k62xA, 2048, 128, 0x1060, false, {0x21FF, 0}, 1},
    {"16F648A", K::k62xA, 4096, 256, 0x1100, false, {0x21FF, 0}, 1},

    {"16F870", K::k870, 2048, 64, 0x0D00, false, {0x3BFF, 0}, 1},
    {"16F871", K::k870, 2048, 64, 0x0D20, false, {0x3BFF, 0}, 1},
    {"16F872", K::k870, 2048, 64, 0x08E0, false, {0x3BFF, 0}, 1},
    {"16F873", K::k870, 4096, 128, 0x0960, false, {0x3BFF, 0}, 1},
    {"16F874", K::k870, 4096, 128, 0x0920, false, {0x3BFF, 0}, 1},
    {"16F876", K::k870, 8192, 256, 0x09E0, false, {0x3BFF, 0}, 1},
    {"16F877", K::k870, 8192, 256, 0x09A0, false, {0x3BFF, 0}, 1},

    {"16F873A", K::k87xA, 4096, 128, 0x0E40, true, {0x2FCF, 0}, 8},
    {"16F874A", K::k87xA, 4096, 128, 0x0E60, true, {0x2FCF, 0}, 8},
    {"16F876A", K::k87xA, 8192, 256, 0x0E00, true, {0x2FCF, 0}, 8},
    {"16F877A", K::k87xA, 8192, 256, 0x0E20, true, {0x2FCF, 0}, 8},

    {"16F818", K::k818, 1024, 128, 0x04C0, true, {0x3FFF, 0}, 4},
    {"16F819", K::k818, 2048, 256, 0x04E0, true, {0x3FFF, 0}, 4},

    {"16F87", K::k8788, 4096, 256, 0x0720, true, {0x3FFF, 0x0003}, 4},
    {"16F88", K::k8788, 4096, 256, 0x0760, true, {0x3FFF, 0x0003}, 4},

    {"16F716", K::k716, 2048, 0, 0x1140, false, {0x20CF, 0}, 4},

    // A single CP bit, bit 4.
    {"16F72", K::k7x, 2048, 0, 0x00A0, false, {0x005F, 0}, 2, 0, 0, -1, -1, 0x0010},
    {"16F73", K::k7x, 4096, 0, 0x0600, false, {0x005F, 0}, 2, 0, 0, -1, -1, 0x0010},
    {"16F74", K::k7x, 4096, 0, 0x0620, false, {0x005F, 0}, 2, 0, 0, -1, -1, 0x0010},
    {"16F76", K::k7x, 8192, 0, 0x0640, false, {0x005F, 0}, 2, 0, 0, -1, -1, 0x0010},
    {"16F77", K::k7x, 8192, 0, 0x0660, false, {0x005F, 0}, 2, 0, 0, -1, -1, 0x0010},
    // Two configuration words; CP is taken as bit 13 [U].
    {"16F737", K::k7x, 4096, 0, 0x0BA0, false, {0x39FF, 0x0043}, 2, 0, 0, -1, -1, 0x2000},
    {"16F747", K::k7x, 4096, 0, 0x0BE0, false, {0x39FF, 0x0043}, 2, 0, 0, -1, -1, 0x2000},
    {"16F767", K::k7x, 8192, 0, 0x0EA0, false, {0x39FF, 0x0043}, 2, 0, 0, -1, -1, 0x2000},
    {"16F777", K::k7x, 8192, 0, 0x0DE0, false, {0x39FF, 0x0043}, 2, 0, 0, -1, -1, 0x2000},

    // Factory OSCCAL (RETLW) and band-gap bits; the values are our own choice.
    {"12F629", K::k629, 1024, 128, 0x0F80, false, {0x31FF, 0}, 1, 0, 0, 0x3468, 0x1000},
    {"12F675", K::k629, 1024, 128, 0x0FC0, false, {0x31FF, 0}, 1, 0, 0, 0x3480, 0x2000},
    {"16F630", K::k629, 1024, 128, 0x10C0, false, {0x31FF, 0}, 1, 0, 0, 0x3494, 0x2000},
    {"16F676", K::k629, 1024, 128, 0x10E0, false, {0x31FF, 0}, 1, 0, 0, 0x347C, 0x1000},

    {"12F635", K::kMidrange, 1024, 128, 0x0FA0, false, {0x1FFF, 0}, 4, 0x2008, 2},
    {"16F636", K::kMidrange, 2048, 256, 0x10A0, false, {0x1FFF, 0}, 4, 0x2008, 2},
    {"16F639", K::kMidrange, 2048, 256, 0x10A0, false, {0x1FFF, 0}, 4, 0x2008, 2},
    {"12F683", K::kMidrange, 2048, 256, 0x0460, false, {0x0FFF, 0}, 4, 0x2008, 1},
    {"16F631", K::kMidrange, 1024, 128, 0x1420, false, {0x0FFF, 0}, 4, 0x2008, 1},
    {"16F677", K::kMidrange, 2048, 256, 0x1440, false, {0x0FFF, 0}, 4, 0x2008, 1},
    {"16F684", K::kMidrange, 2048, 256, 0x1080, false, {0x0FFF, 0}, 4, 0x2008, 1},
    {"16F685", K::kMidrange, 4096, 256, 0x04A0, false, {0x0FFF, 0}, 4, 0x2008, 1},
    {"16F687", K::kMidrange, 2048, 256, 0x1320, false, {0x0FFF, 0}, 4, 0x2008, 1},
    {"16F688", K::kMidrange, 4096, 256, 0x1180, false, {0x0FFF, 0}, 4, 0x2008, 1},
    {"16F689", K::kMidrange, 4096, 256, 0x1340, false, {0x0FFF, 0}, 4, 0x2008, 1},
    {"16F690", K::kMidrange, 4096, 256, 0x1400, false, {0x0FFF, 0}, 4, 0x2008, 1},

    // 4 write latches on the 16F882/883/884, 8 on the 16F886/887.
    {"16F882", K::kMidrange, 2048, 128, 0x2000, false, {0x3FFF, 0x0700}, 4, 0x2009, 1},
    {"16F883", K::kMidrange, 4096, 256, 0x2020, false, {0x3FFF, 0x0700}, 4, 0x2009, 1},
    {"16F884", K::kMidrange, 4096, 256, 0x2040, false, {0x3FFF, 0x0700}, 4, 0x2009, 1},
    {"16F886", K::kMidrange, 8192, 256, 0x2060, false, {0x3FFF, 0x0700}, 8, 0x2009, 1},
    {"16F887", K::kMidrange, 8192, 256, 0x2080, false, {0x3FFF, 0x0700}, 8, 0x2009, 1},

    // 4 or 8 write latches on the 16F913/914 [U]: 4.
    {"16F913", K::kMidrange, 4096, 256, 0x13E0, true, {0x1FFF, 0}, 4, 0x2008, 2},
    {"16F914", K::kMidrange, 4096, 256, 0x13C0, true, {0x1FFF, 0}, 4, 0x2008, 2},
    {"16F916", K::kMidrange, 8192, 256, 0x13A0, true, {0x1FFF, 0}, 8, 0x2008, 2},
    {"16F917", K::kMidrange, 8192, 256, 0x1380, true, {0x1FFF, 0}, 8, 0x2008, 2},
    {"16F946", K::kMidrange, 8192, 256, 0x1460, true, {0x1FFF, 0}, 8, 0x2008, 2},

    {"16F785", K::kMidrange, 2048, 256, 0x1200, false, {0x0FFF, 0}, 4, 0x2008, 2},
    {"16HV785", K::kMidrange, 2048, 256, 0x1220, false, {0x0FFF, 0}, 4, 0x2008, 2},

    // CONFIG1 implements 377F; CONFIG2 only VCAPEN, bits 5:4.
    {"16F722", K::k72x, 2048, 0, 0x1880, false, {0x377F, 0x0030}, 8, 0x2009, 2},
    {"16F722A", K::k72x, 2048, 0, 0x1B20, false, {0x377F, 0x0030}, 8, 0x2009, 2},
    {"16F723", K::k72x, 4096, 0, 0x1860, false, {0x377F, 0x0030}, 8, 0x2009, 2},
    {"16F723A", K::k72x, 4096, 0, 0x1B00, false, {0x377F, 0x0030}, 8, 0x2009, 2},
    {"16F724", K::k72x, 4096, 0, 0x1840, false, {0x377F, 0x0030}, 8, 0x2009, 2},
    {"16F726", K::k72x, 8192, 0, 0x1820, false, {0x377F, 0x0030}, 8, 0x2009, 2},
    {"16F727", K::k72x, 8192, 0, 0x1800, false, {0x377F, 0x0030}, 8, 0x2009, 2},

    {"12F609", K::k615, 1024, 0, 0x2240, false, {0x03FF, 0}, 1, 0x2008, 1},
    {"12HV609", K::k615, 1024, 0, 0x2280, false, {0x03FF, 0}, 1, 0x2008, 1},
    {"12F615", K::k615, 1024, 0, 0x2180, false, {0x03FF, 0}, 1, 0x2008, 1},
    {"12HV615", K::k615, 1024, 0, 0x21A0, false, {0x03FF, 0}, 1, 0x2008, 1},
    {"16F610", K::k615, 1024, 0, 0x2260, false, {0x03FF, 0}, 1, 0x2008, 1},
    {"16HV610", K::k615, 1024, 0, 0x22A0, false, {0x03FF, 0}, 1, 0x2008, 1},
    {"16F616", K::k615, 2048, 0, 0x1240, false, {0x03FF, 0}, 4, 0x2008, 1},
    {"16HV616", K::k615, 2048, 0, 0x1260, false, {0x03FF, 0}, 4, 0x2008, 1},
    {"12F617", K::k615, 2048, 0, 0x1360, false, {0x0FFF, 0}, 4, 0x2008, 1},
};

// A factory value for calibration word i of a part: our own, derived from the ID so parts
// differ, and never the erased 3FFFh.
int32_t factorycalibration(int32_t id, int32_t i) {
    return ((id >> 2) ^ 0x15A5 ^ (i * 0x0F0F)) & 0x1FFF;
}

ChipFamily build(const Part& p) {
    ChipFamily f = protocolfamily(p.kind);
    f.name = std::string(p.name);
    f.flashsize = p.flash;
    f.eepromsize = p.eeprom;
    f.deviceid = p.id;
    f.revision = p.revision4bit ? kRevision4Bit : kRevision5Bit;
    f.configmask = p.configmask;
    f.latchwords = p.latch;
    if (p.cpmask >= 0) f.cpmask = p.cpmask;
    f.calibrationbase = p.calbase;
    f.calibrationcount = p.calcount;
    for (int32_t i = 0; i < p.calcount; ++i)
        f.calibration[static_cast<size_t>(i)] = factorycalibration(p.id, i);
    f.osccal = p.osccal;
    if (p.bg >= 0) {
        f.bgmask = 0x3000;
        f.bgfactory = p.bg;
    }
    // 16F88x: the bulk program erase erases code whatever CP says, and data memory as well
    // while CPD protects it.
    if (p.kind == K::kMidrange && p.configmask[1] == 0x0700) f.bulkeraseignoresprotection = true;
    return f;
}

std::string normalisedname(std::string_view name) {
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.front()))) {
        name.remove_prefix(1);
    }
    while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back()))) {
        name.remove_suffix(1);
    }
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    if (upper.rfind("PIC", 0) == 0) upper.erase(0, 3);
    return upper;
}

const Part* findpart(std::string_view name) {
    const std::string part = normalisedname(name);
    for (const Part& p : kParts)
        if (p.name == part) return &p;
    return nullptr;
}

}  // namespace

const std::vector<std::string_view>& knownchipnames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> out;
        for (const Part& p : kParts) out.push_back(p.name);
        return out;
    }();
    return names;
}

bool knownchipname(std::string_view name) { return findpart(name) != nullptr; }

ChipFamily chipfamilyformodel(std::string_view name, int32_t flashsize, int32_t eepromsize) {
    if (const Part* part = findpart(name)) return build(*part);

    ChipFamily f = protocolfamily(FamilyKind::kGeneric);
    f.name = "generic";
    // Program memory lives in the 8K user space; data memory is addressed by the same PC.
    f.flashsize = std::clamp(flashsize, 1, 0x2000);
    f.eepromsize = std::clamp(eepromsize, 0, 0x4000);
    // An unknown part has no known ID and no known protection bits [U].
    f.deviceid = 0x3FFF;
    f.revision = 0;
    f.cpmask = 0;
    return f;
}

}  // namespace qm
