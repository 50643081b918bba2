#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/host.h"
#include "link/linedriver.h"
#include "link/portnames.h"
#include "link/serialport.h"
#include "settings/settingsstore.h"

namespace qm {

// The programmer port: which one is in use and whether it is open. One instance lives as long as
// the program; portlist and defaultport are fixed at start-up by listports.
struct PortState {
    int32_t portnumber = 0;  // COM port number in use
    std::string baudrate;    // text of "Serial Port Baud Rate"
    bool portready = false;  // the last openport succeeded
    std::string portlist;    // openable ports found at start-up, CR LF between lines
    // Highest openable port found at start-up, or 2. Starts at 2 rather than 0 so an openport
    // before listports cannot store port 0.
    int32_t defaultport = 2;
    int32_t holdtime = 0;  // "Line Hold Time" in microseconds, as last read by openport
    // A port given for one run by its name ("Simulated adapter", "FTDI cable"), which then names
    // it in its error text; empty for the serial port, which its number names.
    std::string portname;
};

// Upper limit applied to "Line Hold Time". Longer holds would stretch one chip operation over
// hours; no adapter needs more than a few milliseconds per line change.
inline constexpr int32_t kMaxLineHoldTime = 10000;

// The baud rates a port is opened at: what serial ports and USB cables can send. The rate only
// sets how long the supply toggle byte lasts; at 1 baud it would take ten seconds.
inline constexpr int32_t kMinBaudRate = 300;
inline constexpr int32_t kMaxBaudRate = 3000000;

// Baud rate at which ports are probed.
inline constexpr int32_t kProbeBaud = 9600;

// Whether COM port n can be opened (1) or not (0). The port is opened at 9600 baud and closed
// again at once. A port object that is already open is left alone and gives 0: probing must never
// disturb the port in use.
int probeport(SerialPort& port, int32_t n, PortNaming naming = hostportnaming());

// Probes COM1..COM16 in rising order and fills state.portlist and state.defaultport. Under Linux
// naming each line also shows the device path.
void listports(PortState& state, SerialPort& port, PortNaming naming = hostportnaming());

// Reads "Serial Port Number", "Serial Port Baud Rate" and "Line Hold Time", (re)opens the port
// and reports the outcome on the status line. The hold time goes to the driver when one is given.
// Returns portready.
bool openport(PortState& state, SerialPort& port, SettingsStore& settings, Host& host,
              LineDriver* driver = nullptr, PortNaming naming = hostportnaming());

// Reads "Serial Port Baud Rate" into state.baudrate and "Line Hold Time" (limited to
// 0..kMaxLineHoldTime) into state.holdtime, as every port is opened with them.
void readportsettings(PortState& state, SettingsStore& settings);

// openport for a port given for one run only (a command-line port number or device path) in
// place of the saved "Serial Port Number": opens `device`, names the port as `shown` on the status
// line ("Serial port COM3", "Serial port /dev/ttyACM0") and saves nothing. The baud rate and hold
// time still come from the settings. Returns portready.
bool openportdevice(PortState& state, SerialPort& port, SettingsStore& settings, Host& host,
                    LineDriver* driver, int32_t portnumber, const std::string& device,
                    const std::string& shown);

// The prompt of "Change Serial Port Number", CR LF line ends.
std::string portprompt(const PortState& state);

// What an answer to that prompt asks for.
struct PortAnswer {
    enum class Kind { Nothing, Wrong, Port };
    Kind kind = Kind::Nothing;
    int32_t port = 0;  // 1..16 when kind is Port
};
PortAnswer parseportanswer(std::string_view answer);

// Acts on an answer to the prompt: nothing for an empty answer, "Wrong entry!" in an error box
// for a number outside 1..16, otherwise closes the port, stores the number and runs openport.
void menuportanswer(PortState& state, SerialPort& port, SettingsStore& settings, Host& host,
                    std::string_view answer, LineDriver* driver = nullptr,
                    PortNaming naming = hostportnaming());

// The status text of a command refused because the port is not ready: "Serial port 3 error!",
// or by the port's name, "FTDI cable error!".
std::string porterrortext(const PortState& state);

// Whether chip operations may use the port: the last open succeeded and the port has not failed
// since (a USB adapter can be unplugged while the program runs).
bool portusable(const PortState& state, const SerialPort& port);

}  // namespace qm
