#pragma once

#include <cstdint>

#include "engine/engine.h"

namespace qm {

// Bounds of the buffer as it is, not as the model says it should be: the buffer is what gets
// indexed. On an address outside, these set the run's error reason and return false.
bool flashaddressok(Engine& engine, int32_t address);
bool eepromaddressok(Engine& engine, int32_t address);

// Progress texts F, E, CONF1:, CONF2:, each followed by one yield.
void progressflash(Engine& engine);
void progresseeprom(Engine& engine);
void progressconfig(Engine& engine, int which);

}  // namespace qm
