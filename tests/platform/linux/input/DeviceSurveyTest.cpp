// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/input/DeviceSurvey.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvane::platform {
namespace {

TEST(DeviceSurvey, GrabsOnlyKeyboardsOfItsOwnConcern)
{
    struct Row {
        const char* name;
        DeviceTraits traits;
        GrabPolicy policy;
        GrabDecision expected;
    };
    DeviceTraits keyboard;
    keyboard.hasTopRowKey = true;
    DeviceTraits brightnessDevice = keyboard; // a "Video Bus": two keys, still grabbed
    brightnessDevice.name = "Video Bus";
    DeviceTraits own = keyboard;
    own.isOrvaneOutput = own.isVirtual = true;
    DeviceTraits otherVirtual = keyboard;
    otherVirtual.isVirtual = true;
    DeviceTraits powerButton;
    DeviceTraits comboWithTouchpad = keyboard;
    comboWithTouchpad.isPointer = true;
    DeviceTraits namedVirtual = otherVirtual;
    namedVirtual.name = "Bench";
    DeviceTraits namedCombo = comboWithTouchpad;
    namedCombo.name = "Bench";

    const std::vector<Row> rows = {
        {"a keyboard", keyboard, {}, GrabDecision::grab},
        {"a brightness-key device", brightnessDevice, {}, GrabDecision::grab},
        {"Orvane's own output", own, {}, GrabDecision::orvaneOutput},
        {"Orvane's own output, virtual devices included",
         own,
         {true, ""},
         GrabDecision::orvaneOutput},
        {"another program's virtual keyboard", otherVirtual, {}, GrabDecision::virtualDevice},
        {"another program's virtual keyboard, when asked for",
         otherVirtual,
         {true, ""},
         GrabDecision::grab},
        {"no top-row key", powerButton, {}, GrabDecision::noTopRowKey},
        {"keys and a pointer on one device", comboWithTouchpad, {}, GrabDecision::pointer},
        {"the one keyboard asked for", brightnessDevice, {false, "Video Bus"}, GrabDecision::grab},
        {"a keyboard not asked for", keyboard, {false, "Video Bus"}, GrabDecision::notNamed},
        {"naming a virtual keyboard does not include it",
         namedVirtual,
         {false, "Bench"},
         GrabDecision::virtualDevice},
        {"a named virtual keyboard, virtual devices included",
         namedVirtual,
         {true, "Bench"},
         GrabDecision::grab},
        {"naming a pointer does not grab it", namedCombo, {true, "Bench"}, GrabDecision::pointer},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(decide(row.traits, row.policy), row.expected);
    }
}

} // namespace
} // namespace orvane::platform
