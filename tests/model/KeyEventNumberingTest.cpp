// SPDX-License-Identifier: GPL-3.0-or-later
// The stored numbering, pinned as literals: stored mappings, shortcuts and replay files hold these
// numbers, so a name whose number changes would change what every one of them means.
#include "model/KeyEventNumbering.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace orvane {
namespace {

struct Pin {
    const char* name;
    std::uint64_t value;
    std::uint64_t stored;
};

void expectPinned(std::initializer_list<Pin> pins)
{
    for (const Pin& pin : pins) {
        SCOPED_TRACE(pin.name);
        EXPECT_EQ(pin.value, pin.stored);
    }
}

TEST(KeyEventNumbering, VirtualKeyCodesKeepTheirStoredNumbers)
{
    namespace vk = model::virtualKey;
    // clang-format off
    expectPinned({
    {"a", vk::a, 0}, {"s", vk::s, 1}, {"d", vk::d, 2}, {"f", vk::f, 3}, {"h", vk::h, 4},
    {"g", vk::g, 5}, {"z", vk::z, 6}, {"x", vk::x, 7}, {"c", vk::c, 8}, {"v", vk::v, 9},
    {"b", vk::b, 11}, {"q", vk::q, 12}, {"w", vk::w, 13}, {"e", vk::e, 14}, {"r", vk::r, 15},
    {"y", vk::y, 16}, {"t", vk::t, 17}, {"o", vk::o, 31}, {"u", vk::u, 32}, {"i", vk::i, 34},
    {"p", vk::p, 35}, {"l", vk::l, 37}, {"j", vk::j, 38}, {"k", vk::k, 40}, {"n", vk::n, 45},
    {"m", vk::m, 46}, {"digit1", vk::digit1, 18}, {"digit2", vk::digit2, 19},
    {"digit3", vk::digit3, 20}, {"digit4", vk::digit4, 21}, {"digit6", vk::digit6, 22},
    {"digit5", vk::digit5, 23}, {"digit9", vk::digit9, 25}, {"digit7", vk::digit7, 26},
    {"digit8", vk::digit8, 28}, {"digit0", vk::digit0, 29}, {"equal", vk::equal, 24},
    {"minus", vk::minus, 27}, {"rightBracket", vk::rightBracket, 30},
    {"leftBracket", vk::leftBracket, 33}, {"quote", vk::quote, 39},
    {"semicolon", vk::semicolon, 41}, {"backslash", vk::backslash, 42}, {"comma", vk::comma, 43},
    {"slash", vk::slash, 44}, {"period", vk::period, 47}, {"grave", vk::grave, 50},
    {"isoSection", vk::isoSection, 10}, {"enter", vk::enter, 36}, {"tab", vk::tab, 48},
    {"space", vk::space, 49}, {"backspace", vk::backspace, 51}, {"escape", vk::escape, 53},
    {"help", vk::help, 114}, {"home", vk::home, 115}, {"pageUp", vk::pageUp, 116},
    {"forwardDelete", vk::forwardDelete, 117}, {"end", vk::end, 119},
    {"pageDown", vk::pageDown, 121}, {"leftArrow", vk::leftArrow, 123},
    {"rightArrow", vk::rightArrow, 124}, {"downArrow", vk::downArrow, 125},
    {"upArrow", vk::upArrow, 126}, {"leftCommand", vk::leftCommand, 55},
    {"rightCommand", vk::rightCommand, 54}, {"leftShift", vk::leftShift, 56},
    {"capsLock", vk::capsLock, 57}, {"leftOption", vk::leftOption, 58},
    {"leftControl", vk::leftControl, 59}, {"rightShift", vk::rightShift, 60},
    {"rightOption", vk::rightOption, 61}, {"rightControl", vk::rightControl, 62},
    {"fn", vk::fn, 63}, {"f1", vk::f1, 122}, {"f2", vk::f2, 120}, {"f3", vk::f3, 99},
    {"f4", vk::f4, 118}, {"f5", vk::f5, 96}, {"f6", vk::f6, 97}, {"f7", vk::f7, 98},
    {"f8", vk::f8, 100}, {"f9", vk::f9, 101}, {"f10", vk::f10, 109}, {"f11", vk::f11, 103},
    {"f12", vk::f12, 111}, {"f13", vk::f13, 105}, {"f14", vk::f14, 107}, {"f15", vk::f15, 113},
    {"f16", vk::f16, 106}, {"f17", vk::f17, 64}, {"f18", vk::f18, 79}, {"f19", vk::f19, 80},
    {"f20", vk::f20, 90}, {"keypadDecimal", vk::keypadDecimal, 65},
    {"keypadMultiply", vk::keypadMultiply, 67}, {"keypadPlus", vk::keypadPlus, 69},
    {"keypadClear", vk::keypadClear, 71}, {"keypadDivide", vk::keypadDivide, 75},
    {"keypadEnter", vk::keypadEnter, 76}, {"keypadMinus", vk::keypadMinus, 78},
    {"keypadEquals", vk::keypadEquals, 81}, {"keypad0", vk::keypad0, 82},
    {"keypad1", vk::keypad1, 83}, {"keypad2", vk::keypad2, 84}, {"keypad3", vk::keypad3, 85},
    {"keypad4", vk::keypad4, 86}, {"keypad5", vk::keypad5, 87}, {"keypad6", vk::keypad6, 88},
    {"keypad7", vk::keypad7, 89}, {"keypad8", vk::keypad8, 91}, {"keypad9", vk::keypad9, 92},
    {"launchpad", vk::launchpad, 131}, {"missionControl", vk::missionControl, 160},
    {"dictation", vk::dictation, 176}, {"spotlight", vk::spotlight, 177}, {"focus", vk::focus, 178},
    });
    // clang-format on
}

TEST(KeyEventNumbering, SpecialKeyTypesKeepTheirStoredNumbers)
{
    using S = model::SpecialKey;
    expectPinned({
        {"NX_KEYTYPE_SOUND_UP", model::rawValue(S::NX_KEYTYPE_SOUND_UP), 0},
        {"NX_KEYTYPE_SOUND_DOWN", model::rawValue(S::NX_KEYTYPE_SOUND_DOWN), 1},
        {"NX_KEYTYPE_BRIGHTNESS_UP", model::rawValue(S::NX_KEYTYPE_BRIGHTNESS_UP), 2},
        {"NX_KEYTYPE_BRIGHTNESS_DOWN", model::rawValue(S::NX_KEYTYPE_BRIGHTNESS_DOWN), 3},
        {"NX_KEYTYPE_CAPS_LOCK", model::rawValue(S::NX_KEYTYPE_CAPS_LOCK), 4},
        {"NX_KEYTYPE_HELP", model::rawValue(S::NX_KEYTYPE_HELP), 5},
        {"NX_POWER_KEY", model::rawValue(S::NX_POWER_KEY), 6},
        {"NX_KEYTYPE_MUTE", model::rawValue(S::NX_KEYTYPE_MUTE), 7},
        {"NX_UP_ARROW_KEY", model::rawValue(S::NX_UP_ARROW_KEY), 8},
        {"NX_DOWN_ARROW_KEY", model::rawValue(S::NX_DOWN_ARROW_KEY), 9},
        {"NX_KEYTYPE_NUM_LOCK", model::rawValue(S::NX_KEYTYPE_NUM_LOCK), 10},
        {"NX_KEYTYPE_CONTRAST_UP", model::rawValue(S::NX_KEYTYPE_CONTRAST_UP), 11},
        {"NX_KEYTYPE_CONTRAST_DOWN", model::rawValue(S::NX_KEYTYPE_CONTRAST_DOWN), 12},
        {"NX_KEYTYPE_LAUNCH_PANEL", model::rawValue(S::NX_KEYTYPE_LAUNCH_PANEL), 13},
        {"NX_KEYTYPE_EJECT", model::rawValue(S::NX_KEYTYPE_EJECT), 14},
        {"NX_KEYTYPE_VIDMIRROR", model::rawValue(S::NX_KEYTYPE_VIDMIRROR), 15},
        {"NX_KEYTYPE_PLAY", model::rawValue(S::NX_KEYTYPE_PLAY), 16},
        {"NX_KEYTYPE_NEXT", model::rawValue(S::NX_KEYTYPE_NEXT), 17},
        {"NX_KEYTYPE_PREVIOUS", model::rawValue(S::NX_KEYTYPE_PREVIOUS), 18},
        {"NX_KEYTYPE_FAST", model::rawValue(S::NX_KEYTYPE_FAST), 19},
        {"NX_KEYTYPE_REWIND", model::rawValue(S::NX_KEYTYPE_REWIND), 20},
        {"NX_KEYTYPE_ILLUMINATION_UP", model::rawValue(S::NX_KEYTYPE_ILLUMINATION_UP), 21},
        {"NX_KEYTYPE_ILLUMINATION_DOWN", model::rawValue(S::NX_KEYTYPE_ILLUMINATION_DOWN), 22},
        {"NX_KEYTYPE_ILLUMINATION_TOGGLE", model::rawValue(S::NX_KEYTYPE_ILLUMINATION_TOGGLE), 23},
    });
}

TEST(KeyEventNumbering, EventNumbersKeepTheirStoredValues)
{
    namespace type = model::eventType;
    namespace field = model::eventField;
    namespace flag = model::eventFlag;
    namespace modifier = model::modifier;
    namespace state = model::keyState;
    expectPinned({
        {"keyDown", type::keyDown, 10},
        {"keyUp", type::keyUp, 11},
        {"flagsChanged", type::flagsChanged, 12},
        {"systemDefined", type::systemDefined, 14},
        {"tapDisabledByTimeout", type::tapDisabledByTimeout, 0xFFFFFFFE},
        {"tapDisabledByUserInput", type::tapDisabledByUserInput, 0xFFFFFFFF},
        {"field autorepeat", field::autorepeat, 8},
        {"field keyCode", field::keyCode, 9},
        {"field sourcePid", field::sourcePid, 41},
        {"field userData", field::userData, 42},
        {"control", modifier::control, 0x40000},
        {"option", modifier::option, 0x80000},
        {"shift", modifier::shift, 0x20000},
        {"command", modifier::command, 0x100000},
        {"function", modifier::function, 0x800000},
        {"secondaryFn", flag::secondaryFn, 0x800000},
        {"nonCoalesced", flag::nonCoalesced, 0x100},
        {"marker", model::postedEventMarker, 949255407401},
        {"state down", state::down, 0x0A00},
        {"state repeat", state::repeat, 0x0A01},
        {"state up", state::up, 0x0B00},
        {"play, repeated", static_cast<std::uint64_t>(model::systemDefinedData1(16, state::repeat)),
         0x100A01},
    });
}

// Every raw value up to the last type names a type, and none above it does.
TEST(KeyEventNumbering, SpecialKeyTypesHaveNoGap)
{
    for (std::uint32_t raw = 0; raw <= 0xFFFF; ++raw) {
        const auto key = model::specialKeyFromRaw(static_cast<std::uint16_t>(raw));
        ASSERT_EQ(key.has_value(), raw <= 23) << raw;
        if (key) {
            EXPECT_EQ(model::rawValue(*key), raw);
        }
    }
}

} // namespace
} // namespace orvane
