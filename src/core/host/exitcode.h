#pragma once

namespace qm {

// The process exit codes of both programs, as --help, the manual pages and the README list them.
// A signal that ends a program gives 128 + its number (exitcodeforsignal).
enum ExitCode {
    kExitOk = 0,
    kExitMismatch = 1,     // blank check or verify found differences
    kExitUsage = 2,        // bad command line, or a settings file or lock that cannot be used
    kExitPort = 3,         // the serial port (or the simulated chip's image) failed
    kExitHex = 4,          // a HEX file could not be read or written
    kExitDevice = 5,       // device file, model or script
    kExitChip = 6,         // the device ID says the socket is empty or holds another chip
    kExitCalibration = 7,  // a calibration word to keep lacks its form, or was not kept
};

}  // namespace qm
