#pragma once

#include <array>
#include <cstdint>

namespace qm {

// The fifteen colours every themed window takes its colours from, each 0xRRGGBB (red in the
// high byte, no alpha). All black until the first theme is loaded.
struct ColourRoles {
    uint32_t windowback = 0;
    uint32_t filecapback = 0;
    uint32_t filecapfore = 0;
    uint32_t confcapback = 0;
    uint32_t confcapfore = 0;
    uint32_t modelcapback = 0;
    uint32_t modelcapfore = 0;
    uint32_t valueback = 0;
    uint32_t valuefore = 0;
    uint32_t memcapback = 0;
    uint32_t memcapfore = 0;
    uint32_t modelback = 0;
    uint32_t modelfore = 0;
    uint32_t infoback = 0;
    uint32_t infofore = 0;

    bool operator==(const ColourRoles&) const = default;
};

inline constexpr int kColourRoleCount = 15;

// The roles in declaration order, for code that walks all of them.
inline constexpr std::array<uint32_t ColourRoles::*, kColourRoleCount> kColourRoleMembers = {
    &ColourRoles::windowback,   &ColourRoles::filecapback, &ColourRoles::filecapfore,
    &ColourRoles::confcapback,  &ColourRoles::confcapfore, &ColourRoles::modelcapback,
    &ColourRoles::modelcapfore, &ColourRoles::valueback,   &ColourRoles::valuefore,
    &ColourRoles::memcapback,   &ColourRoles::memcapfore,  &ColourRoles::modelback,
    &ColourRoles::modelfore,    &ColourRoles::infoback,    &ColourRoles::infofore};

inline constexpr std::array<const char*, kColourRoleCount> kColourRoleNames = {
    "windowback",   "filecapback",  "filecapfore", "confcapback", "confcapfore",
    "modelcapback", "modelcapfore", "valueback",   "valuefore",   "memcapback",
    "memcapfore",   "modelback",    "modelfore",   "infoback",    "infofore"};

}  // namespace qm
