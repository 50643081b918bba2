#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "core/testhost.h"
#include "devices/activemodel.h"
#include "link/linedriver.h"
#include "sim/chipfamily.h"
#include "sim/picchip.h"
#include "sim/simadapter.h"

namespace qm::test {

// A simulated chip in the simulated adapter, driven through the real line driver on virtual
// time, with the steps scripts are made of.
struct SimRig {
    explicit SimRig(std::string_view part, int32_t flash = 0, int32_t eeprom = 0)
        : chip(chipfamilyformodel(part, flash, eeprom), host.clock()) {
        host.countingclock().recordsleeps = false;
        model.voltageorder = 1;
        adapter.open("sim", 9600);
    }

    void wait(int ms) { host.clock().sleepms(ms); }
    void waitus(int us) { host.clock().sleep(std::chrono::microseconds(us)); }

    void begin() { driver.poweron(); }
    void end() { driver.poweroff(); }
    void cmd(int32_t code) { driver.sendcmd(code); }
    void load(int32_t code, int32_t data) { driver.sendcmddata(code, data); }
    int32_t read(int32_t code) { return driver.readcmddata(code); }
    void increment(int times = 1) {
        for (int i = 0; i < times; ++i) driver.sendcmd(0x06);
    }
    // Load Configuration, then on to the address in configuration space.
    void toconfig(int32_t address, int32_t data = 0x3FFF) {
        load(0x00, data);
        increment(address - 0x2000);
    }

    std::vector<std::string> violations() const {
        std::vector<std::string> out;
        for (const auto& e : chip.log()) {
            if (e.kind == ChipEventKind::kViolation) out.push_back(e.text);
        }
        return out;
    }
    std::vector<std::string> ignored() const {
        std::vector<std::string> out;
        for (const auto& e : chip.log()) {
            if (e.kind == ChipEventKind::kIgnored) out.push_back(e.text);
        }
        return out;
    }

    TestHost host;
    ActiveModel model;
    PicChip chip;
    SimAdapter adapter{&chip};
    LineDriver driver{adapter, host, model};
};

}  // namespace qm::test
