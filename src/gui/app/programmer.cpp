#include "gui/app/programmer.h"

#include "link/portnames.h"
#include "platform/qtserialport.h"
#include "settings/settings.h"
#include "sim/simprogrammer.h"

namespace qm::gui {

namespace {

// Simulated chip faults listed after an operation before the rest is only counted.
constexpr int kMaxFaultLines = 10;

}  // namespace

Programmer::Programmer(Host& host, SettingsStore& settings, const ActiveModel& activemodel,
                       ProgBuffer& progbuffer, Clock& clock, SerialPort* realport)
    : host_(host),
      settings_(settings),
      activemodel_(activemodel),
      progbuffer_(progbuffer),
      clock_(clock),
      realport_(realport) {
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
    driver_ = std::make_unique<LineDriver>(port, host_, activemodel_);
    driver_->setholdtime(holdtime);
    engine_ = std::make_unique<Engine>(host_, port, *driver_, activemodel_, progbuffer_);
}

std::string Programmer::load(const std::optional<PortSpec>& spec) {
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
            break;
    }
    sim_ = std::make_unique<SimProgrammer>(activemodel_, clock_);
    std::string why;
    if (!sim_->open(spec->path, why)) {
        sim_.reset();
        state_.portready = false;
        host_.setstatus("Simulated adapter error!");
        return "The simulated chip's image " + spec->path + " cannot be used:\r\n" + why;
    }
    state_.portnumber = 0;
    state_.portready = true;
    // The simulated adapter needs no hold time; on real time it would only slow the run down.
    attach(sim_->port(), 0);
    host_.setstatus(sim_->statustext());
    return {};
}

int32_t Programmer::proposedport() const {
    if (!sim_) return state_.portnumber;
    // Read without storing anything: the simulated run saves no port.
    return settings_.readnum(kSettingPortNumber).value_or(state_.defaultport);
}

void Programmer::changeport(std::string_view answer) {
    const PortAnswer parsed = parseportanswer(answer);
    if (parsed.kind == PortAnswer::Kind::Port && sim_) {
        // Leaving the simulated adapter: its chip keeps what it holds in its image.
        simreport();
        sim_.reset();
        attach(*realport_, state_.holdtime);
    }
    menuportanswer(state_, *realport_, settings_, host_, answer, driver_.get());
}

bool Programmer::ready() const {
    const SerialPort& port = sim_ ? sim_->port() : *realport_;
    return portusable(state_, port);
}

OperationResult Programmer::run(Operation operation) {
    return runoperation(*engine_, operation, state_);
}

std::vector<std::string> Programmer::simreport() {
    if (!sim_) return {};
    std::vector<std::string> lines = sim_->takefaults(kMaxFaultLines);
    std::string why;
    if (!sim_->saveimage(why)) {
        lines.push_back("The simulated chip's image " + sim_->imagepath() +
                        " was not saved: " + why);
    }
    return lines;
}

void Programmer::shutdown() {
    if (sim_) {
        std::string why;
        sim_->saveimage(why);
    }
    if (realport_ != nullptr && realport_->isopen()) realport_->close();
}

}  // namespace qm::gui
