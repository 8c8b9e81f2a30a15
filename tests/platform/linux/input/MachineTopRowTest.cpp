// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input/MachineTopRow.h"

#include <gtest/gtest.h>

using namespace orvane;
using K = model::CustomKey;

TEST(MachineTopRow, TrackKeysBecomePreviousAndNext)
{
    const model::TopRow row = platform::withLinuxTrackKeys(model::defaultTopRowKeys());
    const model::TopRow expected{K::brightnessDown, K::brightnessUp, K::missionControl,
                                 K::spotlight,      K::dictation,    K::focus,
                                 K::previous,       K::play,         K::next,
                                 K::soundMute,      K::soundDown,    K::soundUp};
    EXPECT_EQ(row, expected);
    // Rows without the two keys stay as they are.
    EXPECT_EQ(platform::withLinuxTrackKeys(model::functionKeys()), model::functionKeys());
}
