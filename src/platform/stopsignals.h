#pragma once

#include <string>

namespace qm {

// The signals that ask a running program to stop: Ctrl-C (SIGINT), Ctrl-\ (SIGQUIT), a closed
// terminal or a dropped remote session (SIGHUP), and logout or shutdown (SIGTERM). While they are
// installed, none of them ends the process on the spot, where it could leave the chip with its
// supply on: the handler only notes the signal, and the programmer port (StoppablePort) sees it
// at its next line operation and ends the operation the way a lost port does, with the supply
// switched off if the script had switched it on. The front end then ends the program.
//
// A second signal while that happens changes nothing: the supply-off sequence takes a fraction of
// a second and is let finish (the handler says so on standard error). A third one ends the
// process at once, for a program that no longer gets there.
//
// SIGPIPE is ignored meanwhile: a reader of the output that went away (`| head`) must not end
// the process in the middle of an operation either.
class StopSignals {
  public:
    // Installs the handlers; `program` prefixes the note the handler writes on a second signal.
    // The destructor puts the previous handlers back. One instance at a time.
    explicit StopSignals(const char* program);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The first signal that asked to stop since the handlers were installed, 0 while none did.
    static int received();
    // Why the operation stopped, as a phrase that completes "Operation failed: ..." ("interrupted
    // by Ctrl-C (SIGINT)"); empty while no signal asked to stop.
    static std::string reason();
    // A descriptor that becomes readable when a signal arrives, for an event loop to watch (the
    // desktop program quits when it is idle); drained by clearwakeup.
    int wakeupfd() const;
    void clearwakeup() const;
};

// What a signal is called in messages: "interrupted by Ctrl-C (SIGINT)", "stopped by SIGTERM".
std::string stopsignaltext(int signal);

// The exit code of a process ended by a signal, as shells report it: 130 for SIGINT, 143 for
// SIGTERM, 129 for SIGHUP, 131 for SIGQUIT.
inline int exitcodeforsignal(int signal) { return 128 + signal; }

}  // namespace qm
