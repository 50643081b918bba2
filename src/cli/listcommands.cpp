// models and ports: what the program knows and what the machine offers.
#include <algorithm>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/modelchoice.h"
#include "host/exitcode.h"
#include "link/portnames.h"
#include "link/portselect.h"
#include "platform/ftdi/ftdiusb.h"
#include "platform/qtserialport.h"

namespace qm::cli {

int runmodels(Session& session) {
    if (const int code = session.loaddevicefile(); code != kExitOk) return code;
    session.out << modellisting(session.devices);
    session.out.flush();
    return kExitOk;
}

namespace {

// The FT232R cables, by the port text that picks each.
void listcables(Session& session) {
    std::vector<FtdiDevice> devices;
    std::string error;
    session.out << "\nFT232R USB cables (bit-bang mode):\n";
    if (!listftdidevices(devices, error)) {
        session.out << "  not available: " << error << "\n";
        return;
    }
    if (devices.empty()) session.out << "  none found\n";
    for (const FtdiDevice& device : devices) {
        if (device.serial.empty()) {
            session.out << "  ftdi               (no access to the device: its serial number "
                           "cannot be read)\n";
            continue;
        }
        std::string line = "  ftdi:" + device.serial;
        line.resize(std::max<size_t>(line.size() + 1, 21), ' ');
        line += device.description;
        if (!device.manufacturer.empty()) line += " (" + device.manufacturer + ")";
        session.out << line << "\n";
    }
}

}  // namespace

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
    listcables(session);
    session.out.flush();
    return kExitOk;
}

}  // namespace qm::cli
