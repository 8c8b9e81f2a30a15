// SPDX-License-Identifier: GPL-3.0-or-later
// A keyboard shortcut: one key plus modifier flags, as a virtual key code and modifier bits (both
// named in KeyEventNumbering.h).
#pragma once

#include "KeyEventNumbering.h"

#include <cstdint>

namespace orvane::model {

struct Shortcut {
    // Any integer is accepted and kept; only codes 0 to 65535 can be posted or named.
    struct Key {
        std::int64_t rawValue = 0;
        friend bool operator==(const Key&, const Key&) = default;
    };

    Key key;
    // Bits other than the five modifiers are kept unchanged, never shown or posted.
    std::uint64_t modifiers = 0;

    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};

} // namespace orvane::model
