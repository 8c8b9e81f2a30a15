// SPDX-License-Identifier: GPL-3.0-or-later
// The user's favourite applications: the file manager first, then the desktop's favourites.
#pragma once

#include <string>
#include <vector>

namespace orvane::model {

class FavoriteApps {
public:
    virtual ~FavoriteApps() = default;
    // Application paths in the user's order, read afresh on every call. Never fails: whatever
    // cannot be read only shortens the list.
    virtual std::vector<std::string> dockAppPaths() const = 0;
};

} // namespace orvane::model
