#include "StoredSettings.h"

#include "model/DefaultKeyMapping.h"
#include "model/Preferences.h"
#include "platform/linux/desktop/DesktopFavorites.h"
#include "platform/linux/desktop/SettingsFile.h"

namespace orvane::ctl {

model::KeyMapping machineDefaultMapping(const model::TopRow& topRow)
{
    return model::defaultKeyMapping(topRow, platform::DesktopFavorites().dockAppPaths());
}

MappingAndDelay loadMappingAndDelay(const model::KeyMapping& defaultMapping)
{
    platform::SettingsFile store(platform::SettingsFile::defaultLocation());
    const model::Preferences preferences(store, defaultMapping);
    return {preferences.keyMapping.get(), preferences.longPressDelay.get()};
}

} // namespace orvane::ctl
