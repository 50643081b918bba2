#pragma once

namespace qm::cli {

// Ctrl-C (SIGINT) and SIGTERM while a chip command runs. The handler only notes the signal;
// the programmer port sees it at its next line operation and ends the operation the way a lost
// port does, with the supply switched off if the script had switched it on (StoppablePort).
// A second signal ends the process at once: the handlers are reset by the first.
class StopSignals {
  public:
    // Installs the handlers; the destructor puts the previous ones back.
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal that asked to stop since the handlers were installed, 0 while none did.
    static int received();
};

// The exit code of a process ended by a signal, as shells report it: 130 for SIGINT, 143 for
// SIGTERM.
inline int exitcodeforsignal(int signal) { return 128 + signal; }

}  // namespace qm::cli
