// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl login: whether Orvane starts at login (its XDG autostart entry), and switching it.
#include "Commands.h"

#include "model/LaunchAtLogin.h"
#include "platform/linux/desktop/AutostartLoginItems.h"
#include "platform/linux/system/LinuxSystem.h"

#include <iostream>

namespace orvane::ctl {

int loginCommand(Args args)
{
    const bool wellFormed =
        args.empty() || (args.size() == 1 && (args[0] == "on" || args[0] == "off"));
    if (!wellFormed) {
        std::cerr << "usage: orvanectl login [on|off]\n";
        return exitUsage;
    }
    platform::LinuxSystem system;
    platform::AutostartLoginItems& items = system.loginItems();
    model::LaunchAtLoginObservable launchAtLogin(items);
    if (!args.empty()) {
        if (const auto error = launchAtLogin.setEnabled(args[0] == "on")) {
            std::cerr << "orvanectl login: cannot change " << items.userEntry().string() << ": "
                      << error.message() << '\n';
            return exitFailed;
        }
    }
    std::cout << (launchAtLogin.isEnabled() ? "on" : "off") << '\n';
    return exitOk;
}

} // namespace orvane::ctl
