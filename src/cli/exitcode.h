#pragma once

namespace qm::cli {

// The process exit codes, as --help and the README list them.
enum ExitCode {
    kExitOk = 0,
    kExitMismatch = 1,     // blank check or verify found differences
    kExitUsage = 2,        // bad command line
    kExitPort = 3,         // the serial port (or the simulated chip's image) failed
    kExitHex = 4,          // a HEX file could not be read or written
    kExitDevice = 5,       // device file, model or script
    kExitChip = 6,         // the device ID says the socket is empty or holds another chip
    kExitCalibration = 7,  // a calibration word to keep lacks its form, or was not kept
};

}  // namespace qm::cli
