#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/clock.h"
#include "link/ftditransport.h"

namespace qm {

// FT232R cables on the machine's USB buses, through libftdi1 when the program was built with it.

// An FT232R found on the buses.
struct FtdiDevice {
    std::string serial;  // empty when it cannot be read (no access to the device)
    std::string description;
    std::string manufacturer;
};

// Whether this build can drive FT232R cables.
bool ftdiavailable();

// A transport for a real FT232R whose waits pass on `clock`, or nullptr when the build has none.
std::unique_ptr<FtdiTransport> makeftditransport(Clock& clock);

// Fills `devices` with the FT232Rs found. False with a reason when the buses cannot be searched
// (or the build has no USB back-end).
bool listftdidevices(std::vector<FtdiDevice>& devices, std::string& error);

}  // namespace qm
