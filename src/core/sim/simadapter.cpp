#include "sim/simadapter.h"

#include <algorithm>

namespace qm {

SimAdapter::SimAdapter(PicChip* chip) { attach(chip); }

void SimAdapter::attach(PicChip* chip) {
    chip_ = chip;
    if (chip_ == nullptr) return;
    chip_->setdata(dtr_);
    chip_->setclock(rts_);
    chip_->setsupply(supply_);
}

bool SimAdapter::open(const std::string& name, int32_t baud) {
    if (open_) close();
    if (std::find(unavailable_.begin(), unavailable_.end(), name) != unavailable_.end()) {
        errortext_ = "the port " + name + " cannot be opened";
        return false;
    }
    if (baud <= 0) {
        errortext_ = "the baud rate " + std::to_string(baud) + " is not valid";
        return false;
    }
    open_ = true;
    failed_ = false;
    errortext_.clear();
    name_ = name;
    baud_ = baud;
    // A freshly opened port starts with both modem outputs off.
    rts_ = false;
    dtr_ = false;
    if (chip_ != nullptr) {
        chip_->setclock(false);
        chip_->setdata(false);
    }
    return true;
}

// Closing drops RTS and DTR; the supply flip-flop is the adapter's own and keeps its state.
void SimAdapter::close() {
    if (!open_) return;
    open_ = false;
    if (!failed_) {
        rts_ = false;
        dtr_ = false;
        if (chip_ != nullptr) {
            chip_->setclock(false);
            chip_->setdata(false);
        }
    }
}

bool SimAdapter::lineop() {
    if (!open_ || failed_) return false;
    if (countdown_ == 0) {
        failed_ = true;
        countdown_ = -1;
        errortext_ = "the serial port was lost";
        return false;
    }
    if (countdown_ > 0) --countdown_;
    ++lineops_;
    return true;
}

void SimAdapter::setrts(bool on) {
    if (!lineop()) return;
    rts_ = on;
    if (chip_ != nullptr) chip_->setclock(on);
}

void SimAdapter::setdtr(bool on) {
    if (!lineop()) return;
    dtr_ = on;
    if (chip_ != nullptr) chip_->setdata(on);
}

bool SimAdapter::dsr() {
    if (!lineop()) return false;
    if (stuck_) return *stuck_;
    if (chip_ != nullptr && chip_->drivesdata()) return chip_->dataout();
    return dtr_;
}

// Only 01h flips the supply; the adapter's TD circuit ignores other bytes.
void SimAdapter::sendbyte(uint8_t byte) {
    if (!lineop()) return;
    ++bytes_;
    if (byte != 0x01) return;
    supply_ = !supply_;
    if (chip_ != nullptr) chip_->setsupply(supply_);
}

}  // namespace qm
