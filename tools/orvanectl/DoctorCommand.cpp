// orvanectl doctor: which input devices Orvane finds, which it would grab and why, whether it can
// create its output keyboard, whether the fn column can fire, and how to grant missing access.
#include "Commands.h"

#include "platform/linux/DeviceSurvey.h"
#include "platform/linux/UniqueFd.h"

#include <libevdev/libevdev.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace orvane::ctl {

namespace {

std::string sysfsName(const std::string& node)
{
    std::ifstream file("/sys/class/input/" + std::filesystem::path(node).filename().string() +
                       "/device/name");
    std::string name;
    std::getline(file, name);
    return name;
}

struct Findings {
    int grabbable = 0;
    bool hasFnKey = false;
    bool isAccessDenied = false;
};

void surveyDevice(const std::string& node, const platform::GrabPolicy& policy, Findings& findings)
{
    std::cout << "  " << node;
    const platform::UniqueFd fd(::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        const int error = errno;
        findings.isAccessDenied = findings.isAccessDenied || error == EACCES || error == EPERM;
        std::cout << "  '" << sysfsName(node) << "'\n      cannot open: " << std::strerror(error)
                  << '\n';
        return;
    }
    libevdev* evdev = nullptr;
    if (libevdev_new_from_fd(fd.get(), &evdev) < 0) {
        std::cout << "  '" << sysfsName(node) << "'\n      not an evdev device\n";
        return;
    }
    const platform::DeviceTraits traits = platform::deviceTraits(evdev, node);
    libevdev_free(evdev);
    const platform::GrabDecision decision = platform::decide(traits, policy);
    std::cout << "  '" << traits.name << "'" << (traits.hasFnKey ? "  [reports KEY_FN]" : "")
              << "\n      " << platform::describe(decision) << '\n';
    if (decision == platform::GrabDecision::grab) {
        ++findings.grabbable;
        findings.hasFnKey = findings.hasFnKey || traits.hasFnKey;
    }
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

    Findings findings;
    const auto nodes = platform::eventNodes();
    std::cout << "Input devices (" << nodes.size() << "):\n";
    for (const auto& node : nodes)
        surveyDevice(node, policy, findings);
    if (nodes.empty())
        std::cout << "  none under /dev/input\n";

    const platform::UniqueFd uinput(::open("/dev/uinput", O_WRONLY | O_CLOEXEC));
    const int uinputError = uinput ? 0 : errno;
    std::cout << "\nOutput keyboard: /dev/uinput "
              << (uinput ? "can be opened"
                         : std::string("cannot be opened: ") + std::strerror(uinputError))
              << '\n';
    findings.isAccessDenied =
        findings.isAccessDenied || uinputError == EACCES || uinputError == EPERM;

    std::cout << "Keyboards Orvane would grab: " << findings.grabbable << '\n';
    if (findings.grabbable > 0 && !findings.hasFnKey)
        std::cout << "No keyboard reports KEY_FN: the fn column cannot fire (most PC keyboards "
                     "handle fn in their firmware and tell nobody).\n";

    const bool canRun = uinputError == 0 && findings.grabbable > 0;
    if (!canRun || findings.isAccessDenied)
        printAccessHelp();
    std::cout << (canRun ? "\nOrvane can run.\n" : "\nOrvane cannot run yet.\n");
    return canRun ? exitOk : exitFailed;
}

} // namespace orvane::ctl
