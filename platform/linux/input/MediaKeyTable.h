// SPDX-License-Identifier: GPL-3.0-or-later
// The system-defined media and brightness key types and the evdev codes that carry them.
#pragma once

#include "model/CustomKey.h"

#include <optional>

namespace orvane::platform {

// The evdev code Orvane writes for a key type; absent for the types no Linux key stands for.
std::optional<int> evdevFromSpecialKey(model::SpecialKey key) noexcept;
// The key type an evdev code arrives as; absent for every other code.
std::optional<model::SpecialKey> specialKeyFromEvdev(int evdevCode) noexcept;

} // namespace orvane::platform
