#include "KeyCodeTable.h"

#include <linux/input-event-codes.h>

#include <array>

// Added to the kernel after the headers some distributions ship; the numbers are kernel ABI.
#ifndef KEY_DO_NOT_DISTURB
#define KEY_DO_NOT_DISTURB 0x24f
#endif

namespace orvane::platform {

namespace {

// Positions on an ANSI keyboard; the virtual code names the position, not the letter printed on
// it, exactly as evdev codes do, so the layout is applied later (by xkbcommon) on both sides.
constexpr auto table = std::to_array<KeyCodePair>({
    // Letters.
    {0, KEY_A}, {1, KEY_S}, {2, KEY_D}, {3, KEY_F}, {4, KEY_H}, {5, KEY_G}, {6, KEY_Z},
    {7, KEY_X}, {8, KEY_C}, {9, KEY_V}, {11, KEY_B}, {12, KEY_Q}, {13, KEY_W}, {14, KEY_E},
    {15, KEY_R}, {16, KEY_Y}, {17, KEY_T}, {31, KEY_O}, {32, KEY_U}, {34, KEY_I}, {35, KEY_P},
    {37, KEY_L}, {38, KEY_J}, {40, KEY_K}, {45, KEY_N}, {46, KEY_M},
    // Digits.
    {18, KEY_1}, {19, KEY_2}, {20, KEY_3}, {21, KEY_4}, {22, KEY_6}, {23, KEY_5}, {25, KEY_9},
    {26, KEY_7}, {28, KEY_8}, {29, KEY_0},
    // Punctuation.
    {24, KEY_EQUAL}, {27, KEY_MINUS}, {30, KEY_RIGHTBRACE}, {33, KEY_LEFTBRACE},
    {39, KEY_APOSTROPHE}, {41, KEY_SEMICOLON}, {42, KEY_BACKSLASH}, {43, KEY_COMMA},
    {44, KEY_SLASH}, {47, KEY_DOT}, {50, KEY_GRAVE}, {10, KEY_102ND},
    // Editing and navigation.
    {36, KEY_ENTER}, {48, KEY_TAB}, {49, KEY_SPACE}, {51, KEY_BACKSPACE}, {53, KEY_ESC},
    {114, KEY_INSERT}, // Help sits where PC keyboards have Insert
    {115, KEY_HOME}, {116, KEY_PAGEUP}, {117, KEY_DELETE}, {119, KEY_END}, {121, KEY_PAGEDOWN},
    {123, KEY_LEFT}, {124, KEY_RIGHT}, {125, KEY_DOWN}, {126, KEY_UP},
    // Modifiers.
    {55, KEY_LEFTMETA}, {54, KEY_RIGHTMETA}, {56, KEY_LEFTSHIFT}, {60, KEY_RIGHTSHIFT},
    {58, KEY_LEFTALT}, {61, KEY_RIGHTALT}, {59, KEY_LEFTCTRL}, {62, KEY_RIGHTCTRL},
    {57, KEY_CAPSLOCK}, {63, KEY_FN},
    // Function keys.
    {122, KEY_F1}, {120, KEY_F2}, {99, KEY_F3}, {118, KEY_F4}, {96, KEY_F5}, {97, KEY_F6},
    {98, KEY_F7}, {100, KEY_F8}, {101, KEY_F9}, {109, KEY_F10}, {103, KEY_F11}, {111, KEY_F12},
    {105, KEY_F13}, {107, KEY_F14}, {113, KEY_F15}, {106, KEY_F16}, {64, KEY_F17},
    {79, KEY_F18}, {80, KEY_F19}, {90, KEY_F20},
    // Keypad.
    {65, KEY_KPDOT}, {67, KEY_KPASTERISK}, {69, KEY_KPPLUS}, {71, KEY_NUMLOCK},
    {75, KEY_KPSLASH}, {76, KEY_KPENTER}, {78, KEY_KPMINUS}, {81, KEY_KPEQUAL},
    {82, KEY_KP0}, {83, KEY_KP1}, {84, KEY_KP2}, {85, KEY_KP3}, {86, KEY_KP4}, {87, KEY_KP5},
    {88, KEY_KP6}, {89, KEY_KP7}, {91, KEY_KP8}, {92, KEY_KP9},
    // Top-row keys that arrive as ordinary key codes: Mission Control, Launchpad, dictation,
    // Spotlight, Focus. The kernel's Apple driver reports the first two as KEY_SCALE and
    // KEY_DASHBOARD.
    {160, KEY_SCALE}, {131, KEY_DASHBOARD}, {176, KEY_VOICECOMMAND}, {177, KEY_SEARCH},
    {178, KEY_DO_NOT_DISTURB},
});

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
