// SPDX-License-Identifier: GPL-3.0-or-later
// Says when the desktop can show a tray icon. At login Orvane may start before the panel, and Qt
// decides once per process whether to use the StatusNotifierItem tray: an icon created before a
// host is there stays invisible for the whole session on Wayland. So the icon waits for a host to
// register with org.kde.StatusNotifierWatcher; on X11, where the XEmbed tray copes with a late
// panel, it is created after a short wait anyway.
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

class QDBusServiceWatcher;

namespace orvane::app {

class TrayHostWatcher final : public QObject {
    Q_OBJECT
public:
    struct Timing {
        std::chrono::milliseconds x11Fallback{3000};   // create the XEmbed icon after this
        std::chrono::milliseconds noHostNotice{10000}; // say there is no tray after this
    };

    explicit TrayHostWatcher(Timing timing, QObject* parent = nullptr);
    void start();

Q_SIGNALS:
    void hostReady(); // create the icon now (at most once)
    void noHostYet(); // nothing has shown up to host an icon (at most once)

private Q_SLOTS:
    void onHostRegistered();

private:
    void checkWatcher();
    void ready();

    Timing m_timing;
    QDBusServiceWatcher* m_serviceWatcher = nullptr;
    QTimer m_fallback;
    QTimer m_notice;
    bool m_isReady = false;
};

} // namespace orvane::app
