// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl toprow: the twelve keys of the machine's top row, as the keyboard finder reads them,
// then where each keyboard's own row comes from; `learn` and `forget` teach a row and drop it.
#include "Commands.h"
#include "TopRowLearning.h"

#include "platform/linux/input/InputAccess.h"
#include "platform/linux/system/LinuxSystem.h"

#include <iostream>

namespace orvane::ctl {

namespace {

constexpr const char* usage = "usage: orvanectl toprow [learn|forget] [--include-virtual]\n";

} // namespace

int topRowCommand(Args args)
{
    platform::GrabPolicy policy;
    std::string_view action;
    for (const std::string_view arg : args) {
        if (arg == "--include-virtual") {
            policy.includeVirtual = true;
        } else if (action.empty() && (arg == "learn" || arg == "forget")) {
            action = arg;
        } else {
            std::cerr << usage;
            return exitUsage;
        }
    }
    if (action == "learn")
        return learnTopRow(policy);
    if (action == "forget")
        return forgetTopRows(policy);

    platform::LinuxSystem system;
    for (const auto key : system.topRow())
        std::cout << model::caseName(key) << '\n';
    for (const auto& device : platform::surveyInputAccess(policy).devices) {
        if (device.row)
            std::cout << "keyboard '" << device.name << "' (" << device.node << "): its row from "
                      << platform::describe(*device.row) << '\n';
    }
    return exitOk;
}

} // namespace orvane::ctl
