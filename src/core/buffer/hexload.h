#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "buffer/hexreader.h"
#include "buffer/progbuffer.h"
#include "devices/activemodel.h"
#include "host/host.h"

namespace qm {

// "Operation completed. Total N (KK) program words loaded." for loadedwords N.
std::string loadedstatus(int32_t loadedwords);
// What else the user must know of a file read without fault, one sentence each, with the
// separator between them: that it holds no data for the chip, that it ends without an end-of-file
// record (it may be cut off), that its ID locations are not kept. Empty when there is nothing to
// say.
std::string loadnotes(const HexReadResult& read, std::string_view separator = " ");
// The load report of a file read without fault: loadedstatus, then the notes.
std::string loadreport(int32_t loadedwords, const HexReadResult& read);
// N/1024 in its shortest decimal form without a 0 before the point, cut to four characters.
std::string kilowords(int32_t words);

inline constexpr char kStatusNotLoaded[] = "HEX file not loaded!";

struct HexLoadResult {
    bool ok = false;
    // The file label_hex names now: its whole path after a load (the label fits it to its
    // width), empty after a failure.
    std::string labelhex;
    // What went to the status line.
    std::string status;
    HexReadResult read;
};

// The load of one HEX file into the buffer: disables the commands, clears the buffer, reads
// lastpath + filename, shows the fault or warning message, redraws, writes the status line and
// re-enables. A failed load (a fault, or a file that cannot be read) leaves the buffer cleared
// and loadedwords 0. The caller puts labelhex into its label.
HexLoadResult loadhexfile(Host& host, ProgBuffer& progbuffer, const ActiveModel& activemodel,
                          int32_t& loadedwords, const std::string& lastpath,
                          const std::string& filename);

}  // namespace qm
