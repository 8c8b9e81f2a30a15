// SPDX-License-Identifier: GPL-3.0-or-later
// Orvane's virtual key codes (the numbering stored in shortcuts and carried in key events, named in
// model/KeyEventNumbering.h) and the kernel's evdev KEY_* codes, one table in both directions.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace orvane::platform {

struct KeyCodePair {
    std::uint16_t mac;
    int evdev;
};

// Every pair, each virtual code and each evdev code at most once.
std::span<const KeyCodePair> keyCodeTable() noexcept;

std::optional<int> evdevFromMac(std::uint16_t macCode) noexcept;
std::optional<std::uint16_t> macFromEvdev(int evdevCode) noexcept;

} // namespace orvane::platform
