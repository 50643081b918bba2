// show and convert: HEX files through the program buffer, no chip involved.
#include "cli/commands.h"
#include "cli/dumprows.h"
#include "cli/hexfiles.h"
#include "devices/configwords.h"
#include "engine/calibration.h"
#include "host/exitcode.h"

namespace qm::cli {

int runshow(Session& session) {
    if (const int code = session.loaddevicefile(); code != kExitOk) return code;
    if (const int code = session.choosemodel(); code != kExitOk) return code;
    if (const int code = loadhex(session, session.options.args.at(0)); code != kExitOk) {
        return code;
    }
    session.out << bufferlisting(session.progbuffer, session.activemodel);
    const std::string calibration = buffercalibration(session.progbuffer, session.activemodel);
    if (!calibration.empty()) {
        session.out << "Calibration (program and erase keep the chip's own values here): "
                    << calibration << "\n";
    }
    session.out.flush();
    return kExitOk;
}

int runconfig(Session& session) {
    if (const int code = session.loaddevicefile(); code != kExitOk) return code;
    if (const int code = session.choosemodel(); code != kExitOk) return code;
    if (const std::string why = nofieldsreason(session.activemodel, session.devicespath);
        !why.empty()) {
        session.host.printerror(why);
        return kExitDevice;
    }
    session.out << configlisting(session.activemodel);
    session.out.flush();
    return kExitOk;
}

int runconvert(Session& session) {
    if (const int code = session.loaddevicefile(); code != kExitOk) return code;
    if (const int code = session.choosemodel(); code != kExitOk) return code;
    if (const int code = loadhex(session, session.options.args.at(0)); code != kExitOk) {
        return code;
    }
    return savehex(session, session.options.args.at(1));
}

}  // namespace qm::cli
