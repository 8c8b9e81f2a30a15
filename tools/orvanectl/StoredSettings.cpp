#include "StoredSettings.h"

#include "model/DefaultKeyMapping.h"
#include "model/Preferences.h"
#include "platform/linux/DesktopFavorites.h"
#include "platform/linux/SettingsFile.h"
#include "platform/linux/MachineTopRow.h"

namespace orvane::ctl {

model::TopRow machineTopRow()
{
    return platform::machineTopRow();
}

model::KeyMapping machineDefaultMapping()
{
    return model::defaultKeyMapping(machineTopRow(), platform::DesktopFavorites().dockAppPaths());
}

MappingAndDelay loadMappingAndDelay(const model::KeyMapping& defaultMapping)
{
    platform::SettingsFile store(platform::SettingsFile::defaultLocation());
    const model::Preferences preferences(store, defaultMapping);
    return {preferences.keyMapping.get(), preferences.longPressDelay.get()};
}

} // namespace orvane::ctl
