#pragma once

#include <cstdint>
#include <string_view>

#include "devices/devicemodel.h"

namespace qm {

// The model a text names, as a user writes it: a number 1..count, or a model name compared
// without regard to case (the first model of that name when two share it), also with "PIC" in
// front of the name ("PIC16F690" for the model 16F690). 0 when it names none.
int32_t findmodel(const DeviceTable& table, std::string_view text);

}  // namespace qm
