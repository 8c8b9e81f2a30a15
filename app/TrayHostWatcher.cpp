// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayHostWatcher.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>

namespace orvane::app {

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");

bool isX11()
{
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

} // namespace

TrayHostWatcher::TrayHostWatcher(Timing timing, QObject* parent) : QObject(parent), m_timing(timing)
{
    m_fallback.setSingleShot(true);
    m_notice.setSingleShot(true);
    connect(&m_fallback, &QTimer::timeout, this, &TrayHostWatcher::ready);
    connect(&m_notice, &QTimer::timeout, this, [this] {
        if (!m_isReady)
            Q_EMIT noHostYet();
    });
}

void TrayHostWatcher::start()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        // No session bus: no StatusNotifierItem tray can ever appear; X11 may have XEmbed.
        if (isX11())
            ready();
        else
            Q_EMIT noHostYet();
        return;
    }
    m_serviceWatcher = new QDBusServiceWatcher(watcherService, bus,
                                               QDBusServiceWatcher::WatchForRegistration, this);
    connect(m_serviceWatcher, &QDBusServiceWatcher::serviceRegistered, this,
            &TrayHostWatcher::checkWatcher);
    bus.connect(watcherService, watcherPath, watcherService,
                QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(onHostRegistered()));
    if (isX11())
        m_fallback.start(m_timing.x11Fallback);
    m_notice.start(m_timing.noHostNotice);
    checkWatcher();
}

void TrayHostWatcher::onHostRegistered()
{
    ready();
}

void TrayHostWatcher::checkWatcher()
{
    if (m_isReady)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.interface()->isServiceRegistered(watcherService))
        return;
    // Asked without waiting: a panel that hangs must not hold up Orvane's start.
    QDBusMessage question = QDBusMessage::createMethodCall(
        watcherService, watcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    question << watcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    auto* pending = new QDBusPendingCallWatcher(bus.asyncCall(question), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                const QDBusPendingReply<QDBusVariant> reply = *call;
                call->deleteLater();
                if (!reply.isError() && reply.value().variant().toBool())
                    ready();
            });
}

void TrayHostWatcher::ready()
{
    if (m_isReady)
        return;
    m_isReady = true;
    m_fallback.stop();
    m_notice.stop();
    Q_EMIT hostReady();
}

} // namespace orvane::app
