#include "XkbLayout.h"

#include "KeyCodeTable.h"

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <array>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
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

// KEY="value" lines as /etc/default/keyboard and /etc/vconsole.conf write them.
std::map<std::string, std::string> shellAssignments(const char* file)
{
    std::map<std::string, std::string> values;
    std::ifstream in(file);
    static const std::regex assignment(R"re(^\s*([A-Z_]+)\s*=\s*"?([^"]*)"?\s*$)re");
    for (std::string line; std::getline(in, line);) {
        std::smatch match;
        if (std::regex_match(line, match, assignment))
            values[match[1]] = match[2];
    }
    return values;
}

// Option "XkbLayout" "de" lines of an X server configuration snippet.
std::map<std::string, std::string> xorgOptions(const char* file)
{
    std::map<std::string, std::string> values;
    std::ifstream in(file);
    static const std::regex option(R"re(^\s*Option\s+"(Xkb[A-Za-z]+)"\s+"([^"]*)")re");
    for (std::string line; std::getline(in, line);) {
        std::smatch match;
        if (std::regex_search(line, match, option))
            values[match[1]] = match[2];
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

std::unique_ptr<XkbLayout> XkbLayout::current()
{
    xkb_context* context = newContext();
    if (context == nullptr)
        return nullptr;
    if (auto x = fromXServer(context))
        return std::unique_ptr<XkbLayout>(new XkbLayout(context, x->first, x->second, "X server"));
    if (auto configured = configuredNames()) {
        if (xkb_keymap* keymap = compile(context, configured->first)) {
            return std::unique_ptr<XkbLayout>(
                new XkbLayout(context, keymap, 0, std::move(configured->second)));
        }
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
    return std::unique_ptr<XkbLayout>(new XkbLayout(context, keymap, 0, layout));
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
