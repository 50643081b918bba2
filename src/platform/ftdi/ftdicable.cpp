#include "platform/ftdi/ftdicable.h"

#include "link/bitbangport.h"
#include "platform/ftdi/ftdiusb.h"
#include "sim/simprogrammer.h"

namespace qm {

FtdiCable::FtdiCable() = default;
FtdiCable::~FtdiCable() = default;

FtdiCable::Opened FtdiCable::failed(std::string message) {
    Opened opened;
    opened.status = name_ + " error!";
    opened.message = std::move(message);
    return opened;
}

FtdiCable::Opened FtdiCable::open(const PortSpec& spec, const FtdiPinMap& pins, int32_t baud,
                                  const ActiveModel& activemodel, Clock& clock) {
    FtdiTransport* transport = nullptr;
    if (spec.kind == PortSpec::Kind::FtdiSim) {
        sim_ = std::make_unique<SimProgrammer>(activemodel, clock, spec.simchip, pins);
        name_ = sim_->name();
        if (std::string refused = sim_->open(spec.path); !refused.empty())
            return failed(std::move(refused));
        transport = sim_->cable();
    } else {
        name_ = spec.path.empty() ? "FTDI cable" : "FTDI cable " + spec.path;
        transport_ = makeftditransport(clock);
        if (!transport_) {
            return failed(
                "The FT232R bit-bang back-end is not available: this program was built without "
                "libftdi1.");
        }
        transport = transport_.get();
    }
    bitbang_ = std::make_unique<BitBangPort>(*transport, clock, pins);
    // The simulated cable is opened as the first one found; the path of its port text is the
    // image.
    const std::string serial = sim_ ? std::string() : spec.path;
    if (!bitbang_->open(serial, baud)) {
        const std::string why = bitbang_->errortext();
        return failed(name_ + ": " + (why.empty() ? "cannot be opened" : why));
    }
    Opened opened;
    opened.ok = true;
    // The cable's timing rests on its measured rate; the user sees it where the cable is named.
    const std::string rate = "bit-bang rate measured: " + bitbang_->pinratetext();
    opened.status = sim_ ? sim_->statustext(rate) : name_ + " ready... (" + rate + ")";
    return opened;
}

SerialPort& FtdiCable::port() { return *bitbang_; }

void FtdiCable::close() {
    if (bitbang_) bitbang_->close();
}

}  // namespace qm
