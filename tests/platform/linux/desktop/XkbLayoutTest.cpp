// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/desktop/XkbLayout.h"

#include <gtest/gtest.h>

namespace orvane::platform {
namespace {

TEST(XkbLayout, KeyNamesFollowTheLayout)
{
    const auto us = XkbLayout::fromNames("us");
    const auto de = XkbLayout::fromNames("de");
    ASSERT_TRUE(us && de) << "the XKB data (xkb-data) must be installed";
    struct Row {
        std::int64_t code;
        std::optional<std::string> us;
        std::optional<std::string> de;
    };
    const Row rows[] = {
        {0, "A", "A"},  // capital, never small
        {16, "Y", "Z"}, // the Y/Z swap
        {6, "Z", "Y"},
        {18, "1", "1"},
        {41, ";", "\u00D6"},      // Ö
        {39, "'", "\u00C4"},      // Ä
        {27, "-", "SS"},          // ß in capitals is SS
        {50, "`", "^"},           // a dead key shows its accent
        {24, "=", "\u00B4"},      // dead acute
        {36, "\u21A9", "\u21A9"}, // special names come before the layout
        {122, "F1", "F1"},
        {55, std::nullopt, std::nullopt},  // command types nothing
        {57, std::nullopt, std::nullopt},  // caps lock
        {200, std::nullopt, std::nullopt}, // not a key Orvane knows
        {-1, std::nullopt, std::nullopt},
        {70000, std::nullopt, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(engine::keyName(row.code, *us), row.us);
        EXPECT_EQ(engine::keyName(row.code, *de), row.de);
    }
    EXPECT_EQ(engine::shortcutDescription({{16}, 0x120000}, *de), "\u21E7\u2318Z");
}

// Capitals through GLib's Unicode case mapping, for the letters keyboard layouts type.
TEST(XkbLayout, CapitalsFollowUnicode)
{
    const auto us = XkbLayout::fromNames("us");
    ASSERT_TRUE(us);
    struct Row {
        const char* name;
        std::string text;
        std::string expected;
    };
    const Row rows[] = {
        {"German sharp s", "\u00DF", "SS"},
        {"Turkish dotless i", "\u0131", "I"},
        {"Romanian s with comma", "\u0219", "\u0218"},
        {"Romanian t with comma", "\u021B", "\u021A"},
        {"Vietnamese o with horn", "\u01A1", "\u01A0"},
        {"Vietnamese a with dot below", "\u1EA1", "\u1EA0"},
        {"Latin Extended-A", "\u0142\u017E\u0111", "\u0141\u017D\u0110"},
        {"Greek final sigma", "\u03C2", "\u03A3"},
        {"Cyrillic", "\u044F\u0451", "\u042F\u0401"},
        {"digits and signs stay", "1;'", "1;'"},
        {"broken text: ASCII letters only", "ab\xff", "AB\xff"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(us->upperCase(row.text), row.expected);
    }
}

// Names come from a layout that types Latin letters: the first such one configured, else "us".
TEST(XkbLayout, NamesComeFromAnAsciiCapableLayout)
{
    struct Row {
        const char* layouts;
        std::string key16; // the key that types "y" on "us" and "z" on "de"
        std::string key0;
    };
    const Row rows[] = {
        {"us,ru", "Y", "A"}, {"ru,de", "Z", "A"},    {"ru", "Y", "A"},
        {"gr", "Y", "A"},    {"ru,gr,de", "Z", "A"}, {"fr", "Y", "Q"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.layouts);
        const auto layout = XkbLayout::fromNames(row.layouts);
        ASSERT_TRUE(layout);
        EXPECT_EQ(engine::keyName(16, *layout), row.key16);
        EXPECT_EQ(engine::keyName(0, *layout), row.key0);
    }
}

TEST(XkbLayout, CurrentLayoutAlwaysAnswers)
{
    const auto layout = XkbLayout::current();
    ASSERT_NE(layout, nullptr);
    EXPECT_FALSE(layout->source().empty());
    EXPECT_TRUE(engine::keyName(0, *layout).has_value()) << layout->source();
}

TEST(XkbLayout, UnknownLayoutIsRefused)
{
    EXPECT_EQ(XkbLayout::fromNames("no-such-layout"), nullptr);
}

} // namespace
} // namespace orvane::platform
