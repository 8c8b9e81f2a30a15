// SPDX-License-Identifier: GPL-3.0-or-later
// Orvane's four settings, and the one shared object through which views read and change them.
#pragma once

#include "DefaultsStore.h"
#include "LaunchTarget.h"
#include "Subject.h"
#include "UserDefault.h"

#include <array>
#include <string_view>

namespace orvane::model {

namespace settingKey {
inline constexpr std::string_view keyMapping = "keyMapping";
inline constexpr std::string_view longPressDelay = "longPressDelay";
inline constexpr std::string_view showMenuBarIcon = "showMenuBarIcon";
inline constexpr std::string_view firstRun = "firstRun";
inline constexpr std::array<std::string_view, 4> all{keyMapping, longPressDelay, showMenuBarIcon,
                                                     firstRun};
} // namespace settingKey

inline constexpr double defaultLongPressDelay = 0.2;

struct Preferences {
    // `defaultMapping` is what keyMapping reads as until a mapping is stored: built once by the
    // caller from the keyboard's top row and the favourite applications.
    Preferences(DefaultsStore& store, KeyMapping defaultMapping);

    UserDefault<KeyMapping> keyMapping;
    UserDefault<double> longPressDelay;
    UserDefault<bool> showMenuBarIcon;
    UserDefault<bool> firstRun;
};

// Owns the process's Preferences and announces every write through any of its settings, after the
// value is stored, so that views showing settings can refresh. Not copyable: everyone shares the
// one instance by reference.
class ObservablePreferences {
public:
    ObservablePreferences(DefaultsStore& store, KeyMapping defaultMapping);
    ObservablePreferences(const ObservablePreferences&) = delete;
    ObservablePreferences& operator=(const ObservablePreferences&) = delete;

    Preferences& instance() noexcept { return m_instance; }
    const Preferences& instance() const noexcept { return m_instance; }
    Announcement& objectDidChange() noexcept { return m_changed; }

private:
    Preferences m_instance;
    Announcement m_changed;
    std::array<Subject<bool>::Subscription, 2> m_flagSubscriptions;
    Subject<KeyMapping>::Subscription m_mappingSubscription;
    Subject<double>::Subscription m_delaySubscription;
};

} // namespace orvane::model
