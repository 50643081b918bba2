#pragma once

#include <QApplication>

#include <string>
#include <vector>

namespace qm::gui {

// The program's start: a second instance ends at once, silently; the device file beside the
// executable is read (an unreadable file, or one without any model, is explained in an error
// box and ends the program); the main window is created, shown and loaded, and the HEX file of
// the command line opened. Returns the process exit code once the window has been closed.
int startroutine(QApplication& app, const std::vector<std::string>& args);

}  // namespace qm::gui
