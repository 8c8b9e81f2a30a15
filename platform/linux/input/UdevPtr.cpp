// SPDX-License-Identifier: GPL-3.0-or-later
#include "UdevPtr.h"

#include <libudev.h>

namespace orvane::platform {

void UdevUnref::operator()(udev* handle) const noexcept
{
    udev_unref(handle);
}

void UdevUnref::operator()(udev_device* handle) const noexcept
{
    udev_device_unref(handle);
}

void UdevUnref::operator()(udev_enumerate* handle) const noexcept
{
    udev_enumerate_unref(handle);
}

void UdevUnref::operator()(udev_monitor* handle) const noexcept
{
    udev_monitor_unref(handle);
}

} // namespace orvane::platform
