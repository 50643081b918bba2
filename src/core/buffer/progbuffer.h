#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "devices/activemodel.h"

namespace qm {

inline constexpr int32_t kErasedWord = 0x3FFF;
inline constexpr int32_t kErasedByte = 0xFF;

// Word addresses of the locations outside FLASH.
inline constexpr int32_t kAddrIdFirst = 0x2000;
inline constexpr int32_t kAddrIdLast = 0x2003;
inline constexpr int32_t kAddrDeviceId = 0x2006;
inline constexpr int32_t kAddrConf1 = 0x2007;
inline constexpr int32_t kAddrConf2 = 0x2008;
inline constexpr int32_t kAddrEeprom = 0x2100;

// The in-memory image of one chip. Sized only by clearbuffer; everyone else writes in place.
struct ProgBuffer {
    std::vector<int32_t> flash;                             // 14-bit words
    std::vector<int32_t> eeprom;                            // bytes
    std::array<int32_t, 2> conf{kErasedWord, kErasedWord};  // CONF1 (2007h), CONF2 (2008h)
};

// Sizes the buffer for the model and fills it with erased values; the configuration words take
// the model's erased values whether or not CONF2 is used. Never sizes FLASH below one word.
void clearbuffer(ProgBuffer& progbuffer, const ActiveModel& activemodel);

}  // namespace qm
