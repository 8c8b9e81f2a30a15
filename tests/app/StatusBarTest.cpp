// SPDX-License-Identifier: GPL-3.0-or-later
// The tray menu as a plain QMenu, the reusable windows, About, and the strings.
#include "ShellFixture.h"
#include "UrlCatcher.h"

#include "app/AboutDialog.h"
#include "app/Strings.h"
#include "app/TrayHostWatcher.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

struct Running {
    Running()
    {
        EXPECT_FALSE(shell.preferences.instance().firstRun.set(false));
        shell.delegate().applicationDidFinishLaunching();
        shell.journal.clear();
    }
    app::StatusBarController& bar() { return *shell.delegate().statusBar(); }
    QAction* entry(int index) { return bar().menu().actions().at(index); }
    Shell shell;
};

TEST(StatusBarMenu, HasItsEntriesInOrderWithoutShortcutsBuiltOnce)
{
    Running app;
    const QList<QAction*> before = app.bar().menu().actions();
    ASSERT_EQ(before.size(), 5);
    const QStringList titles{QStringLiteral("Preferences..."), QStringLiteral("About"),
                             QStringLiteral("Feedback (Email)"), QString(),
                             QStringLiteral("Quit Orvane")};
    for (int i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(before[i]->isSeparator(), i == 3);
        EXPECT_EQ(before[i]->text(), titles[i]);
        EXPECT_TRUE(before[i]->shortcut().isEmpty());
        EXPECT_TRUE(before[i]->isEnabled());
        EXPECT_TRUE(before[i]->isVisible());
    }

    // Settings change and the menu opens and closes: the very same entries stay.
    app.shell.preferences.instance().longPressDelay.set(0.5);
    app.shell.preferences.instance().showMenuBarIcon.set(false);
    app.shell.preferences.instance().showMenuBarIcon.set(true);
    QMetaObject::invokeMethod(&app.bar().menu(), "aboutToShow");
    EXPECT_EQ(app.bar().menu().actions(), before);
}

TEST(StatusBarMenu, QuitAndFeedbackNeedNothingButTheMenu)
{
    Running app;
    UrlCatcher catcher;
    app.entry(2)->trigger();
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0].scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(catcher.urls[0].path(), QStringLiteral("feedback@orvane.app"));

    app.entry(4)->trigger();
    EXPECT_EQ(app.shell.journal.back(), "quit 0");
}

TEST(StatusBarMenu, FeedbackWithoutAMailProgramOffersTheAddressToCopy)
{
    Running app;
    // No handler for mailto: here, and the offscreen platform opens nothing.
    app.entry(2)->trigger();
    QWidget* box = topLevel(QStringLiteral("feedbackAddress"));
    ASSERT_NE(box, nullptr);
    auto* text = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->text().contains(QStringLiteral("feedback@orvane.app")));
    EXPECT_TRUE(text->textInteractionFlags() & Qt::TextSelectableByMouse);
    app.entry(2)->trigger();
    int boxes = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        boxes += widget->objectName() == QStringLiteral("feedbackAddress") && widget->isVisible();
    EXPECT_EQ(boxes, 1) << "asking again brings the same box forward";

    QApplication::clipboard()->clear();
    auto* copy = box->findChild<QPushButton*>(QStringLiteral("copyAddress"));
    ASSERT_NE(copy, nullptr);
    copy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("feedback@orvane.app"));
}

TEST(ReusableWindows, OnePerHolderRebuiltAfterCloseAndCloseLoggedOncePerClose)
{
    Running app;
    app.entry(0)->trigger();
    app.entry(0)->trigger();
    QWidget* preferences = app.bar().prefWindow().window();
    ASSERT_NE(preferences, nullptr);
    EXPECT_EQ(count(app.shell.journal, "Show preferences"), 2);
    EXPECT_EQ(preferences->windowTitle(), QStringLiteral("Orvane Preferences"));
    int open = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        open += widget->objectName() == QStringLiteral("preferencesWindow") ? 1 : 0;
    EXPECT_EQ(open, 1);

    app.entry(1)->trigger();
    QWidget* about = app.bar().aboutWindow().window();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(preferences->isVisible()) << "both windows open at once";
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Orvane"));

    const QPointer<QWidget> closed(preferences);
    preferences->close();
    EXPECT_EQ(app.bar().prefWindow().window(), nullptr);
    EXPECT_EQ(count(app.shell.journal, "---- close window"), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return closed == nullptr; }));

    app.entry(0)->trigger();
    ASSERT_NE(app.bar().prefWindow().window(), nullptr);
    app.bar().prefWindow().window()->close();
    about->close();
    EXPECT_EQ(count(app.shell.journal, "---- close window"), 3);
}

TEST(ReusableWindows, PreferencesComeBackWhereTheyWereLeftAndCanQuit)
{
    Running app;
    app.entry(0)->trigger();
    QWidget* first = app.bar().prefWindow().window();
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first->findChild<QLabel*>(), nullptr) << "the injected content";
    first->move(37, 41);
    const QPoint left = first->pos();
    first->close();

    app.entry(0)->trigger();
    QWidget* second = app.bar().prefWindow().window();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->pos(), left);

    auto* quit = second->findChild<QPushButton*>(QStringLiteral("quitButton"));
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(quit->text(), QStringLiteral("&Quit Orvane")) << "Alt+Q";
    quit->click();
    EXPECT_EQ(app.shell.journal.back(), "quit 0");
}

TEST(StatusBarTray, NoTrayIsSaidOnceAndTheMenuStays)
{
    Shell shell;
    app::TrayHostWatcher host({std::chrono::milliseconds(50), std::chrono::milliseconds(50)});
    app::StatusBarController bar(
        {shell.console, shell.log, shell.frames, {}, [](int) {}, true, &host});
    host.start(); // offscreen: no X11 tray; with a session bus, no watcher answers either
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shell.log.lines.empty(); }, 3000));
    Q_EMIT host.noHostYet();
    ASSERT_EQ(shell.log.lines.size(), 1U);
    EXPECT_NE(shell.log.lines[0].text.find("no system tray"), std::string::npos);
    EXPECT_FALSE(bar.hasTray());
    EXPECT_EQ(bar.menu().actions().size(), 5);
}

TEST(About, ShowsIconNameVersionCopyrightAndUpdateButton)
{
    app::AboutDialog about;
    const auto* icon = about.findChild<QLabel*>(QStringLiteral("appIcon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull()) << "the built-in icon resource is missing";
    EXPECT_EQ(icon->size(), QSize(96, 96));
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("appName"))->text(),
              QStringLiteral("Orvane"));
    const QString version = about.findChild<QLabel*>(QStringLiteral("versionLine"))->text();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Ver: \\d+\\.\\d+\\.\\d+ \\(\\S+\\) $"))
                    .match(version)
                    .hasMatch())
        << version.toStdString();
    EXPECT_FALSE(about.findChild<QLabel*>(QStringLiteral("copyright"))->text().isEmpty());
    const auto* update = about.findChild<QPushButton*>(QStringLiteral("checkForUpdates"));
    ASSERT_NE(update, nullptr);
    EXPECT_EQ(update->text(), QStringLiteral("Check for Updates\u2026"));
    EXPECT_EQ(update->width(), 150);
    // No control that does nothing: off, and the window itself says where updates come from.
    EXPECT_FALSE(update->isEnabled());
    const auto* note = about.findChild<QLabel*>(QStringLiteral("updatesNote"));
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->text().contains(QStringLiteral("updates")));
    const auto* versionLabel = about.findChild<QLabel*>(QStringLiteral("versionLine"));
    EXPECT_TRUE(versionLabel->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_TRUE(versionLabel->textInteractionFlags() & Qt::TextSelectableByKeyboard);
}

TEST(Strings, KeysGiveTheirDefaultsWithTheAppName)
{
    const std::vector<std::pair<std::string_view, QString>> rows{
        {app::stringKey::menuPreferences, QStringLiteral("Preferences...")},
        {app::stringKey::menuAbout, QStringLiteral("About")},
        {app::stringKey::menuFeedback, QStringLiteral("Feedback (Email)")},
        {app::stringKey::menuQuit, QStringLiteral("Quit Orvane")},
        {app::stringKey::buttonQuit, QStringLiteral("&Quit Orvane")},
        {app::stringKey::windowPreferences, QStringLiteral("Orvane Preferences")},
        {app::stringKey::windowAbout, QStringLiteral("About Orvane")},
        {app::stringKey::windowGuide, QStringLiteral("Orvane Guide")},
    };
    for (const auto& [key, expected] : rows) {
        SCOPED_TRACE(std::string(key));
        EXPECT_EQ(app::Strings::withAppName(key), expected);
    }
    EXPECT_EQ(app::Strings::text(app::stringKey::menuQuit), QStringLiteral("Quit %@"));
}

} // namespace
} // namespace orvane::test
