// A keyboard shortcut: one key plus modifier flags, in the system's virtual key numbering.
#pragma once

#include <cstdint>

namespace orvane::model {

namespace modifier {
inline constexpr std::uint64_t control = 0x40000;
inline constexpr std::uint64_t option = 0x80000;
inline constexpr std::uint64_t shift = 0x20000;
inline constexpr std::uint64_t command = 0x100000;
inline constexpr std::uint64_t function = 0x800000;
} // namespace modifier

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
