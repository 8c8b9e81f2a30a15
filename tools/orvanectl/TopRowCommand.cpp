// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl toprow: the twelve keys of the keyboard's top row, as the keyboard finder reads them.
#include "Commands.h"

#include "platform/linux/system/LinuxSystem.h"

#include <iostream>

namespace orvane::ctl {

int topRowCommand(Args args)
{
    if (!args.empty()) {
        std::cerr << "usage: orvanectl toprow\n";
        return exitUsage;
    }
    platform::LinuxSystem system;
    for (const auto key : system.topRow())
        std::cout << model::caseName(key) << '\n';
    return exitOk;
}

} // namespace orvane::ctl
