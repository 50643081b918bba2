#pragma once

#include <QApplication>

#include <optional>
#include <string>
#include <vector>

namespace qm::gui {

// --help, --version and bad arguments: answered on the terminal with the exit code to end with;
// nullopt when the program is to start its window. Needs no QApplication, so it works without
// a display.
std::optional<int> answeronterminal(const std::vector<std::string>& args);

// The program's start: the arguments are answered on the terminal when they ask for it; a second
// instance ends at once, silently; the device file (beside the executable or in
// ../share/quellmark/) is read (an unreadable file, or one without any model, is explained in an
// error box and ends the program); the main window is created, shown and loaded, and the HEX file
// of the command line opened. Returns the process exit code once the window has been closed.
int startroutine(QApplication& app, const std::vector<std::string>& args);

}  // namespace qm::gui
