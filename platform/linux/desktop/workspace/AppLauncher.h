// SPDX-License-Identifier: GPL-3.0-or-later
// Starts an application from a .desktop file (through GIO, as the desktop's launchers do) or an
// executable (by its path, with no shell in between).
#pragma once

#include <optional>
#include <string>

namespace orvane::platform {

// Starts the application at `path`; the error's text when it cannot. Started programs leave
// Orvane's session and signal mask behind, so that stopping Orvane never stops them.
std::optional<std::string> launchApplication(const std::string& path);

} // namespace orvane::platform
