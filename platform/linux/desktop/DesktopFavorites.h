// SPDX-License-Identifier: GPL-3.0-or-later
// The user's favourite applications on a Linux desktop: the default file manager, then the
// desktop's own favourites (GNOME Shell and Cinnamon dash, KDE Plasma task manager launchers),
// each as the path of its .desktop file.
#pragma once

#include "model/FavoriteApps.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::platform {

class DesktopFavorites final : public model::FavoriteApps {
public:
    // Reads everything afresh on every call; whatever cannot be read only shortens the list.
    std::vector<std::string> dockAppPaths() const override;
};

// The desktop file of the default application for `contentType` ("inode/directory").
std::optional<std::string> defaultApplicationPath(const char* contentType);

// The desktop file of the application with desktop file id `id` ("firefox.desktop").
std::optional<std::string> desktopFilePath(const std::string& id);

// GSettings favourites: the `favorite-apps` list of `schema` ("org.gnome.shell"), when the schema
// is installed, as desktop file paths; ids without an installed desktop file are skipped.
std::vector<std::string> gsettingsFavorites(const char* schema);

// The launchers of every task manager applet in a Plasma applets file, in the order the panels
// show them ("applications:firefox.desktop", "file:///home/u/x.desktop", "preferred://browser").
std::vector<std::string> plasmaLauncherEntries(std::string_view appletsFile);

// The desktop file paths the Plasma launchers in $XDG_CONFIG_HOME name.
std::vector<std::string> plasmaFavorites();

} // namespace orvane::platform
