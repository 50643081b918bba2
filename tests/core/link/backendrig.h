#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/engine/simenginerig.h"
#include "core/link/linestatetap.h"
#include "link/bitbangport.h"
#include "sim/simft232r.h"

namespace qm::test {

// The program below the window on one of its two ways to the simulated chip: the serial
// back-end (the line driver on the simulated adapter) or the FT232R bit-bang back-end (the line
// driver on a bit-bang port over a simulated cable). Either way a tap just before the adapter
// keeps the line states that reach it. Virtual time; the chip runs on the cable's clock.
struct BackEndRig {
    BackEndRig(const std::string& devicefile, int32_t modelnumber, bool bitbang,
               FtdiPinMap pins = {}, int32_t baud = 56000) {
        table = loaddevices(devicefile).table;
        selected = selectmodel(table, modelnumber, model).ok;
        clearbuffer(buffer, model);
        adapter.open("sim", baud);
        tap = std::make_unique<LineStateTap>(adapter);
        Clock* chipclock = &host.clock();
        if (bitbang) {
            cable = std::make_unique<SimFt232r>(*tap, host.clock(), pins);
            chipclock = &cable->lineclock();
        }
        tap->clock = chipclock;
        chip = std::make_unique<PicChip>(
            chipfamilyformodel(model.modelname, model.flashsize, model.eepromsize), *chipclock);
        chip->setcommandlogging(false);
        adapter.attach(chip.get());
        SerialPort* line = tap.get();
        if (bitbang) {
            port = std::make_unique<BitBangPort>(*cable, host.clock(), pins);
            opened = port->open("", baud);
            line = port.get();
            // What plugging in and opening did, kept apart from what the driver does.
            openstates = std::exchange(tap->states, {});
            tap->times.clear();
        }
        driver = std::make_unique<LineDriver>(*line, host, model);
        engine = std::make_unique<Engine>(host, *line, *driver, model, buffer);
        host.countingclock().recordsleeps = false;
        state.portnumber = 1;
        state.portready = true;
    }

    int32_t violations() const { return chip->count(ChipEventKind::kViolation); }

    TestHost host;
    DeviceTable table;
    bool selected = false;
    bool opened = true;
    std::vector<int16_t> openstates;
    ActiveModel model;
    ProgBuffer buffer;
    PortState state;
    SimAdapter adapter;
    std::unique_ptr<LineStateTap> tap;
    std::unique_ptr<SimFt232r> cable;  // bit-bang only
    std::unique_ptr<PicChip> chip;
    std::unique_ptr<BitBangPort> port;  // bit-bang only
    std::unique_ptr<LineDriver> driver;
    std::unique_ptr<Engine> engine;
};

}  // namespace qm::test
