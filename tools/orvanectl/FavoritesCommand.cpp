// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl favorites: the favourite applications that the default key mapping puts on the long
// press, one .desktop path per line.
#include "Commands.h"

#include "platform/linux/desktop/DesktopFavorites.h"
#include "platform/linux/system/LinuxSystem.h"

#include <iostream>

namespace orvane::ctl {

int favoritesCommand(Args args)
{
    if (!args.empty()) {
        std::cerr << "usage: orvanectl favorites\n";
        return exitUsage;
    }
    platform::LinuxSystem system;
    for (const auto& path : system.favorites().dockAppPaths())
        std::cout << path << '\n';
    return exitOk;
}

} // namespace orvane::ctl
