#include "cli/chipport.h"

#include <algorithm>
#include <filesystem>

#include "cli/exitcode.h"
#include "cli/stoppableport.h"
#include "cli/stopsignals.h"
#include "sim/simimage.h"
#include "link/portnames.h"
#include "link/portselect.h"
#include "platform/qtserialport.h"
#include "settings/settings.h"
#include "sim/picchip.h"
#include "sim/simadapter.h"
#include "text/leadingnumber.h"

namespace qm::cli {

namespace {

// Names the simulated adapter is opened under; it accepts any.
constexpr const char* kSimPortName = "sim";
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
    const ActiveModel& model = session.activemodel;
    chip_ = std::make_unique<PicChip>(
        chipfamilyformodel(model.modelname, model.flashsize, model.eepromsize), *session.clock);
    // Only faults are of interest; a full command log of a large chip would be millions of lines.
    chip_->setcommandlogging(false);
    imagepath_ = spec.path;
    if (!imagepath_.empty()) {
        if (const int code = loadimage(session); code != kExitOk) return code;
    }
    sim_ = std::make_unique<SimAdapter>(chip_.get());
    sim_->open(kSimPortName, 9600);
    session.host.setstatus("Simulated adapter ready... (chip " + chip_->family().name +
                           (imagepath_.empty() ? ")" : ", image " + imagepath_ + ")"));
    // The simulated adapter needs no hold time; on real time it would only slow the run down.
    driver_ = std::make_unique<LineDriver>(stoppable(*sim_), session.host, session.activemodel);
    return kExitOk;
}

int ChipPort::finish(Session& session) {
    if (finished_) return kExitOk;
    finished_ = true;
    if (!chip_) return kExitOk;
    reportchipevents(session);
    if (imagepath_.empty()) return kExitOk;
    return saveimage(session);
}

void ChipPort::reportchipevents(Session& session) {
    int shown = 0;
    int more = 0;
    for (const ChipEvent& event : chip_->log()) {
        if (!isfault(event.kind)) continue;
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
    // A real adapter would stay powered too; the simulated one can say so.
    if (sim_ && sim_->supply()) session.host.printerror("simulated chip: the supply is still on");
}

int ChipPort::loadimage(Session& session) {
    std::string why;
    if (loadchipimage(*chip_, imagepath_, why)) {
        std::error_code ec;
        if (std::filesystem::exists(imagepath_, ec)) imageloaded_ = chipimagetext(*chip_);
        return kExitOk;
    }
    session.host.printerror("The simulated chip's image " + imagepath_ + " cannot be used:\n" +
                            why);
    return kExitPort;
}

int ChipPort::saveimage(Session& session) {
    // A read-only command leaves the image file exactly as it was.
    if (!imageloaded_.empty() && chipimagetext(*chip_) == imageloaded_) return kExitOk;
    std::string why;
    if (savechipimage(*chip_, imagepath_, why)) return kExitOk;
    session.host.printerror("The simulated chip's image " + imagepath_ + " was not saved: " + why);
    return kExitPort;
}

}  // namespace qm::cli
