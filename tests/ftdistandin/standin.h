#pragma once

// A stand-in for libftdi1, built only for the tests: a shared library named as libftdi1 with
// the ftdi_* functions the FT232R transport calls, over a modelled FT232R (ft232r.h) whose
// RS-232 end is plugged into the simulated adapter with a simulated chip in its socket.
//
// A test in the same process plugs a cable with plug() and hands it its clock. A program run
// with the library first on LD_LIBRARY_PATH gets the cable that the environment variable
// FTDI_STANDIN describes (see parseconfig), on real time.
#include <cstdint>
#include <string>
#include <string_view>

#include "host/clock.h"
#include "link/ftdipins.h"

namespace qm::standin {

// How fast the pins run for the baud rate libftdi sets (which is four times the rate asked in
// bit-bang mode): a quarter of it (the rate asked), the baud rate itself (one byte per divisor
// period), or sixteen times it; never faster than the chip's 3 MHz.
enum class Reading { kAsked, kDivisor, kTimes16 };
// What the output latch holds on entering bit-bang mode: its last byte, or zero.
enum class Latch { kKept, kCleared };

struct Config {
    std::string chip = "16F628A";  // the part in the adapter's socket
    Reading reading = Reading::kAsked;
    Latch latch = Latch::kKept;
    int32_t fifo = 128;            // samples the chip holds before the PC reads them
    int32_t latencyms = 16;        // the latency timer until libftdi sets it
    int32_t requestus = 1000;      // a control request, and the way of written bytes to the chip
    int64_t unplugafter = -1;      // libftdi calls before the cable is unplugged; -1: never
    bool transmitterempty = true;  // the line status reports an empty transmitter
    bool present = true;           // plugged in at all
    bool driverbusy = false;       // the kernel's serial driver cannot be detached
    double fixedrate = 0;          // pins at this rate whatever is asked (0: by the reading)
    std::string serial = "QMSTANDIN1";
    FtdiPinMap pins;  // how the cable reaches the adapter's lines
};

// "chip=16F877A,reading=divisor,latch=cleared,fifo=256,unplugafter=500,notemt,absent,
// driverbusy,rate=20000000,serial=X"; false with the reason on a fault.
bool parseconfig(std::string_view text, Config& config, std::string& error);

class Ft232r;

// Plugs in a new cable (any cable before is gone) whose time passes on `clock`.
Ft232r& plug(const Config& config, Clock& clock);
// The cable plugged in, nullptr when none is.
Ft232r* plugged();
void unplugall();

}  // namespace qm::standin
