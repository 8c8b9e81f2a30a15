// SPDX-License-Identifier: GPL-3.0-or-later
#include "XkbLayout.h"

#include "platform/linux/KeyCodeTable.h"

#include <glib.h>
#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <array>
#include <bitset>
#include <fstream>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

namespace orvane::platform {

namespace {

// evdev codes sit 8 below the X keycodes that XKB keymaps use.
constexpr xkb_keycode_t evdevOffset = 8;

struct Names {
    std::string layout;
    std::string variant;
    std::string model;
    std::string options;
};

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Takes the leading run of characters that `accept` accepts from `text`.
template <typename Accept> std::string_view takeWhile(std::string_view& text, Accept accept)
{
    std::size_t length = 0;
    while (length < text.size() && accept(text[length]))
        ++length;
    const auto taken = text.substr(0, length);
    text.remove_prefix(length);
    return taken;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Takes a "quoted" word from the front of `text`, without its quotes.
std::optional<std::string_view> takeQuoted(std::string_view& text)
{
    if (text.empty() || text.front() != '"')
        return std::nullopt;
    const auto close = text.find('"', 1);
    if (close == std::string_view::npos)
        return std::nullopt;
    const auto word = text.substr(1, close - 1);
    text.remove_prefix(close + 1);
    return word;
}

// KEY="value" lines as /etc/default/keyboard and /etc/vconsole.conf write them.
std::map<std::string, std::string> shellAssignments(const char* file)
{
    std::map<std::string, std::string> values;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        std::string_view rest = trimmed(line);
        const auto name =
            takeWhile(rest, [](char c) { return (c >= 'A' && c <= 'Z') || c == '_'; });
        takeWhile(rest, isBlank);
        if (name.empty() || rest.empty() || rest.front() != '=')
            continue;
        rest = trimmed(rest.substr(1));
        if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
            rest = rest.substr(1, rest.size() - 2);
        if (rest.find('"') == std::string_view::npos)
            values[std::string(name)] = std::string(rest);
    }
    return values;
}

// Option "XkbLayout" "de" lines of an X server configuration snippet.
std::map<std::string, std::string> xorgOptions(const char* file)
{
    std::map<std::string, std::string> values;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        std::string_view rest = trimmed(line);
        if (!rest.starts_with("Option"))
            continue;
        rest.remove_prefix(6);
        if (takeWhile(rest, isBlank).empty())
            continue;
        const auto name = takeQuoted(rest);
        takeWhile(rest, isBlank);
        const auto value = takeQuoted(rest);
        if (name && value && name->starts_with("Xkb") && name->size() > 3)
            values[std::string(*name)] = std::string(*value);
    }
    return values;
}

std::optional<std::pair<Names, std::string>> configuredNames()
{
    for (const char* file : {"/etc/default/keyboard", "/etc/vconsole.conf"}) {
        auto values = shellAssignments(file);
        if (!values["XKBLAYOUT"].empty()) {
            return std::pair{Names{values["XKBLAYOUT"], values["XKBVARIANT"], values["XKBMODEL"],
                                   values["XKBOPTIONS"]},
                             std::string(file) + ": " + values["XKBLAYOUT"]};
        }
    }
    const char* xorg = "/etc/X11/xorg.conf.d/00-keyboard.conf";
    auto values = xorgOptions(xorg);
    if (!values["XkbLayout"].empty()) {
        return std::pair{Names{values["XkbLayout"], values["XkbVariant"], values["XkbModel"],
                               values["XkbOptions"]},
                         std::string(xorg) + ": " + values["XkbLayout"]};
    }
    return std::nullopt;
}

// Accents that dead keys put on the next letter, as the key caps print them.
std::optional<std::string> deadKeyText(xkb_keysym_t sym)
{
    static const std::map<xkb_keysym_t, const char*> accents{
        {XKB_KEY_dead_grave, "`"},          {XKB_KEY_dead_acute, "\u00B4"},
        {XKB_KEY_dead_circumflex, "^"},     {XKB_KEY_dead_tilde, "~"},
        {XKB_KEY_dead_macron, "\u00AF"},    {XKB_KEY_dead_breve, "\u02D8"},
        {XKB_KEY_dead_abovedot, "\u02D9"},  {XKB_KEY_dead_diaeresis, "\u00A8"},
        {XKB_KEY_dead_abovering, "\u02DA"}, {XKB_KEY_dead_doubleacute, "\u02DD"},
        {XKB_KEY_dead_caron, "\u02C7"},     {XKB_KEY_dead_cedilla, "\u00B8"},
        {XKB_KEY_dead_ogonek, "\u02DB"},
    };
    const auto it = accents.find(sym);
    if (it == accents.end())
        return std::nullopt;
    return std::string(it->second);
}

xkb_keymap* compile(xkb_context* context, const Names& names)
{
    const xkb_rule_names rules{nullptr, names.model.empty() ? nullptr : names.model.c_str(),
                               names.layout.c_str(),
                               names.variant.empty() ? nullptr : names.variant.c_str(),
                               names.options.empty() ? nullptr : names.options.c_str()};
    return xkb_keymap_new_from_names(context, &rules, XKB_KEYMAP_COMPILE_NO_FLAGS);
}

// The X server's keymap and its current group, when an X server answers.
std::optional<std::pair<xkb_keymap*, unsigned>> fromXServer(xkb_context* context)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (connection == nullptr)
        return std::nullopt;
    std::optional<std::pair<xkb_keymap*, unsigned>> result;
    if (xcb_connection_has_error(connection) == 0 &&
        xkb_x11_setup_xkb_extension(
            connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr) == 1) {
        const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
        xkb_keymap* keymap = device < 0
                                 ? nullptr
                                 : xkb_x11_keymap_new_from_device(context, connection, device,
                                                                  XKB_KEYMAP_COMPILE_NO_FLAGS);
        if (keymap != nullptr) {
            unsigned group = 0;
            if (xkb_state* state = xkb_x11_state_new_from_device(keymap, connection, device)) {
                group = xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE);
                xkb_state_unref(state);
            }
            result = std::pair{keymap, group};
        }
    }
    xcb_disconnect(connection);
    return result;
}

// Whether a layout of `keymap` types every letter from a to z with no modifier: key names come
// from a layout that can type ASCII, never from a Cyrillic or Greek one.
bool isAsciiCapable(xkb_keymap* keymap, xkb_layout_index_t layout)
{
    std::bitset<26> letters;
    const xkb_keycode_t last = xkb_keymap_max_keycode(keymap);
    for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= last && key != 0; ++key) {
        const xkb_layout_index_t layouts = xkb_keymap_num_layouts_for_key(keymap, key);
        const xkb_keysym_t* syms = nullptr;
        const int count =
            layouts == 0
                ? 0
                : xkb_keymap_key_get_syms_by_level(keymap, key, layout % layouts, 0, &syms);
        for (int i = 0; i < count; ++i) {
            if (syms[i] >= XKB_KEY_a && syms[i] <= XKB_KEY_z)
                letters.set(syms[i] - XKB_KEY_a);
        }
    }
    return letters.all();
}

// The layout to name keys by: `preferred` when it can type ASCII, else the first configured one
// that can, else nothing.
std::optional<xkb_layout_index_t> asciiCapableLayout(xkb_keymap* keymap,
                                                     xkb_layout_index_t preferred)
{
    const xkb_layout_index_t count = xkb_keymap_num_layouts(keymap);
    if (preferred < count && isAsciiCapable(keymap, preferred))
        return preferred;
    for (xkb_layout_index_t layout = 0; layout < count; ++layout) {
        if (isAsciiCapable(keymap, layout))
            return layout;
    }
    return std::nullopt;
}

// A layout that cannot be compiled is an answer (we fall back), not something to print.
xkb_context* newContext()
{
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (context != nullptr)
        xkb_context_set_log_level(context, XKB_LOG_LEVEL_CRITICAL);
    return context;
}

} // namespace

XkbLayout::XkbLayout(xkb_context* context, xkb_keymap* keymap, unsigned layoutIndex,
                     std::string source)
    : m_context(context), m_keymap(keymap), m_layoutIndex(layoutIndex), m_source(std::move(source))
{
}

XkbLayout::~XkbLayout()
{
    xkb_keymap_unref(m_keymap);
    xkb_context_unref(m_context);
}

std::unique_ptr<XkbLayout> XkbLayout::withAsciiLayout(xkb_context* context, xkb_keymap* keymap,
                                                      unsigned preferred, std::string source)
{
    if (const auto layout = asciiCapableLayout(keymap, preferred)) {
        return std::unique_ptr<XkbLayout>(
            new XkbLayout(context, keymap, *layout, std::move(source)));
    }
    xkb_keymap_unref(keymap);
    if (xkb_keymap* us = compile(context, Names{"us", {}, {}, {}})) {
        return std::unique_ptr<XkbLayout>(
            new XkbLayout(context, us, 0, source + ", no Latin layout: us"));
    }
    xkb_context_unref(context);
    return nullptr;
}

std::unique_ptr<XkbLayout> XkbLayout::current()
{
    xkb_context* context = newContext();
    if (context == nullptr)
        return nullptr;
    if (auto x = fromXServer(context))
        return withAsciiLayout(context, x->first, x->second, "X server");
    if (auto configured = configuredNames()) {
        if (xkb_keymap* keymap = compile(context, configured->first))
            return withAsciiLayout(context, keymap, 0, std::move(configured->second));
    }
    if (xkb_keymap* keymap = compile(context, Names{"us", {}, {}, {}}))
        return std::unique_ptr<XkbLayout>(new XkbLayout(context, keymap, 0, "us"));
    xkb_context_unref(context);
    return nullptr;
}

std::unique_ptr<XkbLayout> XkbLayout::fromNames(const std::string& layout,
                                                const std::string& variant)
{
    xkb_context* context = newContext();
    if (context == nullptr)
        return nullptr;
    xkb_keymap* keymap = compile(context, Names{layout, variant, {}, {}});
    if (keymap == nullptr) {
        xkb_context_unref(context);
        return nullptr;
    }
    return withAsciiLayout(context, keymap, 0, layout);
}

std::string XkbLayout::upperCase(std::string_view text) const
{
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr))
        return KeyboardLayout::upperCase(text);
    gchar* upper = g_utf8_strup(text.data(), static_cast<gssize>(text.size()));
    std::string result(upper);
    g_free(upper);
    return result;
}

std::optional<std::string> XkbLayout::translate(std::uint16_t keyCode) const
{
    const auto evdev = evdevFromMac(keyCode);
    if (!evdev)
        return std::nullopt;
    const xkb_keycode_t key = static_cast<xkb_keycode_t>(*evdev) + evdevOffset;
    const unsigned layouts = xkb_keymap_num_layouts_for_key(m_keymap, key);
    if (layouts == 0)
        return std::nullopt;
    // A key with fewer groups than the keymap wraps around, as XKB does by default.
    const xkb_layout_index_t layout = m_layoutIndex % layouts;
    const xkb_keysym_t* syms = nullptr;
    if (xkb_keymap_key_get_syms_by_level(m_keymap, key, layout, 0, &syms) < 1 || syms == nullptr)
        return std::nullopt;
    if (auto accent = deadKeyText(syms[0]))
        return accent;
    std::array<char, 16> text{};
    const int length = xkb_keysym_to_utf8(syms[0], text.data(), text.size());
    // Control characters (Return, Tab, Escape, Delete) are not names.
    if (length <= 1 || static_cast<unsigned char>(text[0]) < 0x20 || text[0] == 0x7F)
        return std::nullopt;
    return std::string(text.data());
}

} // namespace orvane::platform
