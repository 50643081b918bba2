// Any bytes as the script kinds the device file adds beside the five operations: a model's
// calibration key, identify script and calibration read and write scripts go through the
// device file reader and model activation, and when the model is accepted they run on a
// simulated chip on virtual time, as an operation runs them. Every run must end, keep the buffer
// and its sizes, and leave the supply switched off unless the port was lost.
//
// Input: 4 bytes (chip kind, FLASH size, voltage order with an optional device ID, the point at
// which the port is lost), then up to four lines: the calibration key's value, the identify
// script, the calibration read script, the calibration write script.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "buffer/progbuffer.h"
#include "devices/activemodel.h"
#include "devices/loaddevices.h"
#include "devices/selectmodel.h"
#include "engine/calibration.h"
#include "engine/engine.h"
#include "engine/idcheck.h"
#include "fuzzhost.h"
#include "host/host.h"
#include "host/virtualclock.h"
#include "link/linedriver.h"
#include "sim/chipfamily.h"
#include "sim/picchip.h"
#include "sim/simadapter.h"

namespace {

using qm::fuzz::check;
using qm::fuzz::FuzzHost;

constexpr size_t kHeader = 4;
// sXX*N walks up to 16K commands; several such instructions stay well below this.
constexpr int64_t kLineOperations = 2'000'000;

// The input's lines after the header, at most four; a missing line is empty.
std::vector<std::string> parts(std::string_view text) {
    std::vector<std::string> out;
    while (out.size() < 4) {
        const size_t end = text.find('\n');
        out.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    out.resize(4);
    return out;
}

// After a run: nothing may be left powered on a port that still works.
void checksupply(const qm::SimAdapter& adapter) { check(adapter.failed() || !adapter.supply()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kHeader) return 0;
    const auto& names = qm::knownchipnames();
    const size_t pick = data[0] % (names.size() + 1);
    const std::string chipname = pick < names.size() ? std::string(names[pick]) : "generic";
    const int32_t flash = 16 + data[1] % 64;
    const char* order = (data[2] & 1) != 0 ? "vppvdd" : "vddvpp";
    const std::vector<std::string> text =
        parts(std::string_view(reinterpret_cast<const char*>(data + kHeader), size - kHeader));

    std::string file =
        "identifyalgdef 1: " + text[1] + "\ncalreadalgdef 1: " + text[2] +
        "\ncalwritealgdef 1: " + text[3] + "\nmodel: F\nflash: " + std::to_string(flash) +
        "\neeprom: 16\nconfigerased: 3FFF,3FFF\nconfig2used: true\nvoltageseq: " + order +
        "\nprogtime: 2\npagesize: 4\nidentifyalg: 1\n";
    if ((data[2] & 2) != 0) file += "deviceid: 1060\n";
    if (!text[0].empty()) file += "calibration: " + text[0] + "\ncalreadalg: 1\ncalwritealg: 1\n";
    const qm::LoadDevicesResult loaded = qm::parsedevices(file);
    qm::ActiveModel model;
    if (!qm::selectmodel(loaded.table, 1, model).ok) return 0;

    FuzzHost host;
    qm::PicChip chip(qm::chipfamilyformodel(chipname, model.flashsize, model.eepromsize),
                     host.clock());
    chip.setcommandlogging(false);
    qm::SimAdapter adapter(&chip);
    adapter.open("sim", 9600);
    adapter.failafter(data[3] == 0 ? -1 : int64_t(data[3]) * 64);
    qm::LineDriver driver(adapter, host, model);
    qm::ProgBuffer buffer;
    qm::clearbuffer(buffer, model);
    const qm::ProgBuffer before = buffer;
    qm::Engine engine(host, adapter, driver, model, buffer);
    engine.devices = &loaded.table;

    const qm::IdentifyRun id = qm::identify(engine);
    checksupply(adapter);
    if (host.ended) return 0;
    if (id.run.outcome == qm::RunOutcome::Completed) check(id.check.word >= 0);
    if (qm::keepscalibration(model)) {
        const qm::CalibrationRead read = qm::readcalibration(engine);
        checksupply(adapter);
        if (host.ended) return 0;
        if (read.run.outcome == qm::RunOutcome::Completed) {
            check(read.words.size() == model.calibration.size());
            (void)qm::calibrationlist(model, read.words);
            qm::writecalibration(engine, read.words);
            checksupply(adapter);
        }
    }
    // The added script kinds run on copies: the operation's buffer stays as it was.
    check(buffer.flash == before.flash && buffer.eeprom == before.eeprom &&
          buffer.conf == before.conf);
    return 0;
}
