// models and ports: what the program knows and what the machine offers.
#include <string>

#include "cli/commands.h"
#include "cli/exitcode.h"
#include "cli/modelchoice.h"
#include "link/portnames.h"
#include "link/portselect.h"
#include "platform/qtserialport.h"

namespace qm::cli {

int runmodels(Session& session) {
    if (const int code = session.loaddevicefile(); code != kExitOk) return code;
    session.out << modellisting(session.devices);
    session.out.flush();
    return kExitOk;
}

int runports(Session& session) {
    QtSerialPort port;
    bool permissionproblem = false;
    for (int32_t n = kFirstPort; n <= kLastPort; ++n) {
        const std::string device = portdevicename(n);
        std::string line = "COM" + std::to_string(n);
        line.resize(7, ' ');
        line += device;
        if (line.size() < 22)
            line.resize(22, ' ');
        else
            line += ' ';
        // Probed as the GUI probes at start-up: opened at 9600 baud and closed at once.
        if (port.open(device, kProbeBaud)) {
            port.close();
            line += "available";
        } else {
            const std::string why = port.errortext();
            line += "not available: " + (why.empty() ? std::string("cannot be opened") : why);
            if (why.find("permission") != std::string::npos) permissionproblem = true;
        }
        session.out << line << "\n";
    }
    if (permissionproblem) {
        session.out << "\nA port that exists but may not be opened usually means that your user "
                       "is not in the\ndialout group: sudo usermod -aG dialout $USER, then log "
                       "out and in again.\n";
    }
    session.out.flush();
    return kExitOk;
}

}  // namespace qm::cli
