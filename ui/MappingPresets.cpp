// SPDX-License-Identifier: GPL-3.0-or-later
#include "MappingPresets.h"

#include <algorithm>

namespace orvane::ui {

const model::LaunchTarget& targetAt(const model::KeyMapConfig& config, Column column)
{
    switch (column) {
    case Column::shortPress:
        return config.shortPress;
    case Column::longPress:
        return config.longPress;
    case Column::fn:
        break;
    }
    return config.fn;
}

model::LaunchTarget& targetAt(model::KeyMapConfig& config, Column column)
{
    // The same choice as for a read-only entry; the entry itself is writable here.
    return const_cast<model::LaunchTarget&>(
        targetAt(static_cast<const model::KeyMapConfig&>(config), column));
}

model::KeyMapping appsPreset(model::KeyMapping base, std::span<const std::string> appPaths)
{
    const std::size_t count = std::min(base.size(), appPaths.size());
    for (std::size_t i = 0; i < count; ++i)
        base[i].longPress = model::AppTarget{appPaths[i]};
    return base;
}

model::KeyMapping functionKeyPreset(model::KeyMapping base)
{
    const auto& keys = model::functionKeys();
    for (std::size_t i = 0; i < std::min(base.size(), keys.size()); ++i)
        base[i].longPress = model::KeyTarget{keys[i]};
    return base;
}

model::KeyMapping hotkeyPreset(model::KeyMapping base, DesktopFamily desktop)
{
    const auto shortcuts = hotkeyLongPresses(desktop);
    for (std::size_t i = 0; i < std::min(base.size(), shortcuts.size()); ++i)
        if (shortcuts[i])
            base[i].longPress = *shortcuts[i];
    return base;
}

namespace {

// One write per entry, each over the list as stored then; `target(i)` is entry i's new target.
// Entries past `count` (past the twelfth, never written by Orvane) are left as they are.
template <typename Target>
void fillColumn(model::UserDefault<model::KeyMapping>& setting, Column column, std::size_t count,
                Target target)
{
    count = std::min(setting.get().size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        auto mapping = setting.get();
        if (i >= mapping.size())
            return;
        targetAt(mapping[i], column) = target(i);
        setting.set(mapping);
    }
}

} // namespace

void fillColumnWithKeys(model::UserDefault<model::KeyMapping>& setting, Column column,
                        const model::TopRow& keys)
{
    fillColumn(setting, column, keys.size(),
               [&](std::size_t i) { return model::KeyTarget{keys[i]}; });
}

void fillColumnWithApps(model::UserDefault<model::KeyMapping>& setting, Column column,
                        std::span<const std::string> appPaths)
{
    fillColumn(setting, column, appPaths.size(),
               [&](std::size_t i) { return model::AppTarget{appPaths[i]}; });
}

} // namespace orvane::ui
