// SPDX-License-Identifier: GPL-3.0-or-later
// The closed vocabulary of keys Orvane can intercept or emit; the system-defined key types
// (SpecialKey) are named with the rest of the stored numbering in KeyEventNumbering.h.
#pragma once

#include "KeyEventNumbering.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane::model {

// The 38 keys, in declaration order. A key exists outside the program only as its case name.
enum class CustomKey : std::uint8_t {
    f1,
    f2,
    f3,
    f4,
    f5,
    f6,
    f7,
    f8,
    f9,
    f10,
    f11,
    f12,
    f13,
    f14,
    f15,
    f16,
    f17,
    f18,
    f19,
    f20,
    brightnessUp,
    brightnessDown,
    soundUp,
    soundDown,
    soundMute,
    illuminationUp,
    illuminationDown,
    illuminationToggle,
    missionControl,
    spotlight,
    dictation,
    focus,
    launchpad,
    play,
    next,
    previous,
    fast,
    rewind,
};
inline constexpr std::size_t customKeyCount = 38;

// The stored case name, exactly as written in JSON ("f1", "soundMute", ...).
std::string_view caseName(CustomKey key) noexcept;
// The key whose case name is exactly `name` (case-sensitive).
std::optional<CustomKey> customKeyNamed(std::string_view name) noexcept;

} // namespace orvane::model
