#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The places the programs look for the device description file, given the folder of the running
// executable (with or without a trailing '/'): beside the executable first, as in the build tree
// or a copy run from one folder, then in ../share/quellmark/, where an installed program keeps
// it (/usr/bin/quellmark and /usr/share/quellmark/quellmarkdevices.txt).
std::vector<std::string> devicefilecandidates(std::string_view appfolder);

// The first of those places that holds the file. When none does, the first place, so that the
// message about the missing file names the folder of the program.
std::string finddevicefile(std::string_view appfolder);

}  // namespace qm
