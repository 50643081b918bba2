#include "platform/port/programmerport.h"

#include <utility>

#include "link/ftdipins.h"
#include "link/portnames.h"
#include "platform/ftdi/ftdicable.h"
#include "platform/qtserialport.h"
#include "settings/settings.h"
#include "sim/simprogrammer.h"
#include "text/leadingnumber.h"

namespace qm {

namespace {

// Simulated chip faults listed after a run before the rest is only counted.
constexpr int kMaxFaultLines = 10;

std::unique_ptr<SerialPort> ownserialport(const ProgrammerPort::Setup& setup) {
    if (setup.serialport != nullptr) return nullptr;
    return std::make_unique<QtSerialPort>();
}

std::function<std::string()> stopreasonof(const ProgrammerPort::Setup& setup) {
    if (setup.stopreason) return setup.stopreason;
    return [] { return std::string(); };
}

}  // namespace

ProgrammerPort::ProgrammerPort(Setup setup)
    : setup_(std::move(setup)),
      ownserial_(ownserialport(setup_)),
      serial_(setup_.serialport != nullptr ? setup_.serialport : ownserial_.get()),
      stoppable_(*serial_, stopreasonof(setup_)),
      driver_(stoppable_, *setup_.host, *setup_.activemodel) {}

ProgrammerPort::~ProgrammerPort() {
    close();
    // Whatever happened to the run, the simulated chip keeps what it holds.
    if (SimProgrammer* const simulated = sim()) simulated->saveimage();
}

ProgrammerPort::Opened ProgrammerPort::open(const Request& request) {
    // Which back-end a port's text opens: the only place that looks at the kind of port.
    using Opener = Opened (ProgrammerPort::*)(const PortSpec&);
    static const std::pair<PortSpec::Kind, Opener> kBackends[] = {
        {PortSpec::Kind::Number, &ProgrammerPort::openserial},
        {PortSpec::Kind::Path, &ProgrammerPort::openserial},
        {PortSpec::Kind::Sim, &ProgrammerPort::opensim},
        {PortSpec::Kind::Ftdi, &ProgrammerPort::opencable},
        {PortSpec::Kind::FtdiSim, &ProgrammerPort::opencable},
    };

    request_ = request;
    // The default port is the highest one that opens; probing is only needed for the prompt's
    // list or when nothing has been saved yet.
    if (request.listports || (!request.port && !setup_.settings->readnum(kSettingPortNumber)))
        listports(state_, *serial_);

    PortSpec spec;
    if (request.port) {
        spec = parseportspec(*request.port).value_or(PortSpec{});  // checked by the front end
    } else {
        spec.kind = PortSpec::Kind::Number;
        spec.number = getsettingnum(*setup_.settings, kSettingPortNumber, state_.defaultport);
    }
    for (const auto& [kind, opener] : kBackends) {
        if (kind == spec.kind) return (this->*opener)(spec);
    }
    return {};
}

void ProgrammerPort::attach(SerialPort& port, int32_t holdtime) {
    stoppable_.retarget(port);
    driver_.setholdtime(holdtime);
}

// The serial port, with the settings' baud rate and hold time unless the run gives its own.
ProgrammerPort::Opened ProgrammerPort::openserial(const PortSpec& spec) {
    const bool numbered = spec.kind == PortSpec::Kind::Number;
    const std::string device = numbered ? portdevicename(spec.number) : spec.path;
    const std::string shown =
        numbered ? "Serial port COM" + std::to_string(spec.number) : "Serial port " + spec.path;
    state_.portnumber = numbered ? spec.number : 0;
    state_.portname.clear();
    runspec_.reset();
    readportsettings(state_, *setup_.settings);
    if (request_.baud) state_.baudrate = std::to_string(*request_.baud);
    if (request_.holdus) state_.holdtime = *request_.holdus;
    attach(*serial_, state_.holdtime);

    // A port object cannot be opened twice; reopening means closing first.
    if (serial_->isopen()) serial_->close();
    state_.portready = !device.empty() && serial_->open(device, leadingnumber(state_.baudrate));
    setup_.host->setstatus(shown + (state_.portready ? " ready..." : " error!"));
    if (state_.portready) return {true, {}, false};
    if (device.empty()) return {false, "there is no COM" + std::to_string(spec.number), false};
    const std::string why = serial_->errortext();
    return {false, device + ": " + (why.empty() ? "cannot be opened" : why), false};
}

// The simulated adapter needs no hold time; on real time it would only slow the run down.
ProgrammerPort::Opened ProgrammerPort::opensim(const PortSpec& spec) {
    runspec_ = spec;
    sim_ = std::make_unique<SimProgrammer>(*setup_.activemodel, *setup_.clock, spec.simchip);
    state_.portname = sim_->name();
    state_.portnumber = 0;
    if (std::string refused = sim_->open(spec.path); !refused.empty()) {
        sim_.reset();
        state_.portready = false;
        setup_.host->setstatus(state_.portname + " error!");
        return {false, std::move(refused), true};
    }
    state_.portready = true;
    attach(sim_->port(), 0);
    setup_.host->setstatus(sim_->statustext());
    return {true, {}, false};
}

// The cable sends its supply toggle frame at the baud rate, and holds the lines, as a serial port
// would.
ProgrammerPort::Opened ProgrammerPort::opencable(const PortSpec& spec) {
    runspec_ = spec;
    readportsettings(state_, *setup_.settings);
    const int32_t baud = request_.baud.value_or(leadingnumber(state_.baudrate));
    const int32_t holdtime = request_.holdus.value_or(state_.holdtime);
    std::string why;
    const FtdiPinMap pins = request_.ftdipins.empty()
                                ? FtdiPinMap{}
                                : parseftdipins(request_.ftdipins, why).value_or(FtdiPinMap{});
    state_.portnumber = 0;
    cable_ = std::make_unique<FtdiCable>();
    const FtdiCable::Opened opened =
        cable_->open(spec, pins, baud, *setup_.activemodel, *setup_.clock);
    state_.portname = cable_->name();
    state_.portready = opened.ok;
    setup_.host->setstatus(opened.status);
    if (!opened.ok) {
        cable_.reset();
        return {false, opened.message, true};
    }
    attach(cable_->port(), holdtime);
    return {true, {}, false};
}

bool ProgrammerPort::ready() const { return portusable(state_, stoppable_); }

std::string ProgrammerPort::porterror() const { return porterrortext(state_); }

SimProgrammer* ProgrammerPort::sim() {
    if (sim_) return sim_.get();
    return cable_ ? cable_->sim() : nullptr;
}

std::string ProgrammerPort::modelchanged() {
    if (!runspec_ || !runspec_->simulated() || !runspec_->simchip.empty()) return {};
    std::string message;
    if (SimProgrammer* const simulated = sim()) message = simulated->saveimage();
    closeportofrun();
    const PortSpec spec = *runspec_;
    const Opened opened = spec.kind == PortSpec::Kind::Sim ? opensim(spec) : opencable(spec);
    if (!message.empty() && !opened.message.empty()) message += "\r\n";
    return message + opened.message;
}

void ProgrammerPort::markstart() {
    if (SimProgrammer* const simulated = sim()) simulated->markstart();
}

ProgrammerPort::Report ProgrammerPort::report() {
    Report result;
    SimProgrammer* const simulated = sim();
    if (simulated == nullptr) return result;
    result.lines = simulated->takefaults(kMaxFaultLines);
    if (std::string unsaved = simulated->saveimage(); !unsaved.empty()) {
        result.lines.push_back(std::move(unsaved));
        result.imagesaved = false;
    }
    return result;
}

void ProgrammerPort::closeportofrun() {
    // What a cable still holds goes out before it is gone.
    if (cable_) cable_->close();
    cable_.reset();
    sim_.reset();
    attach(*serial_, state_.holdtime);
}

void ProgrammerPort::close() {
    // What a cable still holds goes out before its lines are handed back.
    if (cable_) cable_->close();
    if (serial_->isopen()) serial_->close();
}

int32_t ProgrammerPort::proposedport() const {
    if (!runspec_) return state_.portnumber;
    // Read without storing anything: a port of this run saves no port.
    return setup_.settings->readnum(kSettingPortNumber).value_or(state_.defaultport);
}

void ProgrammerPort::changeport(std::string_view answer) {
    if (parseportanswer(answer).kind == PortAnswer::Kind::Port && runspec_) {
        report();
        closeportofrun();
        runspec_.reset();
        state_.portname.clear();
    }
    menuportanswer(state_, *serial_, *setup_.settings, *setup_.host, answer, &driver_);
}

}  // namespace qm
