#include "cli/chipport.h"

#include "host/exitcode.h"
#include "link/ftdipins.h"
#include "link/portnames.h"
#include "link/portselect.h"
#include "link/stoppableport.h"
#include "platform/ftdi/ftdicable.h"
#include "platform/qtserialport.h"
#include "platform/stopsignals.h"
#include "settings/settings.h"
#include "sim/simprogrammer.h"
#include "text/leadingnumber.h"

namespace qm::cli {

namespace {

// Chip log lines shown after a run before the rest is only counted.
constexpr int kMaxChipEventLines = 10;

// The baud rate and hold time of the settings, or of --baud and --hold-us.
PortState portsettings(Session& session) {
    PortState state;
    readportsettings(state, session.settings());
    if (session.options.baud) state.baudrate = *session.options.baud;
    if (session.options.holdus) state.holdtime = *session.options.holdus;
    return state;
}

FtdiPinMap pinmap(const Session& session) {
    std::string error;
    if (!session.options.ftdipins) return {};
    return parseftdipins(*session.options.ftdipins, error).value_or(FtdiPinMap{});
}

}  // namespace

ChipPort::ChipPort() = default;
ChipPort::~ChipPort() = default;

SerialPort& ChipPort::port() { return *stoppable_; }

SerialPort& ChipPort::stoppable(SerialPort& port) {
    stoppable_ = std::make_unique<StoppablePort>(port, &StopSignals::reason);
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
    switch (spec.kind) {
        case PortSpec::Kind::Sim:
            return opensim(session, spec);
        case PortSpec::Kind::Ftdi:
        case PortSpec::Kind::FtdiSim:
            return opencable(session, spec);
        default:
            return openreal(session, spec);
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

    const PortState settings = portsettings(session);
    real_ = std::make_unique<QtSerialPort>();
    if (device.empty() || !real_->open(device, leadingnumber(settings.baudrate))) {
        session.host.setstatus(shown + " error!");
        std::string why =
            device.empty() ? "there is no COM" + std::to_string(spec.number) : real_->errortext();
        if (!device.empty()) why = device + ": " + (why.empty() ? "cannot be opened" : why);
        session.host.printerror(why);
        return kExitPort;
    }
    session.host.setstatus(shown + " ready...");
    driver_ = std::make_unique<LineDriver>(stoppable(*real_), session.host, session.activemodel);
    driver_->setholdtime(settings.holdtime);
    return kExitOk;
}

int ChipPort::opencable(Session& session, const PortSpec& spec) {
    const PortState settings = portsettings(session);
    cable_ = std::make_unique<FtdiCable>();
    const FtdiCable::Opened opened =
        cable_->open(spec, pinmap(session), leadingnumber(settings.baudrate), session.activemodel,
                     *session.clock);
    session.host.setstatus(opened.status);
    if (!opened.ok) {
        session.host.printerror(opened.messagetext("\n"));
        return kExitPort;
    }
    driver_ =
        std::make_unique<LineDriver>(stoppable(cable_->port()), session.host, session.activemodel);
    driver_->setholdtime(settings.holdtime);
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
    // Sends anything still queued and hands the lines back to the UART as they stand.
    if (cable_) cable_->close();
    SimProgrammer* const simulated = sim();
    if (simulated == nullptr) return kExitOk;
    for (const std::string& line : simulated->takefaults(kMaxChipEventLines)) {
        session.host.printerror(line);
    }
    std::string why;
    if (simulated->saveimage(why)) return kExitOk;
    session.host.printerror("The simulated chip's image " + simulated->imagepath() +
                            " was not saved: " + why);
    return kExitPort;
}

SimProgrammer* ChipPort::sim() {
    if (sim_) return sim_.get();
    return cable_ ? cable_->sim() : nullptr;
}

}  // namespace qm::cli
