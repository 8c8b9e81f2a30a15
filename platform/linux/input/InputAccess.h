// SPDX-License-Identifier: GPL-3.0-or-later
// Whether this user may run Orvane's input side: open /dev/uinput for writing (the output
// keyboard) and read at least one keyboard Orvane would grab. Shared by `orvanectl doctor` and the
// desktop program's permission prompt, so both decide alike.
#pragma once

#include "DeviceSurvey.h"
#include "KeyboardRow.h"

#include <optional>
#include <string>
#include <vector>

namespace orvane::platform {

struct DeviceAccess {
    std::string node;                   // /dev/input/eventN
    std::string name;                   // from the device, or from sysfs when it cannot be opened
    int openError = 0;                  // errno of the failed open, 0 when it opened
    bool isEvdev = true;                // false: opened, but not an evdev device
    std::optional<DeviceTraits> traits; // when it could be read
    std::optional<GrabDecision> decision;
    std::optional<KeyboardRow::Source> row; // of a keyboard Orvane would grab
};

struct InputAccessReport {
    std::vector<DeviceAccess> devices;
    int uinputError = 0; // errno of opening /dev/uinput for writing, 0 when it opened
    int grabbable = 0;   // readable keyboards Orvane would grab
    bool hasFnKey = false;
    bool isAccessDenied = false; // some node or /dev/uinput refused this user

    // What the permission prompt waits for.
    bool canRun() const noexcept { return uinputError == 0 && grabbable > 0; }
};

// Opens each event node and /dev/uinput once, reads nothing from them, and closes them again.
InputAccessReport surveyInputAccess(const GrabPolicy& policy = {});

} // namespace orvane::platform
