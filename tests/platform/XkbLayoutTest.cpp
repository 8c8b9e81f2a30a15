#include "platform/linux/XkbLayout.h"

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
        {27, "-", "\u00DF"},      // ß has no single capital
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
