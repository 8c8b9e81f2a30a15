// SPDX-License-Identifier: GPL-3.0-or-later
// Reads which keys a keyboard's top row carries from the keyboard driver's usage map, falling
// back to the default top row position by position.
#pragma once

#include "model/DeviceRegistry.h"
#include "model/KeyProps.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvane::engine {

inline constexpr std::string_view keyboardDriverName = "AppleHIDKeyboardEventDriverV2";
inline constexpr std::string_view usageMapProperty = "FnFunctionUsageMap";

// The path of the first keyboard driver entry at or below `entry`, depth first in child order.
std::optional<std::string> findKeyboardPath(const model::DeviceRegistry& registry,
                                            model::DeviceRegistry::Entry entry);

// The twelve keys the top row produces without fn. Every call reads the registry; callers keep
// the first answer for the life of the process.
model::TopRow loadTopRowKeys(const model::DeviceRegistry& registry);

// The key a usage text ("0x000c00e9") stands for, when it is one of the fifteen known.
std::optional<model::CustomKey> keyForUsage(std::string_view usage);

} // namespace orvane::engine
