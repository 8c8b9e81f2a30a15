// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyNames.h"

#include <array>
#include <unordered_map>

namespace orvane::engine {

namespace {

namespace vk = model::virtualKey;

const std::unordered_map<std::int64_t, std::string_view>& specialKeyNames()
{
    // clang-format off
    static const std::unordered_map<std::int64_t, std::string_view> names{
        {vk::enter, "\u21A9"}, {vk::backspace, "\u232B"}, {vk::forwardDelete, "\u2326"},
        {vk::end, "\u2198"}, {vk::escape, "\u238B"}, {vk::help, "?\u20DD"}, {vk::home, "\u2196"},
        {vk::space, "\u23B5"}, {vk::tab, "\u21E5"}, {vk::pageUp, "\u21DE"},
        {vk::pageDown, "\u21DF"}, {vk::upArrow, "\u2191"}, {vk::rightArrow, "\u2192"},
        {vk::downArrow, "\u2193"}, {vk::leftArrow, "\u2190"},
        {vk::f1, "F1"}, {vk::f2, "F2"}, {vk::f3, "F3"}, {vk::f4, "F4"}, {vk::f5, "F5"},
        {vk::f6, "F6"}, {vk::f7, "F7"}, {vk::f8, "F8"}, {vk::f9, "F9"}, {vk::f10, "F10"},
        {vk::f11, "F11"}, {vk::f12, "F12"}, {vk::f13, "F13"}, {vk::f14, "F14"},
        {vk::f15, "F15"}, {vk::f16, "F16"}, {vk::f17, "F17"}, {vk::f18, "F18"},
        {vk::f19, "F19"}, {vk::f20, "F20"},
    };
    // clang-format on
    return names;
}

// clang-format off
// The letters A to Z, the digits 0 to 9, punctuation, space and tab, navigation, editing keys,
// F1 to F20.
constexpr std::array<std::int64_t, 82> selectableKeyCodes{
    vk::a, vk::b, vk::c, vk::d, vk::e, vk::f, vk::g, vk::h, vk::i, vk::j, vk::k, vk::l, vk::m,
    vk::n, vk::o, vk::p, vk::q, vk::r, vk::s, vk::t, vk::u, vk::v, vk::w, vk::x, vk::y, vk::z,
    vk::digit0, vk::digit1, vk::digit2, vk::digit3, vk::digit4, vk::digit5, vk::digit6,
    vk::digit7, vk::digit8, vk::digit9,
    vk::enter, vk::backslash, vk::grave, vk::comma, vk::equal, vk::minus, vk::period, vk::quote,
    vk::semicolon, vk::slash, vk::space, vk::tab, vk::leftBracket, vk::rightBracket,
    vk::pageUp, vk::pageDown, vk::home, vk::end,
    vk::upArrow, vk::rightArrow, vk::downArrow, vk::leftArrow,
    vk::escape, vk::backspace, vk::forwardDelete, vk::help,
    vk::f1, vk::f2, vk::f3, vk::f4, vk::f5, vk::f6, vk::f7, vk::f8, vk::f9, vk::f10,
    vk::f11, vk::f12, vk::f13, vk::f14, vk::f15, vk::f16, vk::f17, vk::f18, vk::f19, vk::f20,
};
// clang-format on

} // namespace

std::string KeyboardLayout::upperCase(std::string_view text) const
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

std::optional<std::string> keyName(std::int64_t keyCode, const KeyboardLayout& layout)
{
    const auto& names = specialKeyNames();
    if (const auto it = names.find(keyCode); it != names.end())
        return std::string(it->second);
    if (keyCode < 0 || keyCode > 0xFFFF)
        return std::nullopt;
    auto text = layout.translate(static_cast<std::uint16_t>(keyCode));
    if (!text)
        return std::nullopt;
    return layout.upperCase(*text);
}

std::string modifierDescription(std::uint64_t modifiers)
{
    constexpr std::array<std::pair<std::uint64_t, std::string_view>, 5> symbols{{
        {model::modifier::control, "\u2303"},
        {model::modifier::option, "\u2325"},
        {model::modifier::shift, "\u21E7"},
        {model::modifier::command, "\u2318"},
        {model::modifier::function, "\U0001F310\uFE0E"},
    }};
    std::string text;
    for (const auto& [bit, symbol] : symbols) {
        if ((modifiers & bit) != 0)
            text += symbol;
    }
    return text;
}

std::string shortcutDescription(const model::Shortcut& shortcut, const KeyboardLayout& layout)
{
    const auto name = keyName(shortcut.key.rawValue, layout);
    return modifierDescription(shortcut.modifiers) + (name ? *name : "\uFFFD");
}

const std::vector<SelectableKey>& selectableKeys(const KeyboardLayout& layout)
{
    static const std::vector<SelectableKey> keys = [&layout] {
        std::vector<SelectableKey> list;
        for (const std::int64_t code : selectableKeyCodes) {
            if (auto name = keyName(code, layout))
                list.emplace_back(code, std::move(*name));
        }
        return list;
    }();
    return keys;
}

} // namespace orvane::engine
