// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/KeyCodeTable.h"

#include "model/KeyProps.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <set>
#include <string>

namespace orvane::platform {
namespace {

TEST(KeyCodeTable, NoCodeAppearsTwiceOnEitherSide)
{
    std::set<std::uint16_t> macCodes;
    std::set<int> evdevCodes;
    for (const auto& pair : keyCodeTable()) {
        EXPECT_TRUE(macCodes.insert(pair.mac).second) << "virtual code " << pair.mac;
        EXPECT_TRUE(evdevCodes.insert(pair.evdev).second) << "evdev code " << pair.evdev;
    }
}

TEST(KeyCodeTable, EveryPairRoundTrips)
{
    for (const auto& pair : keyCodeTable()) {
        SCOPED_TRACE(std::to_string(pair.mac));
        EXPECT_EQ(evdevFromMac(pair.mac), pair.evdev);
        EXPECT_EQ(macFromEvdev(pair.evdev), pair.mac);
    }
}

// The codes the shortcut editor offers, the modifiers and every key of the catalogue that is an
// ordinary key event must all reach the kernel, or a shortcut or key could never be posted.
TEST(KeyCodeTable, CoversEveryKeyOrvaneSendsOrNames)
{
    const std::uint16_t selectable[] = {
        0,   11,  8,  2,   14,  3,   5,   4,  34,  38, 40, 37, 46,  45,  31,  35,  12,  15,  1,
        17,  32,  9,  13,  7,   16,  6,   29, 18,  19, 20, 21, 23,  22,  26,  28,  25,  36,  42,
        50,  43,  24, 27,  47,  39,  41,  44, 49,  48, 33, 30, 116, 121, 115, 119, 126, 124, 125,
        123, 53,  51, 117, 114, 122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111, 105, 107,
        113, 106, 64, 79,  80,  90,  55,  54, 56,  60, 58, 61, 59,  62,  57,  63};
    for (const auto code : selectable)
        EXPECT_TRUE(evdevFromMac(code).has_value()) << "virtual code " << code;
    for (const auto& row : model::keyProps()) {
        if (const auto* key = std::get_if<model::KeyCodeTarget>(&row.prop.target)) {
            EXPECT_TRUE(evdevFromMac(key->code).has_value()) << row.prop.name;
        }
    }
}

TEST(KeyCodeTable, KnownPositions)
{
    struct Row {
        std::uint16_t mac;
        int evdev;
    };
    const Row rows[] = {
        {0, KEY_A},        {6, KEY_Z},           {16, KEY_Y},       {22, KEY_6},
        {23, KEY_5},       {51, KEY_BACKSPACE},  {117, KEY_DELETE}, {55, KEY_LEFTMETA},
        {58, KEY_LEFTALT}, {63, KEY_FN},         {122, KEY_F1},     {111, KEY_F12},
        {160, KEY_SCALE},  {131, KEY_DASHBOARD}, {177, KEY_SEARCH},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.mac));
        EXPECT_EQ(evdevFromMac(row.mac), row.evdev);
    }
    EXPECT_EQ(evdevFromMac(0xFFFF), std::nullopt);
    EXPECT_EQ(macFromEvdev(KEY_VOLUMEUP), std::nullopt); // a special key, not a key code
}

} // namespace
} // namespace orvane::platform
