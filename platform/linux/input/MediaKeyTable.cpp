// SPDX-License-Identifier: GPL-3.0-or-later
#include "MediaKeyTable.h"

#include <linux/input-event-codes.h>

#include <array>

namespace orvane::platform {

namespace {

using S = model::SpecialKey;

struct SpecialKeyPair {
    S key;
    int evdev;
};

// One evdev code per key type and one key type per code, so both directions agree.
constexpr auto table = std::to_array<SpecialKeyPair>({
    {S::NX_KEYTYPE_SOUND_UP, KEY_VOLUMEUP},
    {S::NX_KEYTYPE_SOUND_DOWN, KEY_VOLUMEDOWN},
    {S::NX_KEYTYPE_MUTE, KEY_MUTE},
    {S::NX_KEYTYPE_BRIGHTNESS_UP, KEY_BRIGHTNESSUP},
    {S::NX_KEYTYPE_BRIGHTNESS_DOWN, KEY_BRIGHTNESSDOWN},
    {S::NX_KEYTYPE_ILLUMINATION_UP, KEY_KBDILLUMUP},
    {S::NX_KEYTYPE_ILLUMINATION_DOWN, KEY_KBDILLUMDOWN},
    {S::NX_KEYTYPE_ILLUMINATION_TOGGLE, KEY_KBDILLUMTOGGLE},
    {S::NX_KEYTYPE_PLAY, KEY_PLAYPAUSE},
    {S::NX_KEYTYPE_NEXT, KEY_NEXTSONG},
    {S::NX_KEYTYPE_PREVIOUS, KEY_PREVIOUSSONG},
    {S::NX_KEYTYPE_FAST, KEY_FASTFORWARD},
    {S::NX_KEYTYPE_REWIND, KEY_REWIND},
    {S::NX_KEYTYPE_EJECT, KEY_EJECTCD},
});

} // namespace

std::optional<int> evdevFromSpecialKey(model::SpecialKey key) noexcept
{
    for (const auto& pair : table) {
        if (pair.key == key)
            return pair.evdev;
    }
    return std::nullopt;
}

std::optional<model::SpecialKey> specialKeyFromEvdev(int evdevCode) noexcept
{
    for (const auto& pair : table) {
        if (pair.evdev == evdevCode)
            return pair.key;
    }
    return std::nullopt;
}

} // namespace orvane::platform
