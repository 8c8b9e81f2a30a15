// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the panel's org.kde.StatusNotifierWatcher, on a bus connection of its own, so that
// the tray host watch can be driven through the login race.
#pragma once

#include <QDBusConnection>
#include <QObject>

namespace orvane::test {

class FakeStatusNotifierWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
public:
    explicit FakeStatusNotifierWatcher(bool isHostRegistered)
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                              QStringLiteral("fake-watcher"))),
          m_isHostRegistered(isHostRegistered)
    {
        m_bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                             QDBusConnection::ExportAllProperties |
                                 QDBusConnection::ExportAllSignals);
        m_isRegistered = m_bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    }
    ~FakeStatusNotifierWatcher() override
    {
        m_bus.unregisterService(QStringLiteral("org.kde.StatusNotifierWatcher"));
        m_bus.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-watcher"));
    }

    bool isRegistered() const { return m_isRegistered; }
    bool isHostRegistered() const { return m_isHostRegistered; }
    void registerHost()
    {
        m_isHostRegistered = true;
        Q_EMIT StatusNotifierHostRegistered();
    }

Q_SIGNALS:
    // The D-Bus signal keeps its D-Bus name.
    void StatusNotifierHostRegistered(); // NOLINT(readability-identifier-naming)

private:
    QDBusConnection m_bus;
    bool m_isHostRegistered;
    bool m_isRegistered = false;
};

} // namespace orvane::test
