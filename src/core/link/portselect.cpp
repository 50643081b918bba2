#include "link/portselect.h"

#include <algorithm>

#include "settings/settings.h"
#include "text/asciicase.h"
#include "text/leadingnumber.h"

namespace qm {

namespace {

constexpr const char* kCrLf = "\r\n";

}  // namespace

int probeport(SerialPort& port, int32_t n, PortNaming naming) {
    if (port.isopen()) return 0;
    const std::string name = portdevicename(n, naming);
    if (name.empty()) return 0;
    if (!port.open(name, kProbeBaud)) return 0;
    port.close();
    return 1;
}

void listports(PortState& state, SerialPort& port, PortNaming naming) {
    state.portlist.clear();
    state.defaultport = kDefaultPortNumber;
    for (int32_t n = kFirstPort; n <= kLastPort; ++n) {
        if (probeport(port, n, naming) != 1) continue;
        if (!state.portlist.empty()) state.portlist += kCrLf;
        state.portlist += "- Serial port COM" + std::to_string(n) + " available";
        // "COM9" alone does not tell a Linux user which device that is.
        if (naming == PortNaming::Linux) state.portlist += " (" + portdevicename(n, naming) + ")";
        state.defaultport = n;
    }
}

bool openport(PortState& state, SerialPort& port, SettingsStore& settings, Host& host,
              LineDriver* driver, PortNaming naming) {
    const int32_t number = getsettingnum(settings, kSettingPortNumber, state.defaultport);
    return openportdevice(state, port, settings, host, driver, number,
                          portdevicename(number, naming),
                          "Serial port COM" + std::to_string(number));
}

void readportsettings(PortState& state, SettingsStore& settings) {
    state.baudrate = getsetting(settings, kSettingBaudRate, kDefaultBaudRate);
    state.holdtime = std::clamp(getsettingnum(settings, kSettingLineHoldTime, kDefaultLineHoldTime),
                                int32_t{0}, kMaxLineHoldTime);
}

bool openportdevice(PortState& state, SerialPort& port, SettingsStore& settings, Host& host,
                    LineDriver* driver, int32_t portnumber, const std::string& device,
                    const std::string& shown) {
    state.portnumber = portnumber;
    readportsettings(state, settings);
    if (driver != nullptr) driver->setholdtime(state.holdtime);
    state.portready = false;

    // A port object cannot be opened twice; reopening means closing first.
    if (port.isopen()) port.close();
    if (!device.empty() && port.open(device, leadingnumber(state.baudrate))) {
        state.portready = true;
        host.setstatus(shown + " ready...");
    } else {
        host.setstatus(shown + " error!");
    }
    return state.portready;
}

std::string portprompt(const PortState& state) {
    std::string prompt = "Please select programmer serial port number [1-16]:";
    prompt += kCrLf;
    prompt += kCrLf;
    prompt += "The list of COM ports that can be opened:";
    if (!state.portlist.empty()) {
        prompt += kCrLf;
        prompt += state.portlist;
    }
    return prompt;
}

PortAnswer parseportanswer(std::string_view answer) {
    if (answer.empty()) return {};
    if (asciilower(answer.substr(0, 3)) == "com") answer.remove_prefix(3);
    // The number rule rounds first, so 16.4 is port 16 and 0.5 (rounded to 0) is refused.
    const int32_t n = leadingnumber(answer);
    if (n < kFirstPort || n > kLastPort) return {PortAnswer::Kind::Wrong, 0};
    return {PortAnswer::Kind::Port, n};
}

void menuportanswer(PortState& state, SerialPort& port, SettingsStore& settings, Host& host,
                    std::string_view answer, LineDriver* driver, PortNaming naming) {
    const PortAnswer parsed = parseportanswer(answer);
    switch (parsed.kind) {
        case PortAnswer::Kind::Nothing:
            return;
        case PortAnswer::Kind::Wrong:
            host.mymsgbox("Wrong entry!", kMsgError, "");
            return;
        case PortAnswer::Kind::Port:
            port.close();
            state.portnumber = parsed.port;
            savesettingnum(settings, kSettingPortNumber, state.portnumber);
            openport(state, port, settings, host, driver, naming);
            return;
    }
}

std::string porterrortext(const PortState& state) {
    if (!state.portname.empty()) return state.portname + " error!";
    return "Serial port " + std::to_string(state.portnumber) + " error!";
}

bool portusable(const PortState& state, const SerialPort& port) {
    return state.portready && port.isopen() && !port.failed();
}

}  // namespace qm
