// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputAccess.h"

#include "platform/linux/UniqueFd.h"

#include <libevdev/libevdev.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>

namespace orvane::platform {

namespace {

std::string sysfsName(const std::string& node)
{
    std::ifstream file("/sys/class/input/" + std::filesystem::path(node).filename().string() +
                       "/device/name");
    std::string name;
    std::getline(file, name);
    return name;
}

bool isDenied(int error) noexcept
{
    return error == EACCES || error == EPERM;
}

DeviceAccess surveyDevice(const std::string& node, const GrabPolicy& policy,
                          const TaughtRows& taught)
{
    DeviceAccess device;
    device.node = node;
    const UniqueFd fd(::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        device.openError = errno;
        device.name = sysfsName(node);
        return device;
    }
    libevdev* evdev = nullptr;
    if (libevdev_new_from_fd(fd.get(), &evdev) < 0) {
        device.isEvdev = false;
        device.name = sysfsName(node);
        return device;
    }
    device.traits = deviceTraits(evdev, node);
    device.name = device.traits->name;
    device.decision = decide(*device.traits, policy);
    if (device.decision == GrabDecision::grab)
        device.row = keyboardRow(evdev, fd.get(), node, taught).source();
    libevdev_free(evdev);
    return device;
}

} // namespace

InputAccessReport surveyInputAccess(const GrabPolicy& policy)
{
    InputAccessReport report;
    std::string ignored; // a damaged file: the rows found without it
    const TaughtRows taught = readTaughtRows(taughtRowsPath(), ignored).value_or(TaughtRows{});
    for (const auto& node : eventNodes()) {
        DeviceAccess device = surveyDevice(node, policy, taught);
        report.isAccessDenied = report.isAccessDenied || isDenied(device.openError);
        if (device.decision == GrabDecision::grab) {
            ++report.grabbable;
            report.hasFnKey = report.hasFnKey || device.traits->hasFnKey;
        }
        report.devices.push_back(std::move(device));
    }
    const UniqueFd uinput(::open("/dev/uinput", O_WRONLY | O_CLOEXEC));
    report.uinputError = uinput ? 0 : errno;
    report.isAccessDenied = report.isAccessDenied || isDenied(report.uinputError);
    return report;
}

} // namespace orvane::platform
