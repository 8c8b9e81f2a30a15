// The closed vocabulary of keys Orvane can intercept or emit, and the system-defined key types.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane::model {

// The 38 keys, in declaration order. A key exists outside the program only as its case name.
enum class CustomKey : std::uint8_t {
    f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19, f20,
    brightnessUp, brightnessDown, soundUp, soundDown, soundMute,
    illuminationUp, illuminationDown, illuminationToggle,
    missionControl, spotlight, dictation, focus, launchpad,
    play, next, previous, fast, rewind,
};
inline constexpr std::size_t customKeyCount = 38;

// The stored case name, exactly as written in JSON ("f1", "soundMute", ...).
std::string_view caseName(CustomKey key) noexcept;
// The key whose case name is exactly `name` (case-sensitive).
std::optional<CustomKey> customKeyNamed(std::string_view name) noexcept;

// System-defined media and brightness key types; the raw value is the system's key-type number.
enum class SpecialKey : std::uint16_t {
    NX_KEYTYPE_SOUND_UP = 0,
    NX_KEYTYPE_SOUND_DOWN = 1,
    NX_KEYTYPE_BRIGHTNESS_UP = 2,
    NX_KEYTYPE_BRIGHTNESS_DOWN = 3,
    NX_KEYTYPE_CAPS_LOCK = 4,
    NX_KEYTYPE_HELP = 5,
    NX_POWER_KEY = 6,
    NX_KEYTYPE_MUTE = 7,
    NX_UP_ARROW_KEY = 8,
    NX_DOWN_ARROW_KEY = 9,
    NX_KEYTYPE_NUM_LOCK = 10,
    NX_KEYTYPE_CONTRAST_UP = 11,
    NX_KEYTYPE_CONTRAST_DOWN = 12,
    NX_KEYTYPE_LAUNCH_PANEL = 13,
    NX_KEYTYPE_EJECT = 14,
    NX_KEYTYPE_VIDMIRROR = 15,
    NX_KEYTYPE_PLAY = 16,
    NX_KEYTYPE_NEXT = 17,
    NX_KEYTYPE_PREVIOUS = 18,
    NX_KEYTYPE_FAST = 19,
    NX_KEYTYPE_REWIND = 20,
    NX_KEYTYPE_ILLUMINATION_UP = 21,
    NX_KEYTYPE_ILLUMINATION_DOWN = 22,
    NX_KEYTYPE_ILLUMINATION_TOGGLE = 23,
};

constexpr std::optional<SpecialKey> specialKeyFromRaw(std::uint16_t raw) noexcept
{
    if (raw > 23)
        return std::nullopt;
    return static_cast<SpecialKey>(raw);
}

constexpr std::uint16_t rawValue(SpecialKey key) noexcept
{
    return static_cast<std::uint16_t>(key);
}

} // namespace orvane::model
