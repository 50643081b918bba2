#include "platform/stopsignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace qm {

namespace {

constexpr std::array<int, 4> kStopSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

volatile std::sig_atomic_t stopsignal = 0;
volatile std::sig_atomic_t repeated = 0;
int wakepipe[2] = {-1, -1};
// The note of a second signal, written by the handler, which may not build strings.
char note[192];
size_t notelength = 0;

std::array<struct sigaction, kStopSignals.size()> previous;
struct sigaction previouspipe;

// Only async-signal-safe calls here.
extern "C" void onstopsignal(int signal) {
    const int saved = errno;
    if (stopsignal == 0) {
        stopsignal = signal;
    } else if (++repeated == 1) {
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, note, notelength);
    } else {
        // The program does not get to its end: the default action, once this handler returns.
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        sigaction(signal, &fallback, nullptr);
        raise(signal);
    }
    if (wakepipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = write(wakepipe[1], &byte, 1);
    }
    errno = saved;
}

}  // namespace

StopSignals::StopSignals(const char* program) {
    stopsignal = 0;
    repeated = 0;
    const int length = std::snprintf(note, sizeof note,
                                     "%s: switching the supply off before stopping; one more "
                                     "signal ends the program at once.\n",
                                     program);
    notelength = length > 0 ? std::min(size_t(length), sizeof note - 1) : 0;
    if (pipe2(wakepipe, O_NONBLOCK | O_CLOEXEC) != 0) wakepipe[0] = wakepipe[1] = -1;

    struct sigaction action {};
    action.sa_handler = onstopsignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kStopSignals) sigaddset(&action.sa_mask, signal);
    // Restarted system calls keep output and waits intact.
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kStopSignals.size(); ++i)
        sigaction(kStopSignals[i], &action, &previous[i]);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &previouspipe);
}

StopSignals::~StopSignals() {
    for (size_t i = 0; i < kStopSignals.size(); ++i)
        sigaction(kStopSignals[i], &previous[i], nullptr);
    sigaction(SIGPIPE, &previouspipe, nullptr);
    // Ports that outlive the handlers are not stopped by a signal they no longer watch.
    stopsignal = 0;
    repeated = 0;
    for (int& fd : wakepipe) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

int StopSignals::received() { return stopsignal; }

std::string StopSignals::reason() {
    const int signal = stopsignal;
    return signal == 0 ? std::string() : stopsignaltext(signal);
}

int StopSignals::wakeupfd() const { return wakepipe[0]; }

void StopSignals::clearwakeup() const {
    char buffer[64];
    while (wakepipe[0] >= 0 && read(wakepipe[0], buffer, sizeof buffer) > 0) {
    }
}

std::string stopsignaltext(int signal) {
    switch (signal) {
        case SIGINT:
            return "interrupted by Ctrl-C (SIGINT)";
        case SIGQUIT:
            return "interrupted by Ctrl-\\ (SIGQUIT)";
        case SIGTERM:
            return "stopped by SIGTERM";
        case SIGHUP:
            return "stopped by SIGHUP (the terminal was closed)";
        default:
            return "stopped by signal " + std::to_string(signal);
    }
}

}  // namespace qm
