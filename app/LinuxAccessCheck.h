// SPDX-License-Identifier: GPL-3.0-or-later
// "Trusted" on Linux: /dev/uinput opens for writing and a keyboard Orvane would grab is readable,
// decided as `orvanectl doctor` decides it.
#pragma once

#include "AppPorts.h"

#include "platform/linux/input/InputAccess.h"

namespace orvane::app {

class LinuxAccessCheck final : public AccessCheck {
public:
    bool isTrusted() override { return platform::surveyInputAccess().canRun(); }
};

} // namespace orvane::app
