// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoredSettings.h"

#include "model/Preferences.h"
#include "platform/linux/desktop/SettingsFile.h"
#include "platform/linux/system/LinuxSystem.h"

namespace orvane::ctl {

model::KeyMapping machineDefaultMapping()
{
    return platform::LinuxSystem().defaultKeyMapping();
}

MappingAndDelay loadMappingAndDelay(const model::KeyMapping& defaultMapping)
{
    platform::LinuxSystem system;
    const model::Preferences preferences(system.settings(), defaultMapping);
    return {preferences.keyMapping.get(), preferences.longPressDelay.get()};
}

} // namespace orvane::ctl
