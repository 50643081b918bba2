#pragma once

#include <optional>
#include <string>

#include "buffer/progbuffer.h"
#include "devices/activemodel.h"
#include "host/host.h"

namespace qm {

// The whole HEX file for the buffer: FLASH up to its last non-erased word, the configuration
// record (CONF1, and CONF2 when config2used), EEPROM up to its last non-erased byte, the
// end-of-file record; CR LF line ends, upper-case digits.
std::string hexfiletext(const ProgBuffer& progbuffer, bool config2used);

inline constexpr char kStatusSaved[] = "HEX file saved.";
inline constexpr char kStatusNotSaved[] = "HEX file not saved!";

enum class HexSaveOutcome { Saved, Declined, Failed };

struct HexSaveResult {
    HexSaveOutcome outcome = HexSaveOutcome::Failed;
    // The path label_hex names now, whole; set only when the file was written, so the label never
    // names a file that does not hold the buffer.
    std::optional<std::string> labelhex;
    std::string reason;  // why the save failed
};

// The save of the buffer to path after the file dialog (the caller has already stored
// lastpath): asks before replacing an existing file, writes through a temporary file so a
// failure leaves the old file as it was, reports a failure with a message naming the file, and
// writes the outcome to the status line. A declined question changes nothing.
HexSaveResult savehexfile(Host& host, const ProgBuffer& progbuffer, const ActiveModel& activemodel,
                          const std::string& path);

}  // namespace qm
