// SPDX-License-Identifier: GPL-3.0-or-later
// Translation between evdev key changes and the engine's key events: virtual key codes, the
// system-defined events of media and brightness keys, and the modifier flags a device holds.
#pragma once

#include "engine/KeyEvent.h"

#include <cstdint>
#include <optional>

namespace orvane::platform {

// Keys with no virtual key code (and the system-defined events) carry this plus their evdev code
// as key code: outside the virtual range, so they never match a mapped key, and two different keys
// never count as the same press.
inline constexpr std::int64_t evdevKeyCodeBase = 0x10000;

// The flag bit a modifier key holds (Shift, Control, Alt = option, Meta = command, Fn); 0 for
// every other key, Caps Lock included.
std::uint64_t modifierFlag(int evdevCode) noexcept;

// Pointer and joystick buttons: passed on without ever reaching the monitor.
bool isButton(int evdevCode) noexcept;

// The modifier keys one device holds down.
class ModifierState {
public:
    // Applies a key change (value 0 up, 1 down, 2 repeat); true when the flags changed.
    bool apply(int evdevCode, int value) noexcept;
    std::uint64_t flags() const noexcept;

private:
    std::uint16_t m_held = 0; // one bit per modifier key, so left and right count apart
};

// A modifier change, as the flags-changed event the monitor follows fn with.
engine::KeyEvent modifierEvent(int evdevCode, std::uint64_t flags) noexcept;

// A key change of a key that is neither a modifier nor a button: key-down (value 1), repeated
// key-down (value 2) or key-up (value 0), or the system-defined event of a media key.
std::optional<engine::KeyEvent> keyEventFromEvdev(int evdevCode, int value,
                                                  std::uint64_t flags) noexcept;

struct EvdevKeyChange {
    int code;
    int value; // 0 up, 1 down, 2 repeat
    friend bool operator==(const EvdevKeyChange&, const EvdevKeyChange&) = default;
};

// What a posted event becomes on the output keyboard; absent when no evdev key stands for it.
std::optional<EvdevKeyChange> evdevFromKeyEvent(const engine::KeyEvent& event) noexcept;

} // namespace orvane::platform
