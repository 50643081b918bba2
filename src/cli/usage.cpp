#include "cli/usage.h"

#include "platform/options/commandline.h"
#include "text/licence.h"

#ifndef QUELLMARK_VERSION
#define QUELLMARK_VERSION "unknown"
#endif

namespace qm::cli {

namespace {

// Where the options' help starts, and the width it is wrapped to.
constexpr size_t kHelpColumn = 24;
constexpr size_t kHelpWidth = 96;

}  // namespace

std::string usagetext() {
    return R"(Usage: quellmark-cli [OPTIONS] COMMAND [ARGS]

Programs PIC mid-range microcontrollers through a passive adapter on a serial port, with the
scripts of the device description file.

Commands:
  models                        list the models: number, name, FLASH words, EEPROM bytes
  ports                         list COM1-COM16 with their device and whether they open,
                                and the FT232R USB cables found
  show FILE.hex                 load a HEX file and print the load report and the buffer
  program FILE.hex [--no-verify] [--ignore-range]
                                Program All, then Verify (unless --no-verify)
  verify FILE.hex [--ignore-range]
                                Verify the chip against a HEX file
  read OUT.hex                  Read All and save the chip as a HEX file
  erase                         Erase All
  blank                         Blank Check
  identify                      read the chip's device ID and name the models that have it
  convert IN.hex OUT.hex        load a HEX file and save it in the program's own layout
  config                        list the named fields of the model's configuration words and
                                their settings

Before program, erase, read, blank and verify, a model with a device ID in the device file
reads the chip's ID first (program once, for Program All and its Verify). An empty socket or
another chip stops program and erase before anything is erased or written; read, blank and
verify warn and go on.

program and verify refuse a HEX file that holds no data for the chip, and one with data outside
the model unless --ignore-range is given, before they open the port (exit code 4).

A model with factory calibration words (the OSCCAL word and band-gap bits of a 12F675, the
calibration words of a 16F690 ...) has them read first and kept: program and erase write them
back, verify and blank expect them where they are, read shows them. A kept word that does not
look as it should stops program and erase before anything is erased (exit code 7).

show and read print the configuration words by their named fields. Before program, what the
configuration word does that may not be meant (the erased value, code protection, low-voltage
programming, the watchdog) is printed on standard error; the run goes on, without its Verify on
a chip the word protects from being read back.

Options:
)" + optionhelp(kForCli, kHelpColumn, kHelpWidth) +
           R"(
Options given here apply to this run only; the saved settings are those of the GUI.

Exit codes:
  0  success
  1  the chip differs: blank check found data, or verify found mismatches
  2  usage: bad command line, or a settings file that cannot be used
  3  serial port or USB cable: cannot be opened or failed (or the simulated
     chip's image)
  4  HEX file: cannot be read, has a faulty record, or cannot be written; for
     program and verify, no data for the chip or data outside it
  5  device file, model or script: file missing or empty, unknown model,
     unrecognised script instruction
  6  wrong or missing chip: the device ID reads no chip (0000h or 3FFFh) or
     another chip than the model's, or identify found no model with it
  7  calibration: a word to keep does not have its form (nothing was erased), or
     it was not kept
  129, 130, 131, 143  stopped by SIGHUP, Ctrl-C (SIGINT), Ctrl-\ (SIGQUIT) or
     SIGTERM: the supply is switched off first
)";
}

std::string versiontext() { return qm::versiontext("quellmark-cli", QUELLMARK_VERSION); }

std::string usagehint() { return "Try 'quellmark-cli --help'.\n"; }

}  // namespace qm::cli
