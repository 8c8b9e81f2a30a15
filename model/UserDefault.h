// SPDX-License-Identifier: GPL-3.0-or-later
// One setting: its key and default, read from and written to the store on every access.
#pragma once

#include "DefaultsStore.h"
#include "SettingCoding.h"
#include "Subject.h"

#include <string>
#include <system_error>
#include <utility>

namespace orvane::model {

template <typename T> class UserDefault {
public:
    UserDefault(std::string key, T defaultValue, DefaultsStore& container)
        : m_key(std::move(key)), m_defaultValue(std::move(defaultValue)), m_container(&container)
    {
    }

    const std::string& key() const noexcept { return m_key; }
    const T& defaultValue() const noexcept { return m_defaultValue; }
    DefaultsStore& container() const noexcept { return *m_container; }

    // Every value written through this setting, after it was stored; nothing else.
    Subject<T>& publisher() noexcept { return m_publisher; }

    // The stored value, or the default when nothing usable is stored. Never writes: a missing or
    // broken entry stays as it is.
    T get() const
    {
        const auto text = m_container->string(m_key);
        if (!text)
            return m_defaultValue;
        auto decoded = SettingCoding<T>::decode(*text);
        if (!decoded)
            return m_defaultValue;
        return std::move(decoded).value();
    }

    // Stores the value's JSON text, then sends the value to the subscribers. A value without a
    // JSON form stores nothing and keeps the previous entry; the value is sent all the same.
    // The result is the store's error, so that callers who care (orvanectl) can report it; the
    // subscribers hear of the value either way, as the setting's users rely on.
    std::error_code set(const T& value)
    {
        std::error_code error;
        if (const auto text = SettingCoding<T>::encode(value))
            error = m_container->set(m_key, *text);
        else
            error = std::make_error_code(std::errc::invalid_argument);
        m_publisher.send(value);
        return error;
    }

private:
    std::string m_key;
    T m_defaultValue;
    DefaultsStore* m_container;
    Subject<T> m_publisher;
};

} // namespace orvane::model
