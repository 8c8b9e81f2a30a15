// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program from start to end over the real Linux parts (platform::LinuxSystem): the
// shipped `orvane` and the test shell run this same code and differ only in their keyboard side,
// how access is checked and what takes over the keyboards.
#pragma once

#include "AppPorts.h"

#include "engine/Platform.h"

#include <functional>
#include <memory>

namespace orvane::platform {
class LinuxSystem;
}

namespace orvane::app {

struct KeyboardSide {
    std::unique_ptr<AccessCheck> access;
    std::unique_ptr<KeyboardMonitorControl> monitor;
};

// Called once, after the application, the log and the single instance are settled and the
// signals are blocked (threads started from it never take them).
using KeyboardSideMaker =
    std::function<KeyboardSide(platform::LinuxSystem& system, engine::Log& log)>;

// Runs the program with `argv` and returns its exit code.
int runDesktopProgram(int argc, char** argv, const KeyboardSideMaker& makeKeyboardSide);

} // namespace orvane::app
