#include "cli/stopsignals.h"

#include <signal.h>

#include <csignal>

namespace qm::cli {

namespace {

volatile std::sig_atomic_t stopsignal = 0;

struct sigaction previousint;
struct sigaction previousterm;

extern "C" void onstopsignal(int signal) { stopsignal = signal; }

}  // namespace

StopSignals::StopSignals() {
    stopsignal = 0;
    struct sigaction action {};
    action.sa_handler = onstopsignal;
    sigemptyset(&action.sa_mask);
    // Restarted system calls keep output and waits intact; the reset lets a second signal end
    // the process at once.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGINT, &action, &previousint);
    sigaction(SIGTERM, &action, &previousterm);
}

StopSignals::~StopSignals() {
    sigaction(SIGINT, &previousint, nullptr);
    sigaction(SIGTERM, &previousterm, nullptr);
}

int StopSignals::received() { return stopsignal; }

}  // namespace qm::cli
