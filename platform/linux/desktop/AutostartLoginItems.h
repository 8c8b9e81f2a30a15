// SPDX-License-Identifier: GPL-3.0-or-later
// Launch at login on Linux: an XDG autostart entry, $XDG_CONFIG_HOME/autostart/<id>.desktop.
#pragma once

#include "model/LaunchAtLogin.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane::platform {

class AutostartLoginItems final : public model::LoginItems {
public:
    // `appId` names the entry ("orvane" -> orvane.desktop); `executable` is what it starts.
    AutostartLoginItems(std::string appId, std::string executable);

    // Enabled when the entry that the session would use exists, is not Hidden and is not
    // switched off with X-GNOME-Autostart-enabled=false. The user's entry overrides a system-wide
    // one of the same name. Read afresh on every call.
    bool isEnabled() const override;

    // Writes the user's entry (on) or removes it (off); when a system-wide entry of the same name
    // would still start Orvane, switching off writes a Hidden user entry instead. Switching on
    // what is already on changes nothing.
    std::error_code setEnabled(bool isEnabled) override;

    std::filesystem::path userEntry() const;

private:
    std::string m_appId;
    std::string m_executable;
};

// Whether a desktop entry's text, read with GLib's key-file parser as the session reads it, starts
// its program at login: it loads, has a [Desktop Entry] group, is not Hidden and is not switched
// off with X-GNOME-Autostart-enabled.
bool desktopEntryStarts(std::string_view text);

// The executable as one argument of a desktop entry's Exec line (quoted when it needs to be).
std::string desktopExecArgument(const std::string& executable);

} // namespace orvane::platform
