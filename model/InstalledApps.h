// SPDX-License-Identifier: GPL-3.0-or-later
// The applications installed for the user, as the desktop lists them, and what the desktop says
// about one application file: the list the application chooser offers and the name and icon a
// picker cell shows.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane::model {

struct InstalledApp {
    std::string path; // the .desktop file (or an executable)
    std::string name; // the desktop's display name
    std::string icon; // an icon theme name, or an absolute image path; empty when there is none
};

class InstalledApps {
public:
    virtual ~InstalledApps() = default;
    // Every application the desktop shows in its menus, read afresh, in no particular order.
    virtual std::vector<InstalledApp> installedApps() const = 0;
    // The name and icon of the application at `path`: a .desktop file's own entries, an
    // executable's file name. Nothing when the path names no readable application.
    virtual std::optional<InstalledApp> describe(const std::string& path) const = 0;
};

} // namespace orvane::model
