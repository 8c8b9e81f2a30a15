// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyProps.h"

#include <cstdlib>

namespace orvane::model {

namespace {

using K = CustomKey;
using S = SpecialKey;
namespace vk = virtualKey;

KeyPropRow code(K key, const char* name, std::uint16_t code, std::optional<KeyImage> image = {})
{
    return {key, {name, KeyCodeTarget{code}, std::move(image)}};
}

KeyPropRow special(K key, const char* name, S type, KeyImage image)
{
    return {key, {name, SpecialKeyTarget{type}, std::move(image)}};
}

std::array<KeyPropRow, customKeyCount> makeRows()
{
    const auto named = KeyImage{NamedImage{}};
    const auto system = [](const char* image) { return KeyImage{SystemImage{image}}; };
    return {{
        code(K::missionControl, "Mission Control", vk::missionControl, named),
        code(K::spotlight, "Spotlight", vk::spotlight, system("NSImageNameTouchBarSearchTemplate")),
        code(K::dictation, "Dictation", vk::dictation,
             system("NSImageNameTouchBarAudioInputTemplate")),
        code(K::focus, "Focus", vk::focus, named),
        code(K::launchpad, "Launchpad", vk::launchpad, named),
        special(K::brightnessUp, "Brightness Up", S::NX_KEYTYPE_BRIGHTNESS_UP, named),
        special(K::brightnessDown, "Brightness Down", S::NX_KEYTYPE_BRIGHTNESS_DOWN, named),
        special(K::soundUp, "Sound Up", S::NX_KEYTYPE_SOUND_UP,
                system("NSImageNameTouchBarVolumeUpTemplate")),
        special(K::soundDown, "Sound Down", S::NX_KEYTYPE_SOUND_DOWN,
                system("NSImageNameTouchBarVolumeDownTemplate")),
        special(K::soundMute, "Mute", S::NX_KEYTYPE_MUTE,
                system("NSImageNameTouchBarAudioOutputMuteTemplate")),
        special(K::illuminationUp, "Illumination Up", S::NX_KEYTYPE_ILLUMINATION_UP, named),
        special(K::illuminationDown, "Illumination Down", S::NX_KEYTYPE_ILLUMINATION_DOWN, named),
        special(K::illuminationToggle, "Illumination Toggle", S::NX_KEYTYPE_ILLUMINATION_TOGGLE,
                named),
        special(K::play, "Play", S::NX_KEYTYPE_PLAY,
                system("NSImageNameTouchBarPlayPauseTemplate")),
        special(K::next, "Next", S::NX_KEYTYPE_NEXT,
                system("NSImageNameTouchBarSkipToEndTemplate")),
        special(K::previous, "Previous", S::NX_KEYTYPE_PREVIOUS,
                system("NSImageNameTouchBarSkipToStartTemplate")),
        special(K::fast, "Fast", S::NX_KEYTYPE_FAST,
                system("NSImageNameTouchBarFastForwardTemplate")),
        special(K::rewind, "Rewind", S::NX_KEYTYPE_REWIND,
                system("NSImageNameTouchBarRewindTemplate")),
        code(K::f1, "F1", vk::f1),
        code(K::f2, "F2", vk::f2),
        code(K::f3, "F3", vk::f3),
        code(K::f4, "F4", vk::f4),
        code(K::f5, "F5", vk::f5),
        code(K::f6, "F6", vk::f6),
        code(K::f7, "F7", vk::f7),
        code(K::f8, "F8", vk::f8),
        code(K::f9, "F9", vk::f9),
        code(K::f10, "F10", vk::f10),
        code(K::f11, "F11", vk::f11),
        code(K::f12, "F12", vk::f12),
        code(K::f13, "F13", vk::f13),
        code(K::f14, "F14", vk::f14),
        code(K::f15, "F15", vk::f15),
        code(K::f16, "F16", vk::f16),
        code(K::f17, "F17", vk::f17),
        code(K::f18, "F18", vk::f18),
        code(K::f19, "F19", vk::f19),
        code(K::f20, "F20", vk::f20),
    }};
}

// Function-local statics: built once on first use, thread-safe, never freed.
const std::array<KeyPropRow, customKeyCount>& rows()
{
    static const auto table = makeRows();
    return table;
}

// Indexed by case; the enum is dense, so an array serves as the lookup map.
const std::array<const KeyProp*, customKeyCount>& lookup()
{
    static const auto map = [] {
        std::array<const KeyProp*, customKeyCount> byKey{};
        for (const auto& row : rows())
            byKey[static_cast<std::size_t>(row.key)] = &row.prop;
        for (const auto* prop : byKey) {
            if (prop == nullptr)
                std::abort(); // a key without a row is a fault of the table
        }
        return byKey;
    }();
    return map;
}

} // namespace

std::span<const KeyPropRow> keyProps() noexcept
{
    return rows();
}

const KeyProp& keyProp(CustomKey key) noexcept
{
    return *lookup()[static_cast<std::size_t>(key)];
}

const TopRow& functionKeys() noexcept
{
    static const TopRow keys{K::f1, K::f2, K::f3, K::f4,  K::f5,  K::f6,
                             K::f7, K::f8, K::f9, K::f10, K::f11, K::f12};
    return keys;
}

const TopRow& defaultTopRowKeys() noexcept
{
    static const TopRow keys{K::brightnessDown, K::brightnessUp, K::missionControl, K::spotlight,
                             K::dictation,      K::focus,        K::rewind,         K::play,
                             K::fast,           K::soundMute,    K::soundDown,      K::soundUp};
    return keys;
}

} // namespace orvane::model
