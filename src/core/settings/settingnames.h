#pragma once

#include <cstdint>

namespace qm {

// The value names under the settings key, and the defaults that are fixed at compile time.
// "Last Path" defaults to the application folder and "Serial Port Number" to the highest port
// found at start-up; their callers supply those defaults.
inline constexpr const char* kSettingLastPath = "Last Path";              // text
inline constexpr const char* kSettingModel = "Microcontroller Model";     // text
inline constexpr const char* kSettingPortNumber = "Serial Port Number";   // number
inline constexpr const char* kSettingBaudRate = "Serial Port Baud Rate";  // text
inline constexpr const char* kSettingColorTheme = "Color Theme";          // text
inline constexpr const char* kSettingMouseWheel = "Mouse Wheel Enabled";  // number
// Minimum time the line driver holds each line change, in microseconds.
inline constexpr const char* kSettingLineHoldTime = "Line Hold Time";  // number

inline constexpr const char* kDefaultModel = "1";
inline constexpr int32_t kDefaultPortNumber = 2;  // when no port could be opened at start-up
inline constexpr const char* kDefaultBaudRate = "56000";
inline constexpr const char* kDefaultColorTheme = "Original Lite";
inline constexpr int32_t kDefaultMouseWheel = 1;
inline constexpr int32_t kDefaultLineHoldTime = 0;

// Longest text a read gives back; a longer stored text counts as missing.
inline constexpr int kMaxSettingText = 254;

}  // namespace qm
