// SPDX-License-Identifier: GPL-3.0-or-later
// Which input devices Orvane grabs, and why the others are left alone: shared by the input
// backend and the access check.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct libevdev;

namespace orvane::platform {

struct DeviceTraits {
    std::string name;
    std::uint16_t bus = 0;
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    bool isOrvaneOutput = false;
    bool isVirtual = false;    // made through uinput (by Orvane or another program)
    bool hasTopRowKey = false; // F1-F12, a media or brightness key, or a top-row system key
    bool hasFnKey = false;
    bool isPointer = false; // moves a pointer too: relative or absolute axes, or mouse buttons
};

enum class GrabDecision { grab, orvaneOutput, notNamed, virtualDevice, noTopRowKey, pointer };

struct GrabPolicy {
    // Grab virtual keyboards of other programs too (chained after another remapper, or tests).
    bool includeVirtual = false;
    // When set, only the device of exactly this name, and only if it qualifies otherwise (a
    // benchmark or test that gives Orvane one keyboard and another program the next).
    std::string onlyName;
};

DeviceTraits deviceTraits(const libevdev* evdev, const std::string& path);
GrabDecision decide(const DeviceTraits& traits, const GrabPolicy& policy) noexcept;
std::string_view describe(GrabDecision decision) noexcept;

// True when the sysfs entry of /dev/input/eventN lies under the virtual devices.
bool isVirtualEventNode(const std::string& path);

// The /dev/input/event* nodes, in number order.
std::vector<std::string> eventNodes();

} // namespace orvane::platform
