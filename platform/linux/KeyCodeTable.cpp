// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyCodeTable.h"

#include "model/KeyEventNumbering.h"

#include <linux/input-event-codes.h>

#include <array>

// Added to the kernel after the headers some distributions ship; the numbers are kernel ABI.
#ifndef KEY_DO_NOT_DISTURB
#define KEY_DO_NOT_DISTURB 0x24f
#endif

namespace orvane::platform {

namespace {

namespace vk = model::virtualKey;

// Positions on an ANSI keyboard; the virtual code names the position, not the letter printed on
// it, exactly as evdev codes do, so the layout is applied later (by xkbcommon) on both sides.
// clang-format off
constexpr auto table = std::to_array<KeyCodePair>({
    // Letters.
    {vk::a, KEY_A}, {vk::s, KEY_S}, {vk::d, KEY_D}, {vk::f, KEY_F}, {vk::h, KEY_H}, {vk::g, KEY_G},
    {vk::z, KEY_Z}, {vk::x, KEY_X}, {vk::c, KEY_C}, {vk::v, KEY_V}, {vk::b, KEY_B}, {vk::q, KEY_Q},
    {vk::w, KEY_W}, {vk::e, KEY_E}, {vk::r, KEY_R}, {vk::y, KEY_Y}, {vk::t, KEY_T}, {vk::o, KEY_O},
    {vk::u, KEY_U}, {vk::i, KEY_I}, {vk::p, KEY_P}, {vk::l, KEY_L}, {vk::j, KEY_J}, {vk::k, KEY_K},
    {vk::n, KEY_N}, {vk::m, KEY_M},
    // Digits.
    {vk::digit1, KEY_1}, {vk::digit2, KEY_2}, {vk::digit3, KEY_3}, {vk::digit4, KEY_4},
    {vk::digit6, KEY_6}, {vk::digit5, KEY_5}, {vk::digit9, KEY_9}, {vk::digit7, KEY_7},
    {vk::digit8, KEY_8}, {vk::digit0, KEY_0},
    // Punctuation.
    {vk::equal, KEY_EQUAL}, {vk::minus, KEY_MINUS}, {vk::rightBracket, KEY_RIGHTBRACE},
    {vk::leftBracket, KEY_LEFTBRACE}, {vk::quote, KEY_APOSTROPHE}, {vk::semicolon, KEY_SEMICOLON},
    {vk::backslash, KEY_BACKSLASH}, {vk::comma, KEY_COMMA}, {vk::slash, KEY_SLASH},
    {vk::period, KEY_DOT}, {vk::grave, KEY_GRAVE}, {vk::isoSection, KEY_102ND},
    // Editing and navigation.
    {vk::enter, KEY_ENTER}, {vk::tab, KEY_TAB}, {vk::space, KEY_SPACE},
    {vk::backspace, KEY_BACKSPACE}, {vk::escape, KEY_ESC},
    {vk::help, KEY_INSERT}, // Help sits where PC keyboards have Insert
    {vk::home, KEY_HOME}, {vk::pageUp, KEY_PAGEUP}, {vk::forwardDelete, KEY_DELETE},
    {vk::end, KEY_END}, {vk::pageDown, KEY_PAGEDOWN},
    {vk::leftArrow, KEY_LEFT}, {vk::rightArrow, KEY_RIGHT}, {vk::downArrow, KEY_DOWN},
    {vk::upArrow, KEY_UP},
    // Modifiers.
    {vk::leftCommand, KEY_LEFTMETA}, {vk::rightCommand, KEY_RIGHTMETA},
    {vk::leftShift, KEY_LEFTSHIFT}, {vk::rightShift, KEY_RIGHTSHIFT},
    {vk::leftOption, KEY_LEFTALT}, {vk::rightOption, KEY_RIGHTALT},
    {vk::leftControl, KEY_LEFTCTRL}, {vk::rightControl, KEY_RIGHTCTRL},
    {vk::capsLock, KEY_CAPSLOCK}, {vk::fn, KEY_FN},
    // Function keys.
    {vk::f1, KEY_F1}, {vk::f2, KEY_F2}, {vk::f3, KEY_F3}, {vk::f4, KEY_F4}, {vk::f5, KEY_F5},
    {vk::f6, KEY_F6}, {vk::f7, KEY_F7}, {vk::f8, KEY_F8}, {vk::f9, KEY_F9}, {vk::f10, KEY_F10},
    {vk::f11, KEY_F11}, {vk::f12, KEY_F12}, {vk::f13, KEY_F13}, {vk::f14, KEY_F14},
    {vk::f15, KEY_F15}, {vk::f16, KEY_F16}, {vk::f17, KEY_F17}, {vk::f18, KEY_F18},
    {vk::f19, KEY_F19}, {vk::f20, KEY_F20},
    // Keypad.
    {vk::keypadDecimal, KEY_KPDOT}, {vk::keypadMultiply, KEY_KPASTERISK},
    {vk::keypadPlus, KEY_KPPLUS}, {vk::keypadClear, KEY_NUMLOCK},
    {vk::keypadDivide, KEY_KPSLASH}, {vk::keypadEnter, KEY_KPENTER},
    {vk::keypadMinus, KEY_KPMINUS}, {vk::keypadEquals, KEY_KPEQUAL},
    {vk::keypad0, KEY_KP0}, {vk::keypad1, KEY_KP1}, {vk::keypad2, KEY_KP2}, {vk::keypad3, KEY_KP3},
    {vk::keypad4, KEY_KP4}, {vk::keypad5, KEY_KP5}, {vk::keypad6, KEY_KP6}, {vk::keypad7, KEY_KP7},
    {vk::keypad8, KEY_KP8}, {vk::keypad9, KEY_KP9},
    // Top-row keys that arrive as ordinary key codes: Mission Control, Launchpad, dictation,
    // Spotlight, Focus. The kernel's Apple driver reports the first two as KEY_SCALE and
    // KEY_DASHBOARD.
    {vk::missionControl, KEY_SCALE}, {vk::launchpad, KEY_DASHBOARD},
    {vk::dictation, KEY_VOICECOMMAND}, {vk::spotlight, KEY_SEARCH},
    {vk::focus, KEY_DO_NOT_DISTURB},
});
// clang-format on

} // namespace

std::span<const KeyCodePair> keyCodeTable() noexcept
{
    return table;
}

std::optional<int> evdevFromMac(std::uint16_t macCode) noexcept
{
    for (const auto& pair : table) {
        if (pair.mac == macCode)
            return pair.evdev;
    }
    return std::nullopt;
}

std::optional<std::uint16_t> macFromEvdev(int evdevCode) noexcept
{
    for (const auto& pair : table) {
        if (pair.evdev == evdevCode)
            return pair.mac;
    }
    return std::nullopt;
}

} // namespace orvane::platform
