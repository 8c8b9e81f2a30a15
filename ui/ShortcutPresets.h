// SPDX-License-Identifier: GPL-3.0-or-later
// The ready-made shortcuts: the guide's "Hotkeys" long presses and the shortcut editor's starting
// point, as the desktop in use binds them by default.
#pragma once

#include "model/LaunchTarget.h"

#include <array>
#include <optional>
#include <string_view>

namespace orvane::ui {

enum class DesktopFamily { gnome, plasma };

// KDE Plasma when XDG_CURRENT_DESKTOP names KDE; GNOME's bindings otherwise (GNOME, and the
// desktops built on its settings: Unity, Cinnamon, Budgie, ...).
DesktopFamily desktopFamily(std::string_view xdgCurrentDesktop);

// The long presses of F1 to F4 in the "Hotkeys" preset. An empty entry keeps the default long
// press: no default binding of either desktop takes a screenshot without the Print key, which
// the stored key numbering cannot express.
std::array<std::optional<model::ShortcutTarget>, 4> hotkeyLongPresses(DesktopFamily desktop);

// What the shortcut editor starts from every time it opens: Super+L, "Lock screen" (the same
// default on both desktops).
model::ShortcutTarget editorStartingShortcut();

} // namespace orvane::ui
