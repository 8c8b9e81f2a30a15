// SPDX-License-Identifier: GPL-3.0-or-later
// The device registry on Linux: the sysfs device tree as libudev enumerates it.
#pragma once

#include "UdevPtr.h"

#include "model/DeviceRegistry.h"

#include <memory>
#include <string>
#include <vector>

namespace orvane::platform {

// Property a udev rule or hwdb entry sets on a keyboard to describe its top row, in the
// keyboard driver's own form: twelve comma-separated pairs of HID usages ("0x0007003a,0x00ff0005,
// ..."), the second of each pair being what the key does without fn. Such a device is presented
// as the keyboard driver entry that the keyboard finder looks for; without one, no entry carries
// a usage map and the default top row stands.
inline constexpr const char* topRowUsageMapProperty = "ORVANE_TOP_ROW_USAGE_MAP";

class SysfsRegistry final : public model::DeviceRegistry {
public:
    // Takes a snapshot of the device tree; properties are read when asked for.
    SysfsRegistry();
    ~SysfsRegistry() override;
    SysfsRegistry(const SysfsRegistry&) = delete;
    SysfsRegistry& operator=(const SysfsRegistry&) = delete;

    std::optional<Entry> root() const override;
    std::optional<std::string> name(Entry entry) const override;
    std::optional<std::string> path(Entry entry) const override;
    std::vector<Entry> children(Entry entry) const override;
    std::optional<Entry> entryAt(std::string_view path) const override;
    std::optional<model::RegistryProperties> properties(Entry entry) const override;

private:
    struct Node {
        std::string syspath;
        bool describesTopRow = false;
        std::vector<Entry> children;
    };
    UdevPtr m_udev;
    std::vector<Node> m_nodes; // entry 0 is /sys/devices
};

} // namespace orvane::platform
