// SPDX-License-Identifier: GPL-3.0-or-later
// The permission prompt: no dialog when access exists, and the half-second poll ending the modal
// wait by itself the moment access appears.
#include "AppFakes.h"

#include "app/AccessibilityPrompt.h"
#include "app/AccessiblityPromptViewController.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace orvane::test {
namespace {

app::AccessibilityPrompt::DialogFactory realDialog()
{
    return [] {
        return new app::AccessiblityPromptViewController({},
                                                         QStringLiteral("/src/70-orvane.rules"));
    };
}

TEST(AccessibilityPrompt, TrustedShowsNothing)
{
    FakeAccess access;
    RecordingLog log;
    bool isMade = false;
    app::AccessibilityPrompt prompt(access, log, [&isMade] {
        isMade = true;
        return new QDialog;
    });
    EXPECT_TRUE(prompt.check());
    EXPECT_FALSE(isMade);
    EXPECT_EQ(access.calls, 1);
}

TEST(AccessibilityPrompt, PollEndsTheModalWaitOnceAccessAppears)
{
    FakeAccess access;
    access.trustedFromCall = 4; // the check, then polls at 0.5, 1.0 and 1.5 s
    RecordingLog log;
    app::AccessibilityPrompt prompt(access, log, realDialog());
    bool wasShown = false;
    QTimer timer;
    timer.setSingleShot(true);
    timer.start(200);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        wasShown = prompt.promptDialog() != nullptr && prompt.promptDialog()->isVisible();
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(prompt.check());
    EXPECT_TRUE(wasShown);
    EXPECT_EQ(access.calls, 4);
    EXPECT_GE(clock.elapsed(), 1400);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(prompt.promptDialog(), nullptr);
    ASSERT_FALSE(log.lines.empty());
    EXPECT_NE(log.lines.front().text.find("orvanectl doctor"), std::string::npos);
}

TEST(AccessibilityPrompt, ExitButtonEndsTheWaitWithoutAccess)
{
    FakeAccess access;
    access.trustedFromCall = 0;
    RecordingLog log;
    app::AccessibilityPrompt prompt(access, log, realDialog());
    QTimer timer;
    timer.setSingleShot(true);
    timer.start(300);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        prompt.promptDialog()->findChild<QPushButton*>(QStringLiteral("exitButton"))->click();
    });
    EXPECT_FALSE(prompt.check());
}

TEST(AccessibilityPrompt, DialogGivesTheCommandsForBothWays)
{
    const QString notInstalled =
        app::AccessiblityPromptViewController::commands({}, QStringLiteral("/src/70-orvane.rules"));
    EXPECT_TRUE(notInstalled.contains(
        QStringLiteral("sudo install -m 644 '/src/70-orvane.rules' /etc/udev/rules.d/")));
    EXPECT_TRUE(notInstalled.contains(QStringLiteral("udevadm trigger")));
    const QString installed = app::AccessiblityPromptViewController::commands(
        QStringLiteral("/usr/lib/udev/rules.d/70-orvane.rules"), QStringLiteral("/src/x"));
    EXPECT_FALSE(installed.contains(QStringLiteral("install -m")));

    app::AccessiblityPromptViewController dialog({}, QStringLiteral("/src/70-orvane.rules"));
    const QString text = dialog.findChild<QLabel*>(QStringLiteral("explanation"))->text();
    EXPECT_TRUE(text.contains(QStringLiteral("usermod -aG input")));
    EXPECT_TRUE(text.contains(QStringLiteral("every keystroke"))) << "the input group's caveat";
    EXPECT_TRUE(text.contains(QStringLiteral("start Orvane again"))) << "the way back";
    EXPECT_TRUE(text.contains(QStringLiteral("Closing this window quits Orvane")));
    EXPECT_TRUE(text.contains(QStringLiteral("not installed yet")));
    EXPECT_FALSE(app::AccessiblityPromptViewController(QStringLiteral("/usr/lib/udev/x.rules"),
                                                       QStringLiteral("/src/x"))
                     .findChild<QLabel*>(QStringLiteral("explanation"))
                     ->text()
                     .contains(QStringLiteral("not installed yet")));
}

TEST(AccessibilityPrompt, CopyCommandsSaysItCopied)
{
    app::AccessiblityPromptViewController dialog({}, QStringLiteral("/src/70-orvane.rules"));
    dialog.show();
    auto* copied = dialog.findChild<QLabel*>(QStringLiteral("copiedNote"));
    ASSERT_NE(copied, nullptr);
    EXPECT_FALSE(copied->isVisible()) << "nothing copied yet";
    QApplication::clipboard()->clear();
    dialog.findChild<QPushButton*>(QStringLiteral("openSettingsButton"))->click();
    EXPECT_EQ(QApplication::clipboard()->text(), app::AccessiblityPromptViewController::commands(
                                                     {}, QStringLiteral("/src/70-orvane.rules")));
    EXPECT_TRUE(copied->isVisible());
    EXPECT_TRUE(copied->text().startsWith(QStringLiteral("Copied")));
}

TEST(AccessibilityPrompt, PathsAreQuotedForTheShell)
{
    const std::vector<std::pair<QString, QString>> rows{
        {QStringLiteral("/src/70-orvane.rules"), QStringLiteral("'/src/70-orvane.rules'")},
        {QStringLiteral("/home/a b/orvane/r"), QStringLiteral("'/home/a b/orvane/r'")},
        {QStringLiteral("/home/it's/$HOME/r"), QStringLiteral("'/home/it'\\''s/$HOME/r'")},
    };
    for (const auto& [path, quoted] : rows) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(app::AccessiblityPromptViewController::shellQuoted(path), quoted);
    }
}

} // namespace
} // namespace orvane::test
