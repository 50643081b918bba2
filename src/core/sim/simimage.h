#pragma once

#include <string>

namespace qm {

class PicChip;

// A simulated chip's memory kept as an Intel HEX file in the program's own layout (FLASH, the
// configuration words, EEPROM), so that separate runs see the same chip. IDs are not kept.

// Fills the chip from the image. A missing file leaves the chip as it is (a new, erased chip).
// Returns false with a reason when the file cannot be read or has a faulty record.
bool loadchipimage(PicChip& chip, const std::string& path, std::string& why);

// Writes the chip's memory to the image; the old image stays whole if that fails.
bool savechipimage(const PicChip& chip, const std::string& path, std::string& why);

}  // namespace qm
