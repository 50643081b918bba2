#include "sim/simprogrammer.h"

#include <utility>

#include "sim/chipfamily.h"
#include "sim/simimage.h"

namespace qm {

namespace {

// The name the simulated adapter is opened under; it accepts any.
constexpr const char* kSimPortName = "sim";

// The simulated chip for the socket, nullptr for an empty one.
std::unique_ptr<PicChip> socketchip(const ActiveModel& activemodel, Clock& clock,
                                    std::string_view chipname) {
    if (chipname == kEmptySocket) return nullptr;
    const bool ofmodel = chipname.empty();
    ChipFamily family = chipfamilyformodel(ofmodel ? activemodel.modelname : chipname,
                                           activemodel.flashsize, activemodel.eepromsize);
    // A part the simulation does not know stands for the model's chip, ID included.
    if (ofmodel && family.kind == FamilyKind::kGeneric && activemodel.deviceid >= 0) {
        family.deviceid = activemodel.deviceid;
    }
    auto chip = std::make_unique<PicChip>(std::move(family), clock);
    // Only faults are of interest; a full command log of a large chip would be millions of lines.
    chip->setcommandlogging(false);
    return chip;
}

}  // namespace

SimProgrammer::SimProgrammer(const ActiveModel& activemodel, Clock& clock,
                             std::string_view chipname, std::optional<FtdiPinMap> cable)
    : cable_(cable ? std::make_unique<SimFt232r>(adapter_, clock, *cable) : nullptr),
      // Behind a cable the chip sees each line change at the time it takes at the bit-bang rate.
      chipclock_(cable_ ? cable_->lineclock() : clock),
      chip_(socketchip(activemodel, chipclock_, chipname)) {}

SimProgrammer::~SimProgrammer() = default;

std::string SimProgrammer::open(const std::string& imagepath) {
    std::string why;
    if (!loadimage(imagepath, why))
        return "The simulated chip's image " + imagepath + " cannot be used:\r\n" + why;
    adapter_.attach(chip_.get());
    adapter_.open(kSimPortName, 9600);
    markstart();
    return {};
}

void SimProgrammer::markstart() { start_ = chipclock_.now(); }

bool SimProgrammer::loadimage(const std::string& imagepath, std::string& why) {
    imagepath_ = imagepath;
    imageloaded_.clear();
    if (!imagepath_.empty() && !chip_) {
        why = "an empty socket keeps no image";
        return false;
    }
    if (!imagepath_.empty()) {
        if (!loadchipimage(*chip_, imagepath_, why)) return false;
        imageloaded_ = chipimagetext(*chip_);
    }
    return true;
}

std::string SimProgrammer::name() const {
    return cable_ ? "Simulated FT232R cable" : "Simulated adapter";
}

std::string SimProgrammer::statustext(const std::string& more) const {
    std::string text = name() + " ready... (";
    text += chip_ ? "chip " + chip_->family().name : std::string("no chip");
    if (chip_ && !imagepath_.empty()) text += ", image " + imagepath_;
    if (!more.empty()) text += ", " + more;
    return text + ")";
}

std::string SimProgrammer::saveimage() {
    if (imagepath_.empty() || !chip_) return {};
    // A run that did not change the chip leaves the image file exactly as it was, or absent.
    std::string now = chipimagetext(*chip_);
    if (now == imageloaded_) return {};
    std::string why;
    if (!savechipimage(imagepath_, now, why))
        return "The simulated chip's image " + imagepath_ + " was not saved: " + why;
    imageloaded_ = std::move(now);
    return {};
}

std::vector<std::string> SimProgrammer::takefaults(int maxlines) {
    std::vector<std::string> lines;
    int more = 0;
    static const std::vector<ChipEvent> kNoEvents;
    for (const ChipEvent& event : chip_ ? chip_->log() : kNoEvents) {
        if (!isfault(event.kind)) continue;
        if (static_cast<int>(lines.size()) < maxlines) {
            lines.push_back("Simulated chip at " + formatms(event.time - start_) +
                            " ms: " + eventtext(event));
        } else {
            ++more;
        }
    }
    if (more > 0) lines.push_back("Simulated chip: " + std::to_string(more) + " more faults");
    if (cable_) takecablefaults(lines);
    // A real adapter would stay powered too; the simulated one can say so.
    if (adapter_.supply()) lines.push_back("Simulated chip: the supply is still on");
    if (chip_) chip_->clearlog();
    return lines;
}

// What a real cable would hide: line states too short for the chip, and pulses on TD that the
// adapter could take for a supply toggle.
void SimProgrammer::takecablefaults(std::vector<std::string>& lines) {
    if (const int64_t shortstates = cable_->shortstates() - shortstates_; shortstates > 0) {
        lines.push_back("Simulated cable: " + std::to_string(shortstates) +
                        " line states shorter than the chip's setup and hold time");
    }
    if (const int64_t pulses = cable_->txdpulses() - txdpulses_; pulses > 0) {
        lines.push_back("Simulated cable: " + std::to_string(pulses) +
                        " pulses on TD in bit-bang mode");
    }
    shortstates_ = cable_->shortstates();
    txdpulses_ = cable_->txdpulses();
}

}  // namespace qm
