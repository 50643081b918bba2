// The build without libftdi1: no FT232R cables.
#include "platform/ftdi/ftdiusb.h"

namespace qm {

bool ftdiavailable() { return false; }

std::unique_ptr<FtdiTransport> makeftditransport(Clock&) { return nullptr; }

bool listftdidevices(std::vector<FtdiDevice>& devices, std::string& error) {
    devices.clear();
    error = "this build has no USB bit-bang back-end (libftdi1 was not found when it was built)";
    return false;
}

}  // namespace qm
