#include "cli/chipport.h"

#include <algorithm>

#include "cli/exitcode.h"
#include "sim/simimage.h"
#include "link/bitbangport.h"
#include "link/ftdipins.h"
#include "link/portnames.h"
#include "link/portselect.h"
#include "platform/ftdi/ftdiusb.h"
#include "platform/qtserialport.h"
#include "settings/settings.h"
#include "sim/picchip.h"
#include "sim/simadapter.h"
#include "sim/simft232r.h"
#include "text/leadingnumber.h"

namespace qm::cli {

namespace {

// Names the simulated adapter is opened under; it accepts any.
constexpr const char* kSimPortName = "sim";
// Chip log lines shown after a run before the rest is only counted.
constexpr int kMaxChipEventLines = 10;

std::string baudtext(Session& session) {
    return session.options.baud ? *session.options.baud
                                : getsetting(session.settings(), kSettingBaudRate, kDefaultBaudRate);
}

int32_t holdus(Session& session) {
    if (session.options.holdus) return *session.options.holdus;
    return std::clamp(
        getsettingnum(session.settings(), kSettingLineHoldTime, kDefaultLineHoldTime),
        int32_t{0}, kMaxLineHoldTime);
}

FtdiPinMap pinmap(const Session& session) {
    std::string error;
    if (!session.options.ftdipins) return {};
    return parseftdipins(*session.options.ftdipins, error).value_or(FtdiPinMap{});
}

}  // namespace

ChipPort::ChipPort() = default;
ChipPort::~ChipPort() = default;

SerialPort& ChipPort::port() {
    if (bitbang_) return *bitbang_;
    if (sim_) return *sim_;
    return *real_;
}

int ChipPort::open(Session& session) {
    PortSpec spec;
    if (session.options.port) {
        spec = *parseportspec(*session.options.port);  // checked by the option parser
    } else {
        // The GUI's default port is the highest one that opens; probing is only needed when
        // nothing has been saved yet.
        PortState state;
        if (!session.settings().readnum(kSettingPortNumber)) {
            QtSerialPort probe;
            listports(state, probe);
        }
        spec.kind = PortSpec::Kind::Number;
        spec.number = getsettingnum(session.settings(), kSettingPortNumber, state.defaultport);
    }
    switch (spec.kind) {
        case PortSpec::Kind::Sim: return opensim(session, spec);
        case PortSpec::Kind::FtdiSim: return openftdisim(session, spec);
        case PortSpec::Kind::Ftdi: return openftdi(session, spec);
        default: return openreal(session, spec);
    }
}

int ChipPort::openreal(Session& session, const PortSpec& spec) {
    std::string device;
    std::string shown;
    if (spec.kind == PortSpec::Kind::Number) {
        portnumber_ = spec.number;
        device = portdevicename(spec.number);
        shown = "Serial port COM" + std::to_string(spec.number);
    } else {
        device = spec.path;
        shown = "Serial port " + spec.path;
    }

    real_ = std::make_unique<QtSerialPort>();
    if (device.empty() || !real_->open(device, leadingnumber(baudtext(session)))) {
        session.host.setstatus(shown + " error!");
        std::string why =
            device.empty() ? "there is no COM" + std::to_string(spec.number) : real_->errortext();
        if (!device.empty()) why = device + ": " + (why.empty() ? "cannot be opened" : why);
        session.host.printerror(why);
        return kExitPort;
    }
    session.host.setstatus(shown + " ready...");
    driver_ = std::make_unique<LineDriver>(*real_, session.host, session.activemodel);
    driver_->setholdtime(holdus(session));
    return kExitOk;
}

int ChipPort::openftdi(Session& session, const PortSpec& spec) {
    const std::string shown = spec.path.empty() ? "FTDI cable" : "FTDI cable " + spec.path;
    transport_ = makeftditransport();
    if (!transport_) {
        session.host.setstatus(shown + " error!");
        session.host.printerror(
            "The FT232R bit-bang back-end is not available: this program was built without "
            "libftdi1.");
        return kExitPort;
    }
    return openbitbang(session, spec.path, shown, shown + " ready...");
}

int ChipPort::openftdisim(Session& session, const PortSpec& spec) {
    sim_ = std::make_unique<SimAdapter>();
    sim_->open(kSimPortName, 9600);
    simcable_ = std::make_unique<SimFt232r>(*sim_, *session.clock, pinmap(session));
    // The chip sees each line change at the time it takes at the bit-bang rate.
    if (const int code = makesimchip(session, spec, simcable_->lineclock()); code != kExitOk) {
        return code;
    }
    sim_->attach(chip_.get());
    return openbitbang(session, "", "Simulated FT232R cable",
                       "Simulated FT232R cable ready... (chip " + chip_->family().name +
                           (imagepath_.empty() ? ")" : ", image " + imagepath_ + ")"));
}

// `serial` names the cable (empty: the first one found); `shown` names it on the status line.
int ChipPort::openbitbang(Session& session, const std::string& serial, const std::string& shown,
                          const std::string& ready) {
    FtdiTransport& transport = simcable_ ? static_cast<FtdiTransport&>(*simcable_) : *transport_;
    bitbang_ = std::make_unique<BitBangPort>(transport, pinmap(session));
    if (!bitbang_->open(serial, leadingnumber(baudtext(session)))) {
        session.host.setstatus(shown + " error!");
        const std::string why = bitbang_->errortext();
        session.host.printerror(shown + ": " + (why.empty() ? "cannot be opened" : why));
        return kExitPort;
    }
    session.host.setstatus(ready);
    driver_ = std::make_unique<LineDriver>(*bitbang_, session.host, session.activemodel);
    driver_->setholdtime(holdus(session));
    return kExitOk;
}

int ChipPort::makesimchip(Session& session, const PortSpec& spec, Clock& clock) {
    const ActiveModel& model = session.activemodel;
    chip_ = std::make_unique<PicChip>(
        chipfamilyformodel(model.modelname, model.flashsize, model.eepromsize), clock);
    // Only faults are of interest; a full command log of a large chip would be millions of lines.
    chip_->setcommandlogging(false);
    imagepath_ = spec.path;
    if (imagepath_.empty()) return kExitOk;
    return loadimage(session);
}

int ChipPort::opensim(Session& session, const PortSpec& spec) {
    if (const int code = makesimchip(session, spec, *session.clock); code != kExitOk) {
        return code;
    }
    sim_ = std::make_unique<SimAdapter>(chip_.get());
    sim_->open(kSimPortName, 9600);
    session.host.setstatus("Simulated adapter ready... (chip " + chip_->family().name +
                           (imagepath_.empty() ? ")" : ", image " + imagepath_ + ")"));
    // The simulated adapter needs no hold time; on real time it would only slow the run down.
    driver_ = std::make_unique<LineDriver>(*sim_, session.host, session.activemodel);
    return kExitOk;
}

int ChipPort::finish(Session& session) {
    if (finished_) return kExitOk;
    finished_ = true;
    // Sends anything still queued and hands the lines back to the UART as they stand.
    if (bitbang_) bitbang_->close();
    if (!chip_) return kExitOk;
    reportchipevents(session);
    if (simcable_) reportcablefaults(session);
    if (imagepath_.empty()) return kExitOk;
    return saveimage(session);
}

void ChipPort::reportchipevents(Session& session) {
    int shown = 0;
    int more = 0;
    for (const ChipEvent& event : chip_->log()) {
        if (event.kind != ChipEventKind::kViolation && event.kind != ChipEventKind::kIgnored &&
            event.kind != ChipEventKind::kUnknownCommand &&
            event.kind != ChipEventKind::kIncompleteCommand) {
            continue;
        }
        if (shown < kMaxChipEventLines) {
            session.host.printerror("simulated chip: " + describe(event));
            ++shown;
        } else {
            ++more;
        }
    }
    if (more > 0) {
        session.host.printerror("simulated chip: " + std::to_string(more) + " more");
    }
}

// What a real cable would hide: line states shorter than the chip's setup and hold time, and
// pulses on TD that the adapter could take for a supply toggle.
void ChipPort::reportcablefaults(Session& session) {
    if (simcable_->shortstates() > 0) {
        session.host.printerror("simulated cable: " + std::to_string(simcable_->shortstates()) +
                                " line states shorter than the chip's setup and hold time");
    }
    if (simcable_->txdpulses() > 0) {
        session.host.printerror("simulated cable: " + std::to_string(simcable_->txdpulses()) +
                                " pulses on TD in bit-bang mode");
    }
}

int ChipPort::loadimage(Session& session) {
    std::string why;
    if (loadchipimage(*chip_, imagepath_, why)) return kExitOk;
    session.host.printerror("The simulated chip's image " + imagepath_ + " cannot be used:\n" +
                            why);
    return kExitPort;
}

int ChipPort::saveimage(Session& session) {
    std::string why;
    if (savechipimage(*chip_, imagepath_, why)) return kExitOk;
    session.host.printerror("The simulated chip's image " + imagepath_ + " was not saved: " + why);
    return kExitPort;
}

}  // namespace qm::cli
