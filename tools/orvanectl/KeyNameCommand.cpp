// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl keyname: the names Orvane shows for virtual key codes, in the current keyboard layout
// or in a named one.
#include "Commands.h"

#include "engine/KeyNames.h"
#include "platform/linux/desktop/XkbLayout.h"

#include <charconv>
#include <iostream>
#include <memory>

namespace orvane::ctl {

int keyNameCommand(Args args)
{
    std::string layoutName;
    if (args.size() >= 2 && args[0] == "--layout") {
        layoutName = args[1];
        args = args.subspan(2);
    }
    if (args.empty()) {
        std::cerr << "usage: orvanectl keyname [--layout XKB-LAYOUT] CODE...\n";
        return exitUsage;
    }
    const auto layout = layoutName.empty() ? platform::XkbLayout::current()
                                           : platform::XkbLayout::fromNames(layoutName);
    if (!layout) {
        std::cerr << "orvanectl keyname: no keyboard layout"
                  << (layoutName.empty() ? "" : " named '" + layoutName + "'") << '\n';
        return exitFailed;
    }
    int status = exitOk;
    for (const auto arg : args) {
        std::int64_t code = 0;
        const auto [end, error] = std::from_chars(arg.data(), arg.data() + arg.size(), code);
        if (error != std::errc() || end != arg.data() + arg.size()) {
            std::cerr << "orvanectl keyname: '" << arg << "' is not a key code\n";
            status = exitUsage;
            continue;
        }
        const auto name = engine::keyName(code, *layout);
        std::cout << code << '\t' << (name ? *name : "") << '\n';
    }
    return status;
}

} // namespace orvane::ctl
