// SPDX-License-Identifier: GPL-3.0-or-later
// The key mapping a fresh installation starts with.
#pragma once

#include "KeyProps.h"
#include "LaunchTarget.h"

#include <span>
#include <string>

namespace orvane::model {

// Short press: the keyboard's own top-row key. Long press: the favourite application at the same
// index, or the function key where there are fewer applications. Fn: the function key.
KeyMapping defaultKeyMapping(const TopRow& topRow, std::span<const std::string> appPaths);

} // namespace orvane::model
