// SPDX-License-Identifier: GPL-3.0-or-later
// What Orvane reads from the user's settings file, for the subcommands that run the engine.
#pragma once

#include "model/KeyProps.h"
#include "model/LaunchTarget.h"

namespace orvane::ctl {

// What keyMapping reads as on this machine when nothing is stored: short press from the
// keyboard's top row, long press from the favourite applications (platform::LinuxSystem).
model::KeyMapping machineDefaultMapping();

struct MappingAndDelay {
    model::KeyMapping mapping;
    double delay;
};

// keyMapping and longPressDelay as Orvane reads them from the user's settings file
// ($XDG_CONFIG_HOME/orvane/settings.json): the stored values, or `defaultMapping` and 0.2 when
// nothing usable is stored. Never writes.
MappingAndDelay loadMappingAndDelay(const model::KeyMapping& defaultMapping);

} // namespace orvane::ctl
