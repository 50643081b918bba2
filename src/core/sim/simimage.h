#pragma once

#include <string>

namespace qm {

class PicChip;

// A simulated chip's memory kept as an Intel HEX file in the program's own layout (FLASH, the
// configuration words, EEPROM, and a record of their own for calibration words in configuration
// space), so that separate runs see the same chip. IDs are not kept.

// Fills the chip from the image. A missing file leaves the chip as it is (a new, erased chip,
// saved once a run changes it), but its folder must exist to take it. Returns false with a reason
// when the file cannot be read, has a faulty record, or holds locations the chip does not have: an
// image never loses data to a smaller chip. The reason then names the chip the image seems to be
// made for.
bool loadchipimage(PicChip& chip, const std::string& path, std::string& why);

// The image file's text for the chip as it is now: equal texts mean equal memories.
std::string chipimagetext(const PicChip& chip);

// Writes an image text (chipimagetext) to the image file; the old image stays whole if that
// fails.
bool savechipimage(const std::string& path, const std::string& text, std::string& why);

}  // namespace qm
