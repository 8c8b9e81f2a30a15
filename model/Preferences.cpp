// SPDX-License-Identifier: GPL-3.0-or-later
#include "Preferences.h"

namespace orvane::model {

Preferences::Preferences(DefaultsStore& store, KeyMapping defaultMapping)
    : keyMapping(std::string(settingKey::keyMapping), std::move(defaultMapping), store),
      longPressDelay(std::string(settingKey::longPressDelay), defaultLongPressDelay, store),
      showMenuBarIcon(std::string(settingKey::showMenuBarIcon), true, store),
      firstRun(std::string(settingKey::firstRun), true, store)
{
}

ObservablePreferences::ObservablePreferences(DefaultsStore& store, KeyMapping defaultMapping)
    : m_instance(store, std::move(defaultMapping))
{
    // Every write through a setting is sent on its publisher, so listening there is the same as
    // watching every write through the instance.
    const auto announce = [this](const auto&) { m_changed.send({}); };
    m_mappingSubscription = m_instance.keyMapping.publisher().subscribe(announce);
    m_delaySubscription = m_instance.longPressDelay.publisher().subscribe(announce);
    m_flagSubscriptions[0] = m_instance.showMenuBarIcon.publisher().subscribe(announce);
    m_flagSubscriptions[1] = m_instance.firstRun.publisher().subscribe(announce);
}

} // namespace orvane::model
