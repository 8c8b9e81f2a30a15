// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyboardFinder.h"

#include <array>
#include <utility>
#include <vector>

namespace orvane::engine {

namespace {

using model::CustomKey;

constexpr std::array<std::pair<std::string_view, CustomKey>, 15> usageTable{{
    {"0x00ff0005", CustomKey::brightnessDown},
    {"0x00ff0004", CustomKey::brightnessUp},
    {"0xff010010", CustomKey::missionControl},
    {"0x000c0221", CustomKey::spotlight},
    {"0x000c00cf", CustomKey::dictation},
    {"0x0001009b", CustomKey::focus},
    {"0x000c00b4", CustomKey::rewind},
    {"0x000c00cd", CustomKey::play},
    {"0x000c00b3", CustomKey::fast},
    {"0x000c00e2", CustomKey::soundMute},
    {"0x000c00ea", CustomKey::soundDown},
    {"0x000c00e9", CustomKey::soundUp},
    {"0xff010004", CustomKey::launchpad},
    {"0x00ff0009", CustomKey::illuminationDown},
    {"0x00ff0008", CustomKey::illuminationUp},
}};

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

} // namespace

std::optional<CustomKey> keyForUsage(std::string_view usage)
{
    for (const auto& [text, key] : usageTable) {
        if (text == usage)
            return key;
    }
    return std::nullopt;
}

std::optional<std::string> findKeyboardPath(const model::DeviceRegistry& registry,
                                            model::DeviceRegistry::Entry entry)
{
    if (registry.name(entry) == keyboardDriverName)
        return registry.path(entry); // a driver whose path cannot be read ends this branch
    for (const auto child : registry.children(entry)) {
        if (auto path = findKeyboardPath(registry, child))
            return path;
    }
    return std::nullopt;
}

model::TopRow loadTopRowKeys(const model::DeviceRegistry& registry)
{
    model::TopRow keys = model::defaultTopRowKeys();
    const auto root = registry.root();
    if (!root)
        return keys;
    const auto path = findKeyboardPath(registry, *root);
    if (!path)
        return keys;
    const auto entry = registry.entryAt(*path);
    if (!entry)
        return keys;
    const auto properties = registry.properties(*entry);
    if (!properties)
        return keys;
    const auto it = properties->find(usageMapProperty);
    if (it == properties->end())
        return keys;
    const auto* text = std::get_if<std::string>(&it->second);
    if (text == nullptr)
        return keys;
    // Twelve pairs of usages, one per position; the second of each pair is the key's function.
    const auto parts = split(*text, ',');
    if (parts.size() != 2 * keys.size())
        return keys;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (const auto key = keyForUsage(parts[2 * i + 1]))
            keys[i] = *key;
    }
    return keys;
}

} // namespace orvane::engine
