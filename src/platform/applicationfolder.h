#pragma once

#include <string>

namespace qm {

// The folder of the running executable with a trailing '/', its case kept (a case-sensitive file
// system would not find a lower-cased path). Needs a QCoreApplication; without one it falls back
// to the current folder.
std::string applicationfolder();

}  // namespace qm
