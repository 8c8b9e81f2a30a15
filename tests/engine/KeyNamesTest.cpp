// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/KeyNames.h"

#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::engine;

namespace {

test::FakeLayout usLayout()
{
    test::FakeLayout layout;
    layout.texts = {{0, "a"}, {40, "k"}, {6, "z"}, {16, "y"}, {41, "ö"}, {1, "ß"}, {9, "я"}};
    layout.capitals = {{"ö", "Ö"}, {"я", "Я"}, {"ß", "SS"}};
    return layout;
}

} // namespace

TEST(KeyNames, ShortcutDescriptions)
{
    const auto layout = usLayout();
    struct Row {
        const char* name;
        model::Shortcut shortcut;
        std::string expected;
    };
    const Row rows[] = {
        {"return alone", {{36}, 0}, "\u21A9"},
        {"all five modifiers in order, then F1", {{122}, 0xFE0000}, "⌃⌥⇧⌘\U0001F310\uFE0EF1"},
        {"command-shift-K", {{40}, 0x120000}, "⇧⌘K"},
        {"a letter is upper case", {{0}, 0}, "A"},
        {"non-ASCII letters take the layout's capitals", {{41}, 0}, "Ö"},
        {"cyrillic", {{9}, 0}, "Я"},
        {"a capital of two letters", {{1}, 0}, "SS"},
        {"other bits are not shown", {{0}, 0x1 | 0x100 | 0x40000}, "⌃A"},
        {"a key with no name", {{200}, 0x40000}, "⌃\uFFFD"},
        {"a key code beyond 16 bits has no name", {{65536}, 0}, "\uFFFD"},
        {"a negative key code has no name", {{-1}, 0}, "\uFFFD"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(shortcutDescription(row.shortcut, layout), row.expected);
    }
}

TEST(KeyNames, SpecialNamesComeBeforeTheLayout)
{
    test::FakeLayout layout;
    layout.texts = {{36, "\r"}, {49, " "}};
    EXPECT_EQ(keyName(36, layout), "\u21A9");
    EXPECT_EQ(keyName(49, layout), "\u23B5");
    EXPECT_EQ(keyName(90, layout), "F20");
    EXPECT_EQ(keyName(114, layout), "?\u20DD");
    EXPECT_EQ(keyName(12, layout), std::nullopt);
}

TEST(KeyNames, SelectableKeysKeepOrderAndSkipNamelessKeys)
{
    const auto layout = usLayout();
    const auto& keys = selectableKeys(layout);
    // Named by the layout in list order (A, K, ...); letters this layout does not name are left
    // out.
    ASSERT_GE(keys.size(), 3u);
    EXPECT_EQ(keys[0], (SelectableKey{0, "A"}));
    EXPECT_EQ(keys[1], (SelectableKey{40, "K"}));
    EXPECT_EQ(keys.back(), (SelectableKey{90, "F20"}));
    // 35 special names, plus the layout's names that are in the list.
    std::size_t special = 0;
    for (const auto& [code, name] : keys)
        if (layout.texts.count(static_cast<std::uint16_t>(code)) == 0)
            ++special;
    EXPECT_EQ(special, 35u);
    // Built once: a later layout does not change it.
    test::FakeLayout other;
    EXPECT_EQ(&selectableKeys(other), &keys);
}

TEST(KeyNames, ModifierDescriptionOfNothingIsEmpty)
{
    EXPECT_EQ(modifierDescription(0), "");
    EXPECT_EQ(modifierDescription(0x800000), "\U0001F310\uFE0E");
}

// Without the platform's Unicode tables only ASCII letters change; nothing else is touched, and
// broken text stays as it is.
TEST(KeyNames, FallbackCapitalsAreAsciiOnly)
{
    const test::FakeLayout layout;
    EXPECT_EQ(layout.KeyboardLayout::upperCase("abc\xff"), "ABC\xff");
    EXPECT_EQ(layout.KeyboardLayout::upperCase("\xc3"), "\xc3");
    EXPECT_EQ(layout.KeyboardLayout::upperCase("éz"), "éZ");
}
