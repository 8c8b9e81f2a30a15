// SPDX-License-Identifier: GPL-3.0-or-later
// The platform-neutral keyboard event record that flows through the monitor. The numbers it
// carries (event types, flag bits, the marker, the key states of system-defined events) are named
// in model/KeyEventNumbering.h; the engine uses those names as its own.
#pragma once

#include "model/KeyEventNumbering.h"
#include "model/Shortcut.h"

#include <cstdint>

namespace orvane::engine {

namespace eventType = model::eventType;
namespace eventFlag = model::eventFlag;
namespace keyState = model::keyState;
using model::postedEventMarker;
using model::systemDefinedData1;

// The members autorepeat, keyCode, sourcePid and userData are the event fields of those names
// (model::eventField).
struct KeyEvent {
    std::uint32_t type = 0;      // an eventType
    std::uint64_t flags = 0;     // eventFlag bits
    std::int64_t autorepeat = 0; // field 8: 1 on a repeated key-down
    std::int64_t keyCode = 0;    // field 9: virtual key code
    std::int64_t sourcePid = 0;  // field 41: non-zero when another process posted it
    std::int64_t userData = 0;   // field 42: the marker on Orvane's own events
    std::int64_t data1 = 0;      // system-defined events only

    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

} // namespace orvane::engine
