// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers Orvane stores and replays for keys and key events, named. They were fixed on the
// platform these stored forms come from and never change, or stored mappings, shortcuts and replay
// files would change meaning; Linux's own numbers (the kernel's KEY_* codes) are mapped to and from
// them in platform/linux.
#pragma once

#include <cstdint>
#include <optional>

namespace orvane::model {

// Virtual key codes: the numbers the stored key mapping, shortcuts and replay files ("keyCode")
// use for keys. Each names a position on the keyboard, not the letter printed on it. Linux's own
// KEY_* codes are mapped from these in platform/linux/KeyCodeTable.cpp.
namespace virtualKey {
// Letters, as on a US keyboard.
inline constexpr std::uint16_t a = 0;
inline constexpr std::uint16_t s = 1;
inline constexpr std::uint16_t d = 2;
inline constexpr std::uint16_t f = 3;
inline constexpr std::uint16_t h = 4;
inline constexpr std::uint16_t g = 5;
inline constexpr std::uint16_t z = 6;
inline constexpr std::uint16_t x = 7;
inline constexpr std::uint16_t c = 8;
inline constexpr std::uint16_t v = 9;
inline constexpr std::uint16_t b = 11;
inline constexpr std::uint16_t q = 12;
inline constexpr std::uint16_t w = 13;
inline constexpr std::uint16_t e = 14;
inline constexpr std::uint16_t r = 15;
inline constexpr std::uint16_t y = 16;
inline constexpr std::uint16_t t = 17;
inline constexpr std::uint16_t o = 31;
inline constexpr std::uint16_t u = 32;
inline constexpr std::uint16_t i = 34;
inline constexpr std::uint16_t p = 35;
inline constexpr std::uint16_t l = 37;
inline constexpr std::uint16_t j = 38;
inline constexpr std::uint16_t k = 40;
inline constexpr std::uint16_t n = 45;
inline constexpr std::uint16_t m = 46;
// Digits of the main block.
inline constexpr std::uint16_t digit1 = 18;
inline constexpr std::uint16_t digit2 = 19;
inline constexpr std::uint16_t digit3 = 20;
inline constexpr std::uint16_t digit4 = 21;
inline constexpr std::uint16_t digit6 = 22;
inline constexpr std::uint16_t digit5 = 23;
inline constexpr std::uint16_t digit9 = 25;
inline constexpr std::uint16_t digit7 = 26;
inline constexpr std::uint16_t digit8 = 28;
inline constexpr std::uint16_t digit0 = 29;
// Punctuation.
inline constexpr std::uint16_t equal = 24;
inline constexpr std::uint16_t minus = 27;
inline constexpr std::uint16_t rightBracket = 30;
inline constexpr std::uint16_t leftBracket = 33;
inline constexpr std::uint16_t quote = 39;
inline constexpr std::uint16_t semicolon = 41;
inline constexpr std::uint16_t backslash = 42;
inline constexpr std::uint16_t comma = 43;
inline constexpr std::uint16_t slash = 44;
inline constexpr std::uint16_t period = 47;
inline constexpr std::uint16_t grave = 50;
inline constexpr std::uint16_t isoSection = 10; // the extra key of ISO keyboards (KEY_102ND)
// Editing and navigation.
inline constexpr std::uint16_t enter = 36; // Return
inline constexpr std::uint16_t tab = 48;
inline constexpr std::uint16_t space = 49;
inline constexpr std::uint16_t backspace = 51; // labelled Delete on Mac keyboards
inline constexpr std::uint16_t escape = 53;
inline constexpr std::uint16_t help = 114; // where PC keyboards have Insert
inline constexpr std::uint16_t home = 115;
inline constexpr std::uint16_t pageUp = 116;
inline constexpr std::uint16_t forwardDelete = 117; // Delete on PC keyboards
inline constexpr std::uint16_t end = 119;
inline constexpr std::uint16_t pageDown = 121;
inline constexpr std::uint16_t leftArrow = 123;
inline constexpr std::uint16_t rightArrow = 124;
inline constexpr std::uint16_t downArrow = 125;
inline constexpr std::uint16_t upArrow = 126;
// Modifiers: command is Meta (Super), option is Alt.
inline constexpr std::uint16_t leftCommand = 55;
inline constexpr std::uint16_t rightCommand = 54;
inline constexpr std::uint16_t leftShift = 56;
inline constexpr std::uint16_t capsLock = 57;
inline constexpr std::uint16_t leftOption = 58;
inline constexpr std::uint16_t leftControl = 59;
inline constexpr std::uint16_t rightShift = 60;
inline constexpr std::uint16_t rightOption = 61;
inline constexpr std::uint16_t rightControl = 62;
inline constexpr std::uint16_t fn = 63;
// Function keys; the numbers are not in order.
inline constexpr std::uint16_t f1 = 122;
inline constexpr std::uint16_t f2 = 120;
inline constexpr std::uint16_t f3 = 99;
inline constexpr std::uint16_t f4 = 118;
inline constexpr std::uint16_t f5 = 96;
inline constexpr std::uint16_t f6 = 97;
inline constexpr std::uint16_t f7 = 98;
inline constexpr std::uint16_t f8 = 100;
inline constexpr std::uint16_t f9 = 101;
inline constexpr std::uint16_t f10 = 109;
inline constexpr std::uint16_t f11 = 103;
inline constexpr std::uint16_t f12 = 111;
inline constexpr std::uint16_t f13 = 105;
inline constexpr std::uint16_t f14 = 107;
inline constexpr std::uint16_t f15 = 113;
inline constexpr std::uint16_t f16 = 106;
inline constexpr std::uint16_t f17 = 64;
inline constexpr std::uint16_t f18 = 79;
inline constexpr std::uint16_t f19 = 80;
inline constexpr std::uint16_t f20 = 90;
// Keypad.
inline constexpr std::uint16_t keypadDecimal = 65;
inline constexpr std::uint16_t keypadMultiply = 67;
inline constexpr std::uint16_t keypadPlus = 69;
inline constexpr std::uint16_t keypadClear = 71; // where PC keyboards have Num Lock
inline constexpr std::uint16_t keypadDivide = 75;
inline constexpr std::uint16_t keypadEnter = 76;
inline constexpr std::uint16_t keypadMinus = 78;
inline constexpr std::uint16_t keypadEquals = 81;
inline constexpr std::uint16_t keypad0 = 82;
inline constexpr std::uint16_t keypad1 = 83;
inline constexpr std::uint16_t keypad2 = 84;
inline constexpr std::uint16_t keypad3 = 85;
inline constexpr std::uint16_t keypad4 = 86;
inline constexpr std::uint16_t keypad5 = 87;
inline constexpr std::uint16_t keypad6 = 88;
inline constexpr std::uint16_t keypad7 = 89;
inline constexpr std::uint16_t keypad8 = 91;
inline constexpr std::uint16_t keypad9 = 92;
// Top-row keys that are ordinary key events with codes of their own, above 127.
inline constexpr std::uint16_t launchpad = 131;
inline constexpr std::uint16_t missionControl = 160;
inline constexpr std::uint16_t dictation = 176;
inline constexpr std::uint16_t spotlight = 177;
inline constexpr std::uint16_t focus = 178;
} // namespace virtualKey

// Special key types: media and brightness keys are no key codes but system-defined events
// (eventType::systemDefined) whose data1 carries one of these types; Linux's KEY_VOLUMEUP and the
// like are mapped from them in platform/linux/input/MediaKeyTable.cpp. The raw value is the
// stored number.
enum class SpecialKey : std::uint16_t {
    NX_KEYTYPE_SOUND_UP = 0,
    NX_KEYTYPE_SOUND_DOWN = 1,
    NX_KEYTYPE_BRIGHTNESS_UP = 2,
    NX_KEYTYPE_BRIGHTNESS_DOWN = 3,
    NX_KEYTYPE_CAPS_LOCK = 4,
    NX_KEYTYPE_HELP = 5,
    NX_POWER_KEY = 6,
    NX_KEYTYPE_MUTE = 7,
    NX_UP_ARROW_KEY = 8,
    NX_DOWN_ARROW_KEY = 9,
    NX_KEYTYPE_NUM_LOCK = 10,
    NX_KEYTYPE_CONTRAST_UP = 11,
    NX_KEYTYPE_CONTRAST_DOWN = 12,
    NX_KEYTYPE_LAUNCH_PANEL = 13,
    NX_KEYTYPE_EJECT = 14,
    NX_KEYTYPE_VIDMIRROR = 15,
    NX_KEYTYPE_PLAY = 16,
    NX_KEYTYPE_NEXT = 17,
    NX_KEYTYPE_PREVIOUS = 18,
    NX_KEYTYPE_FAST = 19,
    NX_KEYTYPE_REWIND = 20,
    NX_KEYTYPE_ILLUMINATION_UP = 21,
    NX_KEYTYPE_ILLUMINATION_DOWN = 22,
    NX_KEYTYPE_ILLUMINATION_TOGGLE = 23,
};
// The types are numbered from 0 to this one without a gap.
inline constexpr SpecialKey lastSpecialKey = SpecialKey::NX_KEYTYPE_ILLUMINATION_TOGGLE;

constexpr std::uint16_t rawValue(SpecialKey key) noexcept
{
    return static_cast<std::uint16_t>(key);
}

constexpr std::optional<SpecialKey> specialKeyFromRaw(std::uint16_t raw) noexcept
{
    if (raw > rawValue(lastSpecialKey))
        return std::nullopt;
    return static_cast<SpecialKey>(raw);
}

// Modifier flag bits: a stored shortcut's "modifiers" and the modifier part of an event's "flags".
// On Linux, control is Ctrl, option is Alt, command is Meta (Super) and function is Fn.
namespace modifier {
inline constexpr std::uint64_t control = 0x40000;
inline constexpr std::uint64_t option = 0x80000;
inline constexpr std::uint64_t shift = 0x20000;
inline constexpr std::uint64_t command = 0x100000;
inline constexpr std::uint64_t function = 0x800000;
} // namespace modifier

// Event types: the "type" of a key event and of a replay line. Linux has no such types: the input
// backend turns each evdev key change into an event of one of them.
namespace eventType {
inline constexpr std::uint32_t keyDown = 10;
inline constexpr std::uint32_t keyUp = 11;
inline constexpr std::uint32_t flagsChanged = 12;  // a modifier key went down or up
inline constexpr std::uint32_t systemDefined = 14; // media and brightness keys
// The event source reports that it stopped delivering events.
inline constexpr std::uint32_t tapDisabledByTimeout = 0xFFFFFFFE;
inline constexpr std::uint32_t tapDisabledByUserInput = 0xFFFFFFFF;
} // namespace eventType

// Event field numbers: the numbered fields of a key event that Orvane reads or writes; the
// engine's KeyEvent holds each as a member of the same name.
namespace eventField {
inline constexpr int autorepeat = 8; // 1 on a repeated key-down
inline constexpr int keyCode = 9;    // the virtual key code
inline constexpr int sourcePid = 41; // non-zero when another process posted the event
inline constexpr int userData = 42;  // the poster's own value: postedEventMarker on Orvane's
} // namespace eventField

// Event flag bits: an event's "flags", the modifier bits and one bit of Orvane's own media key
// events.
namespace eventFlag {
using modifier::command;
using modifier::control;
using modifier::option;
using modifier::shift;
inline constexpr std::uint64_t secondaryFn = modifier::function;
inline constexpr std::uint64_t nonCoalesced = 0x100;
} // namespace eventFlag

// The marker: written into userData (field 42) of every event Orvane posts, so that its own
// monitor lets them through.
inline constexpr std::int64_t postedEventMarker = 949255407401; // 0xDD04080729

// Key states in data1 of a system-defined event: data1 holds the special key type in bits 16-23,
// the state in bits 8-15 (0x0A down, 0x0B up) and the repeat flag in bit 0.
namespace keyState {
inline constexpr std::uint32_t down = 0x0A00;
inline constexpr std::uint32_t repeat = 0x0A01; // down, with the repeat flag
inline constexpr std::uint32_t up = 0x0B00;
inline constexpr std::uint32_t stateBits = 0xFF00;
inline constexpr std::uint32_t repeatBit = 0x0001;
} // namespace keyState

constexpr std::int64_t systemDefinedData1(std::uint16_t keyType, std::uint32_t state) noexcept
{
    return std::int64_t{keyType} * 65536 + state;
}

} // namespace orvane::model
