// The platform-neutral keyboard event record that flows through the monitor, with the system's
// event type numbers, field meanings and flag bits.
#pragma once

#include "model/Shortcut.h"

#include <cstdint>

namespace orvane::engine {

namespace eventType {
inline constexpr std::uint32_t keyDown = 10;
inline constexpr std::uint32_t keyUp = 11;
inline constexpr std::uint32_t flagsChanged = 12;
inline constexpr std::uint32_t systemDefined = 14; // media and brightness keys
inline constexpr std::uint32_t tapDisabledByTimeout = 0xFFFFFFFE;
inline constexpr std::uint32_t tapDisabledByUserInput = 0xFFFFFFFF;
} // namespace eventType

// Event flags share their bit values with a shortcut's modifiers.
namespace eventFlag {
using model::modifier::command;
using model::modifier::control;
using model::modifier::option;
using model::modifier::shift;
inline constexpr std::uint64_t secondaryFn = model::modifier::function;
inline constexpr std::uint64_t nonCoalesced = 0x100;
} // namespace eventFlag

// Written into `userData` of every event Orvane posts, so its own tap lets them through.
inline constexpr std::int64_t postedEventMarker = 949255407401; // 0xDD04080729

// data1 of a system-defined key event: key type in bits 16-23, state in bits 8-15, repeat in bit 0.
namespace keyState {
inline constexpr std::uint32_t down = 0x0A00;
inline constexpr std::uint32_t repeat = 0x0A01;
inline constexpr std::uint32_t up = 0x0B00;
} // namespace keyState

constexpr std::int64_t systemDefinedData1(std::uint16_t keyType, std::uint32_t state) noexcept
{
    return std::int64_t{keyType} * 65536 + state;
}

struct KeyEvent {
    std::uint32_t type = 0;
    std::uint64_t flags = 0;
    std::int64_t autorepeat = 0; // field 8: 1 on a repeated key-down
    std::int64_t keyCode = 0;    // field 9: virtual key code
    std::int64_t sourcePid = 0;  // field 41: non-zero when another process posted it
    std::int64_t userData = 0;   // field 42: the marker on Orvane's own events
    std::int64_t data1 = 0;      // system-defined events only

    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

} // namespace orvane::engine
