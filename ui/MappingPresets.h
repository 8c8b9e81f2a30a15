// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-mapping and whole-column changes: the guide's three presets and the table's column
// fills, as plain functions over the stored list.
#pragma once

#include "ShortcutPresets.h"

#include "model/KeyProps.h"
#include "model/LaunchTarget.h"
#include "model/Preferences.h"

#include <span>
#include <string>
#include <vector>

namespace orvane::ui {

// Which of a position's three targets a column edits.
enum class Column { shortPress, longPress, fn };
model::LaunchTarget& targetAt(model::KeyMapConfig& config, Column column);
const model::LaunchTarget& targetAt(const model::KeyMapConfig& config, Column column);

// `base` (the default mapping) with the long press of entry i opening application i.
model::KeyMapping appsPreset(model::KeyMapping base, std::span<const std::string> appPaths);
// `base` with every long press sending the position's own function key.
model::KeyMapping functionKeyPreset(model::KeyMapping base);
// `base` with the first four long presses sending the desktop's shortcuts.
model::KeyMapping hotkeyPreset(model::KeyMapping base, DesktopFamily desktop);

// Column fills write entry by entry, reading the stored list afresh before each write, so the
// settings store sees (and publishes) one write per entry.
void fillColumnWithKeys(model::UserDefault<model::KeyMapping>& setting, Column column,
                        const model::TopRow& keys);
void fillColumnWithApps(model::UserDefault<model::KeyMapping>& setting, Column column,
                        std::span<const std::string> appPaths);

} // namespace orvane::ui
