// SPDX-License-Identifier: GPL-3.0-or-later
// The tray icon waits for a tray host: run on a private session bus (dbus-run-session), with a
// stand-in StatusNotifierWatcher that appears after Orvane, as the panel may at login.
#include "FakeStatusNotifierWatcher.h"

#include "app/TrayHostWatcher.h"

#include <QDBusConnection>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

using namespace std::chrono_literals;

TEST(TrayHostWatcher, WaitsForAHostThatRegistersAfterOrvaneStarted)
{
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
    app::TrayHostWatcher watcher({50ms, 60s});
    QSignalSpy ready(&watcher, &app::TrayHostWatcher::hostReady);
    watcher.start();
    QTest::qWait(300);
    EXPECT_TRUE(ready.isEmpty()) << "no watcher yet: no icon (offscreen has no XEmbed fallback)";

    FakeStatusNotifierWatcher panel(/*isHostRegistered=*/false);
    ASSERT_TRUE(panel.isRegistered());
    QTest::qWait(300);
    EXPECT_TRUE(ready.isEmpty()) << "a watcher without a host shows no icon";

    panel.registerHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ready.size() == 1; }, 3000)) << ready.size();
    panel.registerHost();
    QTest::qWait(200);
    EXPECT_EQ(ready.size(), 1) << "the icon is made once";
}

TEST(TrayHostWatcher, AHostAlreadyThereIsUsedAtOnce)
{
    FakeStatusNotifierWatcher panel(/*isHostRegistered=*/true);
    ASSERT_TRUE(panel.isRegistered());
    app::TrayHostWatcher watcher({50ms, 60s});
    QSignalSpy ready(&watcher, &app::TrayHostWatcher::hostReady);
    watcher.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ready.size() == 1; }, 3000)) << ready.size();
}

TEST(TrayHostWatcher, NoHostAtAllIsSaidOnce)
{
    app::TrayHostWatcher watcher({50ms, 200ms});
    QSignalSpy ready(&watcher, &app::TrayHostWatcher::hostReady);
    QSignalSpy none(&watcher, &app::TrayHostWatcher::noHostYet);
    watcher.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return none.size() == 1; }, 3000)) << none.size();
    QTest::qWait(300);
    EXPECT_EQ(none.size(), 1);
    EXPECT_TRUE(ready.isEmpty());
}

} // namespace
} // namespace orvane::test
