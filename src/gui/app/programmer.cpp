#include "gui/app/programmer.h"

#include "link/portnames.h"
#include "link/stoppableport.h"
#include "platform/ftdi/ftdicable.h"
#include "platform/qtserialport.h"
#include "settings/settings.h"
#include "sim/simprogrammer.h"
#include "text/leadingnumber.h"

namespace qm::gui {

namespace {

// Simulated chip faults listed after an operation before the rest is only counted.
constexpr int kMaxFaultLines = 10;

// Saves the simulated chip's image; on failure the sentence that says so, else empty.
std::string saveimage(SimProgrammer& sim) {
    std::string why;
    if (sim.saveimage(why)) return {};
    return "The simulated chip's image " + sim.imagepath() + " was not saved: " + why;
}

}  // namespace

Programmer::Programmer(Host& host, SettingsStore& settings, const DeviceTable& devices,
                       const ActiveModel& activemodel, ProgBuffer& progbuffer, Clock& clock,
                       SerialPort* realport, std::function<std::string()> stopreason)
    : host_(host),
      settings_(settings),
      devices_(devices),
      activemodel_(activemodel),
      progbuffer_(progbuffer),
      clock_(clock),
      realport_(realport),
      stopreason_(stopreason ? std::move(stopreason) : [] { return std::string(); }) {
    if (realport_ == nullptr) {
        ownport_ = std::make_unique<QtSerialPort>();
        realport_ = ownport_.get();
    }
    attach(*realport_, 0);
}

Programmer::~Programmer() { shutdown(); }

void Programmer::attach(SerialPort& port, int32_t holdtime) {
    // The engine keeps its mismatch report between operations on the same port; a new port gets
    // a new engine.
    engine_.reset();
    driver_.reset();
    stoppable_ = std::make_unique<StoppablePort>(port, stopreason_);
    driver_ = std::make_unique<LineDriver>(*stoppable_, host_, activemodel_);
    driver_->setholdtime(holdtime);
    engine_ = std::make_unique<Engine>(host_, *stoppable_, *driver_, activemodel_, progbuffer_);
    engine_->devices = &devices_;
}

std::string Programmer::load(const std::optional<PortSpec>& spec, const FtdiPinMap& pins) {
    listports(state_, *realport_);
    if (!spec) {
        openport(state_, *realport_, settings_, host_, driver_.get());
        return {};
    }
    switch (spec->kind) {
        case PortSpec::Kind::Number:
            openportdevice(state_, *realport_, settings_, host_, driver_.get(), spec->number,
                           portdevicename(spec->number),
                           "Serial port COM" + std::to_string(spec->number));
            return {};
        case PortSpec::Kind::Path:
            openportdevice(state_, *realport_, settings_, host_, driver_.get(), 0, spec->path,
                           "Serial port " + spec->path);
            return {};
        case PortSpec::Kind::Sim:
            return opensim(*spec);
        case PortSpec::Kind::Ftdi:
        case PortSpec::Kind::FtdiSim:
            return opencable(*spec, pins);
    }
    return {};
}

std::string Programmer::opensim(const PortSpec& spec) {
    runspec_ = spec;
    sim_ = std::make_unique<SimProgrammer>(activemodel_, clock_, spec.simchip);
    runportname_ = sim_->name();
    state_.portnumber = 0;
    std::string why;
    if (!sim_->open(spec.path, why)) {
        sim_.reset();
        state_.portready = false;
        host_.setstatus(runportname_ + " error!");
        return "The simulated chip's image " + spec.path + " cannot be used:\r\n" + why;
    }
    state_.portready = true;
    // The simulated adapter needs no hold time; on real time it would only slow the run down.
    attach(sim_->port(), 0);
    host_.setstatus(sim_->statustext());
    return {};
}

// The cable gets the baud rate (of its supply toggle frame) and hold time of the settings, as a
// serial port would.
std::string Programmer::opencable(const PortSpec& spec, const FtdiPinMap& pins) {
    runspec_ = spec;
    runpins_ = pins;
    readportsettings(state_, settings_);
    state_.portnumber = 0;
    cable_ = std::make_unique<FtdiCable>();
    const FtdiCable::Opened opened =
        cable_->open(spec, pins, leadingnumber(state_.baudrate), activemodel_, clock_);
    runportname_ = cable_->name();
    host_.setstatus(opened.status);
    state_.portready = opened.ok;
    if (!opened.ok) {
        cable_.reset();
        return opened.messagetext("\r\n");
    }
    attach(cable_->port(), state_.holdtime);
    return {};
}

std::string Programmer::modelchanged() {
    if (!runspec_ || !runspec_->simulated() || !runspec_->simchip.empty()) return {};
    std::string saved;
    if (SimProgrammer* const sim = simchip()) saved = saveimage(*sim);
    if (!saved.empty()) saved += "\r\n";
    closeportofrun();
    const PortSpec spec = *runspec_;
    const std::string opened =
        spec.kind == PortSpec::Kind::Sim ? opensim(spec) : opencable(spec, runpins_);
    return saved + opened;
}

int32_t Programmer::proposedport() const {
    if (runportname_.empty()) return state_.portnumber;
    // Read without storing anything: a port of this run saves no port.
    return settings_.readnum(kSettingPortNumber).value_or(state_.defaultport);
}

void Programmer::closeportofrun() {
    // What a cable still holds goes out before it is gone.
    if (cable_) cable_->close();
    cable_.reset();
    sim_.reset();
    attach(*realport_, state_.holdtime);
}

void Programmer::leaveportofrun() {
    simreport();
    closeportofrun();
    runportname_.clear();
    runspec_.reset();
}

void Programmer::changeport(std::string_view answer) {
    const PortAnswer parsed = parseportanswer(answer);
    if (parsed.kind == PortAnswer::Kind::Port && !runportname_.empty()) leaveportofrun();
    menuportanswer(state_, *realport_, settings_, host_, answer, driver_.get());
}

bool Programmer::ready() const {
    const SerialPort& port = cable_ ? cable_->port() : sim_ ? sim_->port() : *realport_;
    return portusable(state_, port);
}

bool Programmer::simulated() const { return sim_ || (cable_ && cable_->sim()); }

std::string Programmer::porterror() const {
    return runportname_.empty() ? porterrortext(state_.portnumber) : runportname_ + " error!";
}

OperationResult Programmer::run(Operation operation) {
    if (!runportname_.empty() && !ready()) {
        OperationResult result;
        result.status = OperationStatus::PortNotReady;
        result.statustext = porterror();
        host_.setstatus(result.statustext);
        return result;
    }
    return runoperation(*engine_, operation, state_);
}

SimProgrammer* Programmer::simchip() {
    if (sim_) return sim_.get();
    return cable_ ? cable_->sim() : nullptr;
}

std::vector<std::string> Programmer::simreport() {
    SimProgrammer* const sim = simchip();
    if (sim == nullptr) return {};
    std::vector<std::string> lines = sim->takefaults(kMaxFaultLines);
    std::string unsaved = saveimage(*sim);
    if (!unsaved.empty()) lines.push_back(std::move(unsaved));
    return lines;
}

void Programmer::shutdown() {
    // What a cable still holds goes out before its lines are handed back.
    if (cable_) cable_->close();
    if (SimProgrammer* const sim = simchip()) {
        std::string why;
        sim->saveimage(why);
    }
    if (realport_ != nullptr && realport_->isopen()) realport_->close();
}

}  // namespace qm::gui
