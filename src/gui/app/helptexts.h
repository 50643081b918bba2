#pragma once

#include <QString>

namespace qm::gui {

// The texts of the Help menu, every line ended by CR LF (the last one too).

// "Serial Port Pinout": the PC's 9-pin connector, pin, signal and direction separated by TABs.
QString pinouttext();

// "About Quellmark": the title, the author and rights lines, the warranty and web lines, the
// bug-report address, then the program's version and the Qt version it runs on, and the licence.
QString abouttext(const QString& title, const QString& version, const QString& qtversion);

}  // namespace qm::gui
