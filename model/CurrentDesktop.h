// SPDX-License-Identifier: GPL-3.0-or-later
// Which desktop the session runs, as XDG_CURRENT_DESKTOP says: the favourites and the ready-made
// shortcuts both follow it.
#pragma once

#include <string_view>

namespace orvane::model {

// Whether `xdgCurrentDesktop`, the variable's value, names the desktop `name` ("GNOME", "KDE",
// "Cinnamon"). The value is a colon-separated list ("ubuntu:GNOME"); an entry names the desktop
// when it equals `name` ignoring case, with or without the "X-" that names not registered with
// freedesktop.org carry ("X-Cinnamon").
bool currentDesktopIs(std::string_view xdgCurrentDesktop, std::string_view name);

} // namespace orvane::model
