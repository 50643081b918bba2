#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "devices/configfields.h"
#include "devices/devicemodel.h"

namespace qm {

// The bits of 2006h that hold the part's ID when a model names no mask: all but a 5-bit revision.
inline constexpr int32_t kDefaultDeviceIdMask = 0x3FE0;

// A location whose factory value Program All and Erase All keep: a FLASH word or a word of
// configuration space, or some bits of one.
struct CalibrationWord {
    int32_t address = 0;
    int32_t mask = 0x3FFF;  // the bits kept
    // The form the kept bits must have before an erase: (word & formmask) == formvalue. formmask
    // 0: any value. `form` is the text as written, e.g. "34XX".
    int32_t formmask = 0;
    int32_t formvalue = 0;
    std::string form;

    bool operator==(const CalibrationWord&) const = default;
};

// The most calibration words a model may keep: one per calibration register.
inline constexpr size_t kMaxCalibrationWords = 8;

// The active model's values, converted from the texts of its devicemodel by selectmodel.
struct ActiveModel {
    int32_t modelnumber = 0;
    std::string modelname;
    int32_t flashsize = 0;   // words
    int32_t eepromsize = 0;  // bytes; 0 when the chip has none
    // Erased CONF1 (index 0, 2007h) and CONF2 (index 1, 2008h); -1 when the text was not four
    // hex digits.
    std::array<int32_t, 2> erasedconfig{0, 0};
    bool config2used = false;
    int32_t voltageorder = 0;  // 0 none, 1 supply first ("vddvpp"), 2 VPP first ("vppvdd")
    int32_t progtime = 0;      // ms, the pause of "wprog"
    int32_t pagesize = 0;      // FLASH page size in words
    // What 2006h reads with the revision bits (those outside deviceidmask) cleared; -1 when the
    // model has no device ID, and then no chip is checked.
    int32_t deviceid = -1;
    int32_t deviceidmask = kDefaultDeviceIdMask;
    // Implemented bits of CONF1 and CONF2: the configuration checks compare only these.
    std::array<int32_t, 2> configmask{0x3FFF, 0x3FFF};
    // The named fields of CONF1 (index 0) and CONF2 (index 1), from the field sets that the
    // model's configfields and config2fields keys name; empty when it names none. Activation has
    // checked them: inside configmask, no overlap, one erased setting per field (configfields.h).
    std::array<ConfigFieldSet, 2> configfields;
    // The script that reads 2006h into tempword; empty when the model has none.
    std::vector<std::string> identifysteps;
    // The words to keep; the script that reads word k into register cal<k>, and the one that
    // writes them back after an erase (empty when the erase spares them).
    std::vector<CalibrationWord> calibration;
    std::vector<std::string> calreadsteps;
    std::vector<std::string> calwritesteps;
    // Instruction lists by Operation. Instruction n, counted from 1 as scripts and messages count
    // it, is steps[op][n-1].
    std::array<std::vector<std::string>, kOperationCount> steps;

    const std::vector<std::string>& erasesteps() const { return steps[0]; }
    const std::vector<std::string>& programsteps() const { return steps[1]; }
    const std::vector<std::string>& readsteps() const { return steps[2]; }
    const std::vector<std::string>& blankchecksteps() const { return steps[3]; }
    const std::vector<std::string>& verifysteps() const { return steps[4]; }

    bool operator==(const ActiveModel&) const = default;
};

}  // namespace qm
