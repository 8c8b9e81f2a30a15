// SPDX-License-Identifier: GPL-3.0-or-later
// Orvane's pictures: taken from the icon theme by name (so the panel can recolour the symbolic
// tray icon), with the copies built into the program when the theme has none.
#pragma once

#include <QIcon>

namespace orvane::app {

QIcon appIcon();  // "orvane"
QIcon trayIcon(); // "orvane-symbolic"

} // namespace orvane::app
