// SPDX-License-Identifier: GPL-3.0-or-later
// libudev's objects with one owner each: unreferenced when the owner goes. The deleter is defined
// beside libudev, so that headers holding these pointers need not include libudev.h.
#pragma once

#include <memory>

struct udev;
struct udev_device;
struct udev_enumerate;
struct udev_monitor;

namespace orvane::platform {

struct UdevUnref {
    void operator()(udev* handle) const noexcept;
    void operator()(udev_device* handle) const noexcept;
    void operator()(udev_enumerate* handle) const noexcept;
    void operator()(udev_monitor* handle) const noexcept;
};

using UdevPtr = std::unique_ptr<udev, UdevUnref>;
using UdevDevicePtr = std::unique_ptr<udev_device, UdevUnref>;
using UdevEnumeratePtr = std::unique_ptr<udev_enumerate, UdevUnref>;
using UdevMonitorPtr = std::unique_ptr<udev_monitor, UdevUnref>;

} // namespace orvane::platform
