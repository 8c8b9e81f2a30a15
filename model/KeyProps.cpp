#include "KeyProps.h"

#include <cstdlib>

namespace orvane::model {

namespace {

using K = CustomKey;
using S = SpecialKey;

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
        code(K::missionControl, "Mission Control", 160, named),
        code(K::spotlight, "Spotlight", 177, system("NSImageNameTouchBarSearchTemplate")),
        code(K::dictation, "Dictation", 176, system("NSImageNameTouchBarAudioInputTemplate")),
        code(K::focus, "Focus", 178, named),
        code(K::launchpad, "Launchpad", 131, named),
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
        special(K::play, "Play", S::NX_KEYTYPE_PLAY, system("NSImageNameTouchBarPlayPauseTemplate")),
        special(K::next, "Next", S::NX_KEYTYPE_NEXT, system("NSImageNameTouchBarSkipToEndTemplate")),
        special(K::previous, "Previous", S::NX_KEYTYPE_PREVIOUS,
                system("NSImageNameTouchBarSkipToStartTemplate")),
        special(K::fast, "Fast", S::NX_KEYTYPE_FAST, system("NSImageNameTouchBarFastForwardTemplate")),
        special(K::rewind, "Rewind", S::NX_KEYTYPE_REWIND, system("NSImageNameTouchBarRewindTemplate")),
        code(K::f1, "F1", 122), code(K::f2, "F2", 120), code(K::f3, "F3", 99),
        code(K::f4, "F4", 118), code(K::f5, "F5", 96), code(K::f6, "F6", 97),
        code(K::f7, "F7", 98), code(K::f8, "F8", 100), code(K::f9, "F9", 101),
        code(K::f10, "F10", 109), code(K::f11, "F11", 103), code(K::f12, "F12", 111),
        code(K::f13, "F13", 105), code(K::f14, "F14", 107), code(K::f15, "F15", 113),
        code(K::f16, "F16", 106), code(K::f17, "F17", 64), code(K::f18, "F18", 79),
        code(K::f19, "F19", 80), code(K::f20, "F20", 90),
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
    static const TopRow keys{K::f1, K::f2, K::f3, K::f4, K::f5, K::f6,
                             K::f7, K::f8, K::f9, K::f10, K::f11, K::f12};
    return keys;
}

const TopRow& defaultTopRowKeys() noexcept
{
    static const TopRow keys{K::brightnessDown, K::brightnessUp, K::missionControl, K::spotlight,
                             K::dictation, K::focus, K::rewind, K::play,
                             K::fast, K::soundMute, K::soundDown, K::soundUp};
    return keys;
}

} // namespace orvane::model
