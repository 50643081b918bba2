#pragma once

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "buffer/progbuffer.h"
#include "core/testhost.h"
#include "devices/activemodel.h"
#include "devices/loaddevices.h"
#include "devices/selectmodel.h"
#include "engine/calibration.h"
#include "engine/chipoperations.h"
#include "engine/engine.h"
#include "link/linedriver.h"
#include "link/portselect.h"
#include "sim/chipfamily.h"
#include "sim/picchip.h"
#include "sim/simadapter.h"

namespace qm::test {

inline const std::string kTestDevices =
    std::string(QUELLMARK_TEST_DATA) + "/engine/testdevices.txt";
inline const std::string kShippedDevices =
    std::string(QUELLMARK_SOURCE_DIR) + "/data/quellmarkdevices.txt";

// Models of tests/data/engine/testdevices.txt.
enum TestModel { k84A = 1, k628A = 2, k877A = 3, k88 = 4, k84ANoWait = 5 };

// The words a model keeps as the chip holds them (before it is programmed: its factory values).
inline std::vector<int32_t> chipcalibration(const PicChip& chip, const ActiveModel& model) {
    std::vector<int32_t> words;
    for (const CalibrationWord& word : model.calibration)
        words.push_back(word.address < kAddrIdFirst ? chip.flashword(word.address)
                                                    : chip.configword(word.address));
    return words;
}

// What the chip holds after Program All of `image`: the image with the chip's calibration kept.
inline ProgBuffer withcalibration(ProgBuffer image, const PicChip& chip, const ActiveModel& model) {
    mergecalibration(image, model, chipcalibration(chip, model));
    return image;
}

// CONF1 3FFCh (protection off, oscillator bits cleared) and CONF2 with its lowest implemented bit
// cleared, as the family stores and reads them back: neither is the erased value, so a script
// that never writes a word fails Verify.
inline std::array<int32_t, 2> configvalues(const ActiveModel& model, const ChipFamily& family) {
    std::array<int32_t, 2> values = model.erasedconfig;
    for (size_t i = 0; i < 2; ++i) {
        const int32_t mask = family.configmask[i];
        const int32_t written = i == 0 ? 0x3FFC : 0x3FFF & ~(mask & -mask);
        if (mask != 0) values[i] = (written & mask) | (~mask & family.unimplementedfill & 0x3FFF);
    }
    return values;
}

// A buffer image with every location used, and configuration words the family keeps as written.
inline void fillimage(ProgBuffer& buffer, const ActiveModel& model, const ChipFamily& family,
                      int32_t seed) {
    for (size_t i = 0; i < buffer.flash.size(); ++i)
        buffer.flash[i] = int32_t((i * 0x2F1 + size_t(seed) * 7 + 0x155) & 0x3FFF);
    for (size_t i = 0; i < buffer.eeprom.size(); ++i)
        buffer.eeprom[i] = int32_t((i * 29 + size_t(seed) + 3) & 0xFF);
    buffer.conf = configvalues(model, family);
}

// The whole program below the window: a device file, the active model, the buffer, the engine,
// and a simulated chip of the model's family in the simulated adapter, on virtual time.
struct SimEngineRig {
    SimEngineRig(const std::string& devicefile, int32_t modelnumber,
                 std::string_view chipname = {}) {
        const LoadDevicesResult loaded = loaddevices(devicefile);
        table = loaded.table;
        selected = selectmodel(table, modelnumber, model).ok;
        const std::string name = chipname.empty() ? model.modelname : std::string(chipname);
        chip = std::make_unique<PicChip>(
            chipfamilyformodel(name, model.flashsize, model.eepromsize), host.clock());
        chip->setcommandlogging(false);
        adapter.attach(chip.get());
        adapter.open("sim", 56000);
        host.countingclock().recordsleeps = false;
        clearbuffer(buffer, model);
        port.portnumber = 1;
        port.portready = true;
    }
    explicit SimEngineRig(int32_t modelnumber, std::string_view chipname = {})
        : SimEngineRig(kTestDevices, modelnumber, chipname) {}

    // A buffer image with every location used, and configuration words the family keeps as
    // written (unprotected, unimplemented bits as the chip reads them).
    void fillbuffer(int32_t seed = 0) { fillimage(buffer, model, chip->family(), seed); }
    std::array<int32_t, 2> configvalues() const {
        return qm::test::configvalues(model, chip->family());
    }

    std::vector<std::string> violations() const {
        std::vector<std::string> out;
        for (const ChipEvent& e : chip->log())
            if (e.kind == ChipEventKind::kViolation) out.push_back(e.text);
        return out;
    }

    // What the chip holds, in buffer form.
    std::vector<int32_t> chipflash() const {
        return std::vector<int32_t>(chip->flash().begin(), chip->flash().begin() + model.flashsize);
    }

    DeviceTable table;
    bool selected = false;
    TestHost host;
    ActiveModel model;
    ProgBuffer buffer;
    std::unique_ptr<PicChip> chip;
    SimAdapter adapter;
    LineDriver driver{adapter, host, model};
    Engine engine{host, adapter, driver, model, buffer};
    PortState port;
};

}  // namespace qm::test
