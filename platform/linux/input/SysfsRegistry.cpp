// SPDX-License-Identifier: GPL-3.0-or-later
#include "SysfsRegistry.h"

#include "engine/KeyboardFinder.h"

#include <libudev.h>

#include <algorithm>
#include <map>
#include <set>

namespace orvane::platform {

namespace {

constexpr std::string_view devicesRoot = "/sys/devices";

std::vector<std::string> syspaths(udev* context, const char* withProperty)
{
    std::vector<std::string> paths;
    const UdevEnumeratePtr enumerate(udev_enumerate_new(context));
    if (!enumerate)
        return paths;
    if (withProperty != nullptr)
        udev_enumerate_add_match_property(enumerate.get(), withProperty, "*");
    if (udev_enumerate_scan_devices(enumerate.get()) < 0)
        return paths;
    udev_list_entry* entry = udev_enumerate_get_list_entry(enumerate.get());
    for (; entry != nullptr; entry = udev_list_entry_get_next(entry)) {
        if (const char* name = udev_list_entry_get_name(entry))
            paths.emplace_back(name);
    }
    return paths;
}

// The nearest ancestor of `path` that is in `known`, or the root.
std::string_view parentOf(std::string_view path,
                          const std::map<std::string, std::size_t, std::less<>>& known)
{
    while (path.size() > devicesRoot.size()) {
        const auto slash = path.rfind('/');
        if (slash == std::string_view::npos)
            break;
        path = path.substr(0, slash);
        if (known.contains(path))
            return path;
    }
    return devicesRoot;
}

} // namespace

SysfsRegistry::SysfsRegistry() : m_udev(udev_new())
{
    m_nodes.push_back({std::string(devicesRoot), false, {}});
    if (!m_udev)
        return;
    auto paths = syspaths(m_udev.get(), nullptr);
    // Sorted, every parent comes before its children and siblings keep a stable order.
    std::sort(paths.begin(), paths.end());
    const auto described = syspaths(m_udev.get(), topRowUsageMapProperty);
    const std::set<std::string, std::less<>> describesTopRow(described.begin(), described.end());

    std::map<std::string, std::size_t, std::less<>> index{{std::string(devicesRoot), 0}};
    for (auto& path : paths) {
        if (!path.starts_with(devicesRoot) || path.size() <= devicesRoot.size() ||
            index.contains(path))
            continue;
        const std::size_t parent = index.find(parentOf(path, index))->second;
        const Entry entry = m_nodes.size();
        m_nodes.push_back({path, describesTopRow.contains(path), {}});
        m_nodes[parent].children.push_back(entry);
        index.emplace(std::move(path), entry);
    }
}

SysfsRegistry::~SysfsRegistry() = default;

std::optional<SysfsRegistry::Entry> SysfsRegistry::root() const
{
    return 0;
}

std::optional<std::string> SysfsRegistry::name(Entry entry) const
{
    if (entry >= m_nodes.size())
        return std::nullopt;
    const Node& node = m_nodes[entry];
    if (node.describesTopRow)
        return std::string(engine::keyboardDriverName);
    return node.syspath.substr(node.syspath.rfind('/') + 1);
}

std::optional<std::string> SysfsRegistry::path(Entry entry) const
{
    if (entry >= m_nodes.size())
        return std::nullopt;
    return m_nodes[entry].syspath;
}

std::vector<SysfsRegistry::Entry> SysfsRegistry::children(Entry entry) const
{
    if (entry >= m_nodes.size())
        return {};
    return m_nodes[entry].children;
}

std::optional<SysfsRegistry::Entry> SysfsRegistry::entryAt(std::string_view path) const
{
    for (Entry entry = 0; entry < m_nodes.size(); ++entry) {
        if (m_nodes[entry].syspath == path)
            return entry;
    }
    return std::nullopt;
}

std::optional<model::RegistryProperties> SysfsRegistry::properties(Entry entry) const
{
    if (entry >= m_nodes.size() || !m_udev)
        return std::nullopt;
    const UdevDevicePtr device(
        udev_device_new_from_syspath(m_udev.get(), m_nodes[entry].syspath.c_str()));
    if (!device)
        return std::nullopt; // gone since the snapshot
    model::RegistryProperties properties;
    udev_list_entry* item = udev_device_get_properties_list_entry(device.get());
    for (; item != nullptr; item = udev_list_entry_get_next(item)) {
        const char* key = udev_list_entry_get_name(item);
        const char* value = udev_list_entry_get_value(item);
        if (key != nullptr)
            properties.emplace(key, std::string(value != nullptr ? value : ""));
    }
    if (const auto it = properties.find(topRowUsageMapProperty); it != properties.end())
        properties.insert_or_assign(std::string(engine::usageMapProperty), it->second);
    return properties;
}

} // namespace orvane::platform
