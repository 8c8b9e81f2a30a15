// SPDX-License-Identifier: GPL-3.0-or-later
// A device registry built in memory: entries with a name, a path, properties and children, any of
// which can be made unreadable.
#pragma once

#include "model/DeviceRegistry.h"

#include <vector>

namespace orvane::test {

class MemoryDeviceRegistry final : public model::DeviceRegistry {
public:
    struct Node {
        std::optional<std::string> name;
        std::optional<std::string> path;
        std::optional<model::RegistryProperties> properties = model::RegistryProperties{};
        std::vector<Entry> children;
    };

    // Adds an entry below `parent` (or the root, when there is none yet) and returns it.
    Entry add(std::optional<Entry> parent, Node node)
    {
        nodes.push_back(std::move(node));
        const Entry entry = nodes.size() - 1;
        if (parent)
            nodes[*parent].children.push_back(entry);
        return entry;
    }

    std::optional<Entry> root() const override
    {
        if (nodes.empty())
            return std::nullopt;
        return 0;
    }
    std::optional<std::string> name(Entry entry) const override { return nodes.at(entry).name; }
    std::optional<std::string> path(Entry entry) const override { return nodes.at(entry).path; }
    std::vector<Entry> children(Entry entry) const override { return nodes.at(entry).children; }
    std::optional<Entry> entryAt(std::string_view path) const override
    {
        for (Entry entry = 0; entry < nodes.size(); ++entry) {
            if (nodes[entry].path == path)
                return entry;
        }
        return std::nullopt;
    }
    std::optional<model::RegistryProperties> properties(Entry entry) const override
    {
        return nodes.at(entry).properties;
    }

    std::vector<Node> nodes;
};

} // namespace orvane::test
