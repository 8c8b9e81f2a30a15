// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard layout on Linux, through libxkbcommon: a key's position is turned into the text the
// current layout types there with no modifier held.
#pragma once

#include "engine/KeyNames.h"

#include <memory>
#include <string>

struct xkb_context;
struct xkb_keymap;

namespace orvane::platform {

class XkbLayout final : public engine::KeyboardLayout {
public:
    // The session's layout: the X server's current keymap and group when there is an X server,
    // else the system's configured layout (/etc/default/keyboard, /etc/vconsole.conf,
    // /etc/X11/xorg.conf.d/00-keyboard.conf), else "us". Keys are named by an ASCII-capable
    // layout: when the current one types no Latin letters (Russian, Greek), the first configured
    // layout that does, else "us". Nothing when even "us" cannot be compiled (no XKB data).
    static std::unique_ptr<XkbLayout> current();

    // A layout by its XKB names, for example ("de", "") or ("us", "dvorak"); of a list such as
    // ("ru,de", "") the first ASCII-capable one, as for the current layout.
    static std::unique_ptr<XkbLayout> fromNames(const std::string& layout,
                                                const std::string& variant = {});

    ~XkbLayout() override;
    XkbLayout(const XkbLayout&) = delete;
    XkbLayout& operator=(const XkbLayout&) = delete;

    // Virtual key code -> evdev code -> keysym at the first shift level -> UTF-8. Dead keys give
    // their accent. Keys that type nothing, or that Orvane does not know, have no text.
    std::optional<std::string> translate(std::uint16_t keyCode) const override;

    // GLib's Unicode case mapping: "ß" becomes "SS", "ı" becomes "I", "ș" becomes "Ș".
    std::string upperCase(std::string_view text) const override;

    // Where the layout came from ("X server", "/etc/default/keyboard: de", ...), for diagnostics.
    const std::string& source() const noexcept { return m_source; }

private:
    XkbLayout(xkb_context* context, xkb_keymap* keymap, unsigned layoutIndex, std::string source);
    // Takes both: the keymap's ASCII-capable layout nearest `preferred`, else "us".
    static std::unique_ptr<XkbLayout> withAsciiLayout(xkb_context* context, xkb_keymap* keymap,
                                                      unsigned preferred, std::string source);

    xkb_context* m_context;
    xkb_keymap* m_keymap;
    unsigned m_layoutIndex;
    std::string m_source;
};

} // namespace orvane::platform
