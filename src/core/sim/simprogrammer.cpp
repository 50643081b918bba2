#include "sim/simprogrammer.h"

#include <filesystem>
#include <system_error>

#include "sim/chipfamily.h"
#include "sim/simimage.h"

namespace qm {

namespace {

// The name the simulated adapter is opened under; it accepts any.
constexpr const char* kSimPortName = "sim";

}  // namespace

SimProgrammer::SimProgrammer(const ActiveModel& activemodel, Clock& clock)
    : chip_(std::make_unique<PicChip>(
          chipfamilyformodel(activemodel.modelname, activemodel.flashsize, activemodel.eepromsize),
          clock)) {
    // Only faults are of interest; a full command log of a large chip would be millions of lines.
    chip_->setcommandlogging(false);
}

bool SimProgrammer::open(const std::string& imagepath, std::string& why) {
    imagepath_ = imagepath;
    imageloaded_.clear();
    if (!imagepath_.empty()) {
        if (!loadchipimage(*chip_, imagepath_, why)) return false;
        std::error_code ec;
        if (std::filesystem::exists(imagepath_, ec)) imageloaded_ = chipimagetext(*chip_);
    }
    adapter_.attach(chip_.get());
    adapter_.open(kSimPortName, 9600);
    return true;
}

std::string SimProgrammer::statustext() const {
    return "Simulated adapter ready... (chip " + chip_->family().name +
           (imagepath_.empty() ? ")" : ", image " + imagepath_ + ")");
}

bool SimProgrammer::saveimage(std::string& why) {
    if (imagepath_.empty()) return true;
    // A run that did not change the chip leaves the image file exactly as it was.
    if (!imageloaded_.empty() && chipimagetext(*chip_) == imageloaded_) return true;
    if (!savechipimage(*chip_, imagepath_, why)) return false;
    imageloaded_ = chipimagetext(*chip_);
    return true;
}

std::vector<std::string> SimProgrammer::takefaults(int maxlines) {
    std::vector<std::string> lines;
    int more = 0;
    for (const ChipEvent& event : chip_->log()) {
        if (!isfault(event.kind)) continue;
        if (static_cast<int>(lines.size()) < maxlines) {
            lines.push_back("simulated chip: " + describe(event));
        } else {
            ++more;
        }
    }
    if (more > 0) lines.push_back("simulated chip: " + std::to_string(more) + " more");
    // A real adapter would stay powered too; the simulated one can say so.
    if (adapter_.supply()) lines.push_back("simulated chip: the supply is still on");
    chip_->clearlog();
    return lines;
}

}  // namespace qm
