// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl doctor: which input devices Orvane finds, which it would grab and why, whether it can
// create its output keyboard, whether the fn column can fire, and how to grant missing access.
#include "Commands.h"

#include "platform/linux/input/InputAccess.h"

#include <cstring>
#include <iostream>

namespace orvane::ctl {

namespace {

void printDevice(const platform::DeviceAccess& device)
{
    std::cout << "  " << device.node << "  '" << device.name << "'";
    if (device.openError != 0) {
        std::cout << "\n      cannot open: " << std::strerror(device.openError) << '\n';
        return;
    }
    if (!device.isEvdev || !device.decision) {
        std::cout << "\n      not an evdev device\n";
        return;
    }
    std::cout << (device.traits->hasFnKey ? "  [reports KEY_FN]" : "") << "\n      "
              << platform::describe(*device.decision) << '\n';
    if (device.row)
        std::cout << "      top row: " << platform::describe(*device.row) << '\n';
}

void printAccessHelp()
{
    std::cout << "\nHow to grant access (either one):\n"
                 "  1. The udev rule Orvane ships gives the user at the seat access to /dev/uinput "
                 "and to keyboards:\n"
                 "       sudo cmake --install build/release   (installs 70-orvane.rules)\n"
                 "     or copy resources/linux/70-orvane.rules to /etc/udev/rules.d/, then\n"
                 "       sudo udevadm control --reload && sudo udevadm trigger\n"
                 "     and log out and in again.\n"
                 "  2. Or join the input group: sudo usermod -aG input $USER (log out and in).\n"
                 "     Members of that group can read every keystroke of every keyboard at any "
                 "time,\n     also of other users' sessions: prefer the rule.\n"
                 "  /dev/uinput missing: sudo modprobe uinput\n";
}

} // namespace

int doctorCommand(Args args)
{
    platform::GrabPolicy policy;
    for (const std::string_view arg : args) {
        if (arg != "--include-virtual") {
            std::cerr << "usage: orvanectl doctor [--include-virtual]\n";
            return exitUsage;
        }
        policy.includeVirtual = true;
    }

    const platform::InputAccessReport report = platform::surveyInputAccess(policy);
    std::cout << "Input devices (" << report.devices.size() << "):\n";
    for (const auto& device : report.devices)
        printDevice(device);
    if (report.devices.empty())
        std::cout << "  none under /dev/input\n";

    std::cout << "\nOutput keyboard: /dev/uinput "
              << (report.uinputError == 0
                      ? "can be opened"
                      : std::string("cannot be opened: ") + std::strerror(report.uinputError))
              << '\n';

    std::cout << "Keyboards Orvane would grab: " << report.grabbable << '\n';
    if (report.grabbable > 0 && !report.hasFnKey)
        std::cout << "No keyboard reports KEY_FN: the fn column cannot fire (most PC keyboards "
                     "handle fn in their firmware and tell nobody).\n";

    const bool canRun = report.canRun();
    if (!canRun || report.isAccessDenied)
        printAccessHelp();
    std::cout << (canRun ? "\nOrvane can run.\n" : "\nOrvane cannot run yet.\n");
    return canRun ? exitOk : exitFailed;
}

} // namespace orvane::ctl
