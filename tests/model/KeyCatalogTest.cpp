// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/KeyProps.h"

#include <gtest/gtest.h>

#include <set>

using namespace orvane::model;

namespace {

struct CatalogRow {
    CustomKey key;
    const char* caseName;
    const char* name;
    int code;          // -1: a special key
    int special;       // -1: a key code
    const char* image; // nullptr: no picture; "": Orvane's own picture named after the key
};

// The catalogue as a user sees it in the picker, top to bottom.
const CatalogRow expectedCatalogue[] = {
    {CustomKey::missionControl, "missionControl", "Mission Control", 160, -1, ""},
    {CustomKey::spotlight, "spotlight", "Spotlight", 177, -1, "NSImageNameTouchBarSearchTemplate"},
    {CustomKey::dictation, "dictation", "Dictation", 176, -1,
     "NSImageNameTouchBarAudioInputTemplate"},
    {CustomKey::focus, "focus", "Focus", 178, -1, ""},
    {CustomKey::launchpad, "launchpad", "Launchpad", 131, -1, ""},
    {CustomKey::brightnessUp, "brightnessUp", "Brightness Up", -1, 2, ""},
    {CustomKey::brightnessDown, "brightnessDown", "Brightness Down", -1, 3, ""},
    {CustomKey::soundUp, "soundUp", "Sound Up", -1, 0, "NSImageNameTouchBarVolumeUpTemplate"},
    {CustomKey::soundDown, "soundDown", "Sound Down", -1, 1,
     "NSImageNameTouchBarVolumeDownTemplate"},
    {CustomKey::soundMute, "soundMute", "Mute", -1, 7,
     "NSImageNameTouchBarAudioOutputMuteTemplate"},
    {CustomKey::illuminationUp, "illuminationUp", "Illumination Up", -1, 21, ""},
    {CustomKey::illuminationDown, "illuminationDown", "Illumination Down", -1, 22, ""},
    {CustomKey::illuminationToggle, "illuminationToggle", "Illumination Toggle", -1, 23, ""},
    {CustomKey::play, "play", "Play", -1, 16, "NSImageNameTouchBarPlayPauseTemplate"},
    {CustomKey::next, "next", "Next", -1, 17, "NSImageNameTouchBarSkipToEndTemplate"},
    {CustomKey::previous, "previous", "Previous", -1, 18, "NSImageNameTouchBarSkipToStartTemplate"},
    {CustomKey::fast, "fast", "Fast", -1, 19, "NSImageNameTouchBarFastForwardTemplate"},
    {CustomKey::rewind, "rewind", "Rewind", -1, 20, "NSImageNameTouchBarRewindTemplate"},
    {CustomKey::f1, "f1", "F1", 122, -1, nullptr},
    {CustomKey::f2, "f2", "F2", 120, -1, nullptr},
    {CustomKey::f3, "f3", "F3", 99, -1, nullptr},
    {CustomKey::f4, "f4", "F4", 118, -1, nullptr},
    {CustomKey::f5, "f5", "F5", 96, -1, nullptr},
    {CustomKey::f6, "f6", "F6", 97, -1, nullptr},
    {CustomKey::f7, "f7", "F7", 98, -1, nullptr},
    {CustomKey::f8, "f8", "F8", 100, -1, nullptr},
    {CustomKey::f9, "f9", "F9", 101, -1, nullptr},
    {CustomKey::f10, "f10", "F10", 109, -1, nullptr},
    {CustomKey::f11, "f11", "F11", 103, -1, nullptr},
    {CustomKey::f12, "f12", "F12", 111, -1, nullptr},
    {CustomKey::f13, "f13", "F13", 105, -1, nullptr},
    {CustomKey::f14, "f14", "F14", 107, -1, nullptr},
    {CustomKey::f15, "f15", "F15", 113, -1, nullptr},
    {CustomKey::f16, "f16", "F16", 106, -1, nullptr},
    {CustomKey::f17, "f17", "F17", 64, -1, nullptr},
    {CustomKey::f18, "f18", "F18", 79, -1, nullptr},
    {CustomKey::f19, "f19", "F19", 80, -1, nullptr},
    {CustomKey::f20, "f20", "F20", 90, -1, nullptr},
};

} // namespace

TEST(KeyCatalog, RowsMatchTheCatalogueInOrder)
{
    const auto rows = keyProps();
    ASSERT_EQ(rows.size(), std::size(expectedCatalogue));
    std::set<CustomKey> seen;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CatalogRow& expected = expectedCatalogue[i];
        SCOPED_TRACE(expected.caseName);
        EXPECT_EQ(rows[i].key, expected.key);
        EXPECT_TRUE(seen.insert(rows[i].key).second) << "key listed twice";
        EXPECT_EQ(caseName(rows[i].key), expected.caseName);
        EXPECT_EQ(customKeyNamed(expected.caseName), expected.key);
        // The lookup and the rows must agree.
        const KeyProp& prop = keyProp(expected.key);
        EXPECT_EQ(&prop, &rows[i].prop);
        EXPECT_EQ(prop.name, expected.name);
        const KeyMapTarget target =
            expected.code >= 0
                ? KeyMapTarget{KeyCodeTarget{static_cast<std::uint16_t>(expected.code)}}
                : KeyMapTarget{SpecialKeyTarget{static_cast<SpecialKey>(expected.special)}};
        EXPECT_EQ(prop.target, target);
        const std::optional<KeyImage> image =
            expected.image == nullptr ? std::nullopt
            : *expected.image == '\0' ? std::optional<KeyImage>(NamedImage{})
                                      : std::optional<KeyImage>(SystemImage{expected.image});
        EXPECT_EQ(prop.image, image);
    }
}

TEST(KeyCatalog, FunctionKeysAndDefaultTopRow)
{
    const TopRow fKeys{CustomKey::f1, CustomKey::f2,  CustomKey::f3,  CustomKey::f4,
                       CustomKey::f5, CustomKey::f6,  CustomKey::f7,  CustomKey::f8,
                       CustomKey::f9, CustomKey::f10, CustomKey::f11, CustomKey::f12};
    EXPECT_EQ(functionKeys(), fKeys);
    EXPECT_EQ(defaultTopRowKeys().front(), CustomKey::brightnessDown);
    EXPECT_EQ(defaultTopRowKeys()[5], CustomKey::focus);
    EXPECT_EQ(defaultTopRowKeys().back(), CustomKey::soundUp);
}

TEST(KeyCatalog, CaseNamesAreExact)
{
    EXPECT_FALSE(customKeyNamed("F1").has_value());
    EXPECT_FALSE(customKeyNamed("soundmute").has_value());
    EXPECT_FALSE(customKeyNamed("f21").has_value());
    EXPECT_FALSE(customKeyNamed("").has_value());
}

TEST(SpecialKey, FromRawValue)
{
    EXPECT_EQ(specialKeyFromRaw(0), SpecialKey::NX_KEYTYPE_SOUND_UP);
    EXPECT_EQ(specialKeyFromRaw(23), SpecialKey::NX_KEYTYPE_ILLUMINATION_TOGGLE);
    EXPECT_FALSE(specialKeyFromRaw(24).has_value());
    EXPECT_FALSE(specialKeyFromRaw(65535).has_value());
    EXPECT_EQ(rawValue(SpecialKey::NX_POWER_KEY), 6);
}

TEST(KeyMapTarget, EqualityComparesCaseThenPayload)
{
    const KeyMapTarget f1{KeyCodeTarget{122}};
    EXPECT_EQ(f1, KeyMapTarget{KeyCodeTarget{122}});
    EXPECT_NE(f1, KeyMapTarget{KeyCodeTarget{120}});
    EXPECT_NE(f1, KeyMapTarget{SpecialKeyTarget{SpecialKey::NX_KEYTYPE_SOUND_UP}});
    EXPECT_EQ(KeyMapTarget{SpecialKeyTarget{SpecialKey::NX_KEYTYPE_MUTE}},
              KeyMapTarget{SpecialKeyTarget{SpecialKey::NX_KEYTYPE_MUTE}});
    EXPECT_NE(KeyMapTarget{SpecialKeyTarget{SpecialKey::NX_KEYTYPE_MUTE}},
              KeyMapTarget{SpecialKeyTarget{SpecialKey::NX_KEYTYPE_PLAY}});
}
