#include "cli/chipport.h"

#include <algorithm>

#include "cli/exitcode.h"
#include "cli/stoppableport.h"
#include "cli/stopsignals.h"
#include "link/portnames.h"
#include "link/portselect.h"
#include "platform/qtserialport.h"
#include "settings/settings.h"
#include "sim/simprogrammer.h"
#include "text/leadingnumber.h"

namespace qm::cli {

namespace {

// Chip log lines shown after a run before the rest is only counted.
constexpr int kMaxChipEventLines = 10;

}  // namespace

ChipPort::ChipPort() = default;
ChipPort::~ChipPort() = default;

SerialPort& ChipPort::port() { return *stoppable_; }

SerialPort& ChipPort::stoppable(SerialPort& port) {
    stoppable_ = std::make_unique<StoppablePort>(port, &StopSignals::received);
    return *stoppable_;
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
    return spec.kind == PortSpec::Kind::Sim ? opensim(session, spec) : openreal(session, spec);
}

int ChipPort::openreal(Session& session, const PortSpec& spec) {
    const std::string baudtext =
        session.options.baud ? *session.options.baud
                             : getsetting(session.settings(), kSettingBaudRate, kDefaultBaudRate);
    const int32_t holdus = session.options.holdus
                               ? *session.options.holdus
                               : std::clamp(getsettingnum(session.settings(), kSettingLineHoldTime,
                                                          kDefaultLineHoldTime),
                                            int32_t{0}, kMaxLineHoldTime);

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
    if (device.empty() || !real_->open(device, leadingnumber(baudtext))) {
        session.host.setstatus(shown + " error!");
        std::string why =
            device.empty() ? "there is no COM" + std::to_string(spec.number) : real_->errortext();
        if (!device.empty()) why = device + ": " + (why.empty() ? "cannot be opened" : why);
        session.host.printerror(why);
        return kExitPort;
    }
    session.host.setstatus(shown + " ready...");
    driver_ = std::make_unique<LineDriver>(stoppable(*real_), session.host, session.activemodel);
    driver_->setholdtime(holdus);
    return kExitOk;
}

int ChipPort::opensim(Session& session, const PortSpec& spec) {
    sim_ = std::make_unique<SimProgrammer>(session.activemodel, *session.clock, spec.simchip);
    std::string why;
    if (!sim_->open(spec.path, why)) {
        session.host.printerror("The simulated chip's image " + spec.path + " cannot be used:\n" +
                                why);
        return kExitPort;
    }
    session.host.setstatus(sim_->statustext());
    // The simulated adapter needs no hold time; on real time it would only slow the run down.
    driver_ =
        std::make_unique<LineDriver>(stoppable(sim_->port()), session.host, session.activemodel);
    return kExitOk;
}

int ChipPort::finish(Session& session) {
    if (finished_) return kExitOk;
    finished_ = true;
    if (!sim_) return kExitOk;
    for (const std::string& line : sim_->takefaults(kMaxChipEventLines)) {
        session.host.printerror(line);
    }
    std::string why;
    if (sim_->saveimage(why)) return kExitOk;
    session.host.printerror("The simulated chip's image " + sim_->imagepath() +
                            " was not saved: " + why);
    return kExitPort;
}

}  // namespace qm::cli
