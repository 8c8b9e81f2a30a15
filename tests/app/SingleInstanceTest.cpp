// SPDX-License-Identifier: GPL-3.0-or-later
// One Orvane per session: who is first, reopen messages, and what a killed instance leaves.
#include "app/SingleInstance.h"
#include "support/Subprocess.h"

#include <QLockFile>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>

#include <thread>

namespace orvane::test {
namespace {

QString folderOf(const TempDir& dir)
{
    return QString::fromStdString(dir.path().string());
}

TEST(SingleInstance, SecondStartReachesTheFirstWithWhetherItIsALoginStart)
{
    TempDir folder;
    app::SingleInstance first(folderOf(folder));
    ASSERT_EQ(first.claim(), app::SingleInstance::Role::first);
    QSignalSpy reopened(&first, &app::SingleInstance::reopened);

    for (const bool isLogin : {false, true}) {
        SCOPED_TRACE(isLogin);
        app::SingleInstance second(folderOf(folder));
        ASSERT_EQ(second.claim(), app::SingleInstance::Role::second);
        bool answered = false;
        std::thread start([&] { answered = second.notifyFirst(isLogin, std::chrono::seconds(3)); });
        ASSERT_TRUE(QTest::qWaitFor([&] { return !reopened.isEmpty(); }, 4000));
        start.join();
        EXPECT_TRUE(answered);
        EXPECT_EQ(reopened.takeFirst().at(0).toBool(), isLogin);
    }
}

TEST(SingleInstance, NobodyAnsweringIsNotTakenForAnAnswer)
{
    TempDir folder;
    QLockFile held(folderOf(folder) + QStringLiteral("/orvane.lock"));
    held.setStaleLockTime(0);
    ASSERT_TRUE(held.tryLock(0));
    app::SingleInstance second(folderOf(folder));
    ASSERT_EQ(second.claim(), app::SingleInstance::Role::second);
    EXPECT_FALSE(second.notifyFirst(false, std::chrono::milliseconds(300)));
}

// A killed Orvane leaves its lock file (with a dead process's id) and its socket file behind.
TEST(SingleInstance, WhatAKilledInstanceLeftDoesNotStopTheNextStart)
{
    TempDir folder;
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    writeText(folder.path() / "orvane.lock", std::to_string(dead) + "\norvane\n" +
                                                 QSysInfo::machineHostName().toStdString() + "\n");

    const std::string socketPath = (folder.path() / "orvane.socket").string();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd); // the socket file stays, with nobody listening

    app::SingleInstance next(folderOf(folder));
    ASSERT_EQ(next.claim(), app::SingleInstance::Role::first);
    QSignalSpy reopened(&next, &app::SingleInstance::reopened);
    app::SingleInstance later(folderOf(folder));
    ASSERT_EQ(later.claim(), app::SingleInstance::Role::second);
    std::thread start([&] { later.notifyFirst(false, std::chrono::seconds(3)); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reopened.isEmpty(); }, 4000));
    start.join();
}

} // namespace
} // namespace orvane::test
