#include "StoredSettings.h"

#include "engine/KeyboardFinder.h"
#include "model/DefaultKeyMapping.h"
#include "model/Preferences.h"
#include "platform/linux/DesktopFavorites.h"
#include "platform/linux/SettingsFile.h"
#include "platform/linux/SysfsRegistry.h"

namespace orvane::ctl {

model::TopRow machineTopRow()
{
    const platform::SysfsRegistry registry;
    return engine::loadTopRowKeys(registry);
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
