#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "devices/activemodel.h"
#include "devices/devicemodel.h"

namespace qm {

// Model keys and script kinds beyond the original file format. A reader that follows the
// original rules ignores their lines (a line with a space whose key or keyword it does not know),
// so a file that uses them stays readable there, and a file without them reads as before.
// The reader stores their texts on the model (devicemodel::optional, by name without the colon);
// activation converts them.

// "deviceid: 0E20"        2006h with the revision bits masked off (four hex digits)
// "deviceidmask: 3FE0"    the mask that takes off the revision (default 3FE0)
// "configmask: 21FF,3FFF" implemented bits of CONF1 and CONF2, written like configerased
//                         (default 3FFF,3FFF: every bit is compared)
// "calibration: 03FF=34XX 2007&3000"
//                         factory calibration to keep, one item per word, separated by blanks:
//                         AAAA (the word at AAAAh), AAAA&MMMM (its bits MMMMh), either followed
//                         by =FFFF, the form the kept bits must have before an erase (hex
//                         digits, X for any digit)
// "configfields: 2"       the field set (configfieldlines.h) that names the fields of CONF1
// "config2fields: 5"      the same for CONF2, on a model with config2used true
inline constexpr std::array<std::string_view, 6> kOptionalValueKeys{
    "deviceid:", "deviceidmask:", "configmask:", "calibration:", "configfields:", "config2fields:"};

// A script kind of its own: numbered definitions under `keyword` ("identifyalgdef 1: ..."), and
// the model key that copies one of them onto the model ("identifyalg: 1").
struct OptionalScript {
    std::string_view keyword;
    std::string_view key;
};
// identify: reads the device ID at 2006h into the temporary register (temp=s04).
// calread: reads calibration word k into register cal<k> (cal1=s04 ...).
// calwrite: writes the kept words back after Erase All's erase (s02-cal1 ...).
inline constexpr std::array<OptionalScript, 3> kOptionalScripts{{
    {"identifyalgdef", "identifyalg:"},
    {"calreadalgdef", "calreadalg:"},
    {"calwritealgdef", "calwritealg:"},
}};

// A key's name as devicemodel::optional files it: the key without its colon.
std::string optionalname(std::string_view key);

// Where a model's ID sits: `id` is -1 when the model has none. `problem` says why the model's
// texts cannot be used, empty when they can.
struct ModelId {
    int32_t id = -1;
    int32_t mask = kDefaultDeviceIdMask;
    std::string problem;
};
ModelId modelid(const devicemodel& model);

// Whether a word read at 2006h is the model's: its bits under the mask equal the ID.
bool idmatches(const ModelId& model, int32_t word);

// The words of a calibration key's value. `why` says what is wrong with it, empty when nothing
// is; flashsize bounds the FLASH addresses.
std::vector<CalibrationWord> parsecalibration(std::string_view text, int32_t flashsize,
                                              std::string& why);

// Converts the optional keys of `model` into deviceid, deviceidmask, configmask,
// identifysteps and the calibration of `converted` (whose flashsize is already set). Returns why
// the model cannot be used (a malformed value, an ID with bits outside its mask, an ID without
// an identify script to read it, an identify script that reads no word, calibration words
// without a script that reads each of them, a calibration script with an instruction it cannot
// run), empty when it can.
std::string convertoptionalkeys(const devicemodel& model, ActiveModel& converted);

}  // namespace qm
