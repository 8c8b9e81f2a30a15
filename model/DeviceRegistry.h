// SPDX-License-Identifier: GPL-3.0-or-later
// The system's tree of devices and their drivers, as the keyboard finder walks it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvane::model {

// A property value: text, or something else (a number) that a reader expecting text rejects.
using RegistryValue = std::variant<std::string, std::int64_t>;
using RegistryProperties = std::map<std::string, RegistryValue, std::less<>>;

class DeviceRegistry {
public:
    // An entry's handle; only meaningful to the registry that gave it out.
    using Entry = std::uint64_t;

    virtual ~DeviceRegistry() = default;

    virtual std::optional<Entry> root() const = 0;
    // Each of these may fail for an entry, with nothing.
    virtual std::optional<std::string> name(Entry entry) const = 0;
    virtual std::optional<std::string> path(Entry entry) const = 0;
    virtual std::vector<Entry> children(Entry entry) const = 0;
    virtual std::optional<Entry> entryAt(std::string_view path) const = 0;
    virtual std::optional<RegistryProperties> properties(Entry entry) const = 0;
};

} // namespace orvane::model
