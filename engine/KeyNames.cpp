#include "KeyNames.h"

#include <array>
#include <unordered_map>

namespace orvane::engine {

namespace {

const std::unordered_map<std::int64_t, std::string_view>& specialKeyNames()
{
    static const std::unordered_map<std::int64_t, std::string_view> names{
        {36, "\u21A9"}, {51, "\u232B"}, {117, "\u2326"}, {119, "\u2198"}, {53, "\u238B"},
        {114, "?\u20DD"}, {115, "\u2196"}, {49, "\u23B5"}, {48, "\u21E5"}, {116, "\u21DE"},
        {121, "\u21DF"}, {126, "\u2191"}, {124, "\u2192"}, {125, "\u2193"}, {123, "\u2190"},
        {122, "F1"}, {120, "F2"}, {99, "F3"}, {118, "F4"}, {96, "F5"}, {97, "F6"}, {98, "F7"},
        {100, "F8"}, {101, "F9"}, {109, "F10"}, {103, "F11"}, {111, "F12"}, {105, "F13"},
        {107, "F14"}, {113, "F15"}, {106, "F16"}, {64, "F17"}, {79, "F18"}, {80, "F19"},
        {90, "F20"},
    };
    return names;
}

constexpr std::array<std::int64_t, 82> selectableKeyCodes{
    0,   11,  8,   2,   14,  3,   5,   4,   34,  38,  40,  37,  46,  45,  31,  35,  12,
    15,  1,   17,  32,  9,   13,  7,   16,  6,   29,  18,  19,  20,  21,  23,  22,  26,
    28,  25,  36,  42,  50,  43,  24,  27,  47,  39,  41,  44,  49,  48,  33,  30,  116,
    121, 115, 119, 126, 124, 125, 123, 53,  51,  117, 114, 122, 120, 99,  118, 96,  97,
    98,  100, 101, 109, 103, 111, 105, 107, 113, 106, 64,  79,  80,  90,
};

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
