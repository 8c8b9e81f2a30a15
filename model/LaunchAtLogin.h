// SPDX-License-Identifier: GPL-3.0-or-later
// Whether Orvane starts when the user logs in: the system's login items are the only record of
// it, read afresh on every access, and an observable that views bind a switch to.
#pragma once

#include "Subject.h"

#include <optional>
#include <system_error>

namespace orvane::model {

class LoginItems {
public:
    virtual ~LoginItems() = default;
    virtual bool isEnabled() const = 0;
    virtual std::error_code setEnabled(bool isEnabled) = 0;
};

// Forwards to the login items in both directions; announces each write before it is made and
// sends the written value afterwards. Holds no state of its own beyond the subjects.
class LaunchAtLoginObservable {
public:
    explicit LaunchAtLoginObservable(LoginItems& items) : m_items(&items) {}
    LaunchAtLoginObservable(const LaunchAtLoginObservable&) = delete;
    LaunchAtLoginObservable& operator=(const LaunchAtLoginObservable&) = delete;

    bool isEnabled() const { return m_items->isEnabled(); }

    // The login items' answer is passed back; the announcement and the value are sent either way,
    // and the next read shows what really happened.
    std::error_code setEnabled(bool isEnabled)
    {
        m_willChange.send({});
        const auto error = m_items->setEnabled(isEnabled);
        m_values.send(isEnabled);
        return error;
    }

    Announcement& objectWillChange() noexcept { return m_willChange; }
    Subject<bool>& values() noexcept { return m_values; }

private:
    LoginItems* m_items;
    Announcement m_willChange;
    Subject<bool> m_values;
};

} // namespace orvane::model
