// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up order, the settings handlers, the icon handler and reopen, with stand-ins for the
// monitor, the access check, the login items and the dialogs.
#include "ShellFixture.h"

#include "app/SettingsWatcher.h"
#include "model/SettingCoding.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace orvane::test {
namespace {

std::string encoded(const model::KeyMapping& mapping)
{
    return model::SettingCoding<model::KeyMapping>::encode(mapping).value_or("none");
}

const std::string startLine = "Finish launching: /opt/orvane/bin/orvane - login false";

TEST(AppDelegate, StartUpRunsInOrderOnFirstAndLaterLaunches)
{
    struct Row {
        const char* name;
        bool isFirstRun;
        Journal expected;
    };
    const std::vector<Row> rows{
        {"first launch",
         true,
         {startLine, "monitor: setKeyMapping", "monitor: setLongPressDelay", "monitor: start",
          "---- first time run", "login: on"}},
        {"later launch",
         false,
         {startLine, "monitor: setKeyMapping", "monitor: setLongPressDelay", "monitor: start"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Shell shell;
        if (!row.isFirstRun) {
            ASSERT_FALSE(shell.preferences.instance().firstRun.set(false));
        }
        app::AppDelegate& delegate = shell.delegate();
        shell.journal.clear(); // the banner
        EXPECT_TRUE(delegate.applicationDidFinishLaunching());

        EXPECT_EQ(shell.journal, row.expected);
        EXPECT_FALSE(shell.preferences.instance().firstRun.get());
        EXPECT_EQ(topLevel("guideWindow") != nullptr, row.isFirstRun);
        ASSERT_NE(delegate.statusBar(), nullptr);
        EXPECT_TRUE(delegate.statusBar()->isVisible());
        ASSERT_EQ(shell.monitor.mappings.size(), 1U);
        EXPECT_EQ(encoded(shell.monitor.mappings[0]),
                  encoded(shell.preferences.instance().keyMapping.get()));
        EXPECT_EQ(shell.monitor.delays, std::vector<double>{0.2});
    }
}

TEST(AppDelegate, GuideWindowCarriesTheAppNameAndIsShownOnce)
{
    Shell shell;
    shell.delegate().applicationDidFinishLaunching();
    QWidget* guide = topLevel("guideWindow");
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(guide->windowTitle(), QStringLiteral("Orvane Guide"));
    EXPECT_GE(guide->width(), 480);
    EXPECT_GE(guide->height(), 300);
}

TEST(AppDelegate, SettingChangesAreLoggedAndReachTheMonitor)
{
    Shell shell;
    shell.delegate().applicationDidFinishLaunching();
    shell.journal.clear();
    model::Preferences& preferences = shell.preferences.instance();

    preferences.longPressDelay.set(0.35);
    auto mapping = preferences.keyMapping.get();
    mapping[3].longPress = model::LaunchTarget{model::KeyTarget{model::CustomKey::play}};
    preferences.keyMapping.set(mapping);

    ASSERT_EQ(shell.journal.size(), 4U);
    EXPECT_EQ(shell.journal[0], "-----delay changed: 0.35");
    EXPECT_EQ(shell.journal[1], "monitor: setLongPressDelay");
    EXPECT_EQ(shell.journal[2].rfind("-----Key mapping changed: [", 0), 0U) << shell.journal[2];
    EXPECT_NE(shell.journal[2].find("play"), std::string::npos);
    EXPECT_EQ(shell.journal[3], "monitor: setKeyMapping");
    EXPECT_EQ(shell.monitor.delays.back(), 0.35);
    EXPECT_EQ(encoded(shell.monitor.mappings.back()), encoded(mapping));
}

TEST(AppDelegate, AnotherOrvaneHoldingTheKeyboardsIsSaidAndEndsTheProgram)
{
    Shell shell;
    shell.monitor.startError = std::make_error_code(std::errc::device_or_resource_busy);
    EXPECT_FALSE(shell.delegate().applicationDidFinishLaunching());

    ASSERT_GE(shell.journal.size(), 2U);
    const std::string& dialog = shell.journal[shell.journal.size() - 2];
    EXPECT_EQ(dialog.rfind("error: ", 0), 0U);
    EXPECT_NE(dialog.find("already running"), std::string::npos) << dialog;
    EXPECT_EQ(shell.journal.back(), "quit 1");
    EXPECT_FALSE(contains(shell.journal, "---- first time run"));
    EXPECT_TRUE(shell.preferences.instance().firstRun.get()) << "the guide waits for a real start";
    ASSERT_FALSE(shell.log.lines.empty());
    EXPECT_NE(shell.log.lines.back().text.find("already running"), std::string::npos);
}

TEST(AppDelegate, WithoutAccessNothingStartsUntilItAppears)
{
    Shell shell(/*trustedFromCall=*/3);
    shell.delegate().applicationDidFinishLaunching();
    EXPECT_EQ(shell.access.calls, 3); // the check, then two polls
    EXPECT_TRUE(contains(shell.journal, "monitor: start"));
    EXPECT_EQ(topLevel("accessibilityPrompt"), nullptr);
}

TEST(AppDelegate, QuittingFromThePromptCreatesNothing)
{
    Shell shell(/*trustedFromCall=*/0);
    QTimer timer;
    timer.setSingleShot(true);
    timer.start(700);
    QObject::connect(&timer, &QTimer::timeout, [] {
        if (QWidget* prompt = topLevel("accessibilityPrompt"))
            static_cast<QDialog*>(prompt)->reject(); // what the exit button does
    });
    EXPECT_FALSE(shell.delegate().applicationDidFinishLaunching());
    EXPECT_EQ(shell.journal.back(), "quit 0");
    EXPECT_FALSE(contains(shell.journal, "monitor: start"));
    EXPECT_EQ(shell.delegate().statusBar(), nullptr);
}

TEST(AppDelegate, IconHandlerFollowsTheSettingAndAlertsWhenHidden)
{
    Shell shell;
    shell.delegate().applicationDidFinishLaunching();
    app::StatusBarController& bar = *shell.delegate().statusBar();
    shell.journal.clear();

    shell.preferences.instance().showMenuBarIcon.set(false);
    EXPECT_FALSE(bar.isVisible());
    EXPECT_EQ(shell.journal, Journal{"alert: To show Menu Bar icon, run Orvane again."});

    shell.journal.clear();
    shell.preferences.instance().showMenuBarIcon.set(true);
    EXPECT_TRUE(bar.isVisible());
    EXPECT_TRUE(shell.journal.empty());
}

TEST(AppDelegate, ReopenShowsTheItemAndWithoutTrayOpensPreferences)
{
    Shell shell;
    ASSERT_FALSE(shell.preferences.instance().showMenuBarIcon.set(false));
    ASSERT_FALSE(shell.preferences.instance().firstRun.set(false));

    shell.delegate().applicationShouldHandleReopen(false); // before start-up: the line only
    EXPECT_EQ(shell.journal.back(), "App reopen");

    shell.delegate().applicationDidFinishLaunching();
    app::StatusBarController& bar = *shell.delegate().statusBar();
    EXPECT_FALSE(bar.isVisible());

    shell.journal.clear();
    shell.delegate().applicationShouldHandleReopen(/*isLoginStart=*/true);
    EXPECT_EQ(shell.journal, Journal{"App reopen"});
    EXPECT_TRUE(bar.isVisible());
    EXPECT_FALSE(shell.preferences.instance().showMenuBarIcon.get()) << "the setting stays";
    EXPECT_EQ(bar.prefWindow().window(), nullptr) << "a start at login opens no window";

    shell.journal.clear();
    shell.delegate().applicationShouldHandleReopen(false);
    EXPECT_EQ(shell.journal, (Journal{"App reopen", "Show preferences"}));
    ASSERT_NE(bar.prefWindow().window(), nullptr);
    EXPECT_TRUE(bar.prefWindow().window()->isVisible());
}

// The real settings file, changed by orvanectl in another process while the shell runs.
class SettingsFromOutside : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(shell.preferences.instance().firstRun.set(false));
        shell.delegate().applicationDidFinishLaunching();
        watcher = shell.watchSettings();
        shell.journal.clear();
    }

    Completed orvanectl(const std::vector<std::string>& args)
    {
        std::vector<std::string> argv{ORVANECTL};
        argv.insert(argv.end(), args.begin(), args.end());
        return run(argv, {{"XDG_CONFIG_HOME", shell.folder.path().string()},
                          {"HOME", shell.folder.path().string()}});
    }

    Shell shell;
    std::unique_ptr<app::SettingsWatcher> watcher;
};

TEST_F(SettingsFromOutside, ReachesTheMonitorOnceThroughTheChangeStreams)
{
    ASSERT_EQ(orvanectl({"settings", "set", "longPressDelay", "0.5"}).exitCode, 0);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !shell.monitor.delays.empty() && shell.monitor.delays.back() == 0.5; }, 3000));
    QTest::qWait(400); // no second delivery of the same change
    EXPECT_EQ(shell.journal, (Journal{"-----delay changed: 0.5", "monitor: setLongPressDelay"}));

    shell.journal.clear();
    ASSERT_EQ(orvanectl({"settings", "set", "showMenuBarIcon", "false"}).exitCode, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shell.delegate().statusBar()->isVisible(); }, 3000));
    EXPECT_TRUE(contains(shell.journal, "alert: To show Menu Bar icon, run Orvane again."));
}

TEST_F(SettingsFromOutside, OwnWritesAreNotDeliveredTwice)
{
    shell.preferences.instance().longPressDelay.set(0.45);
    QTest::qWait(500);
    EXPECT_EQ(count(shell.journal, "-----delay changed: 0.45"), 1);
    EXPECT_EQ(shell.monitor.delays.size(), 2U);
}

// Orvane's own writes are not read back; what others write around them still arrives.
TEST_F(SettingsFromOutside, ChangesBesideOwnWritesStillArrive)
{
    auto& settings = shell.preferences.instance();
    struct Row {
        const char* name;
        std::function<void()> change;
        double delay; // what the monitor ends with
    };
    const Row rows[] = {
        {"another process right after an own write",
         [&] {
             settings.showMenuBarIcon.set(true);
             ASSERT_EQ(orvanectl({"settings", "set", "longPressDelay", "0.5"}).exitCode, 0);
         },
         0.5},
        {"carried into the file by an own write",
         [&] {
             ASSERT_EQ(orvanectl({"settings", "set", "longPressDelay", "0.6"}).exitCode, 0);
             settings.firstRun.set(false); // before the watcher looked
         },
         0.6},
        {"written in place 20 ms after an own write, same size",
         [&] {
             settings.longPressDelay.set(0.45);
             std::string text = readText(shell.settingsPath());
             text[text.find("0.45") + 3] = '6';
             std::this_thread::sleep_for(std::chrono::milliseconds(20));
             writeText(shell.settingsPath(), text);
         },
         0.46},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.change();
        // QTest's QTRY_ macros do not fail a GoogleTest test: wait, then check.
        EXPECT_TRUE(QTest::qWaitFor([&] { return shell.monitor.delays.back() == row.delay; }, 3000))
            << "the monitor has " << shell.monitor.delays.back();
    }
}

TEST_F(SettingsFromOutside, DamagedFileKeepsTheSettingsInUse)
{
    ASSERT_EQ(orvanectl({"settings", "set", "longPressDelay", "0.6"}).exitCode, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell.monitor.delays.back() == 0.6; }, 3000));
    const std::size_t deliveries = shell.monitor.delays.size();

    const auto temporary = shell.settingsPath().string() + ".editor";
    writeText(temporary, "{\"longPressDelay\": \"0.7\""); // cut short
    std::filesystem::rename(temporary, shell.settingsPath());
    QTest::qWait(600);
    EXPECT_EQ(shell.monitor.delays.size(), deliveries) << "nothing changes while it is damaged";
    ASSERT_FALSE(shell.log.lines.empty());
    EXPECT_NE(shell.log.lines.back().text.find("cannot be read"), std::string::npos);

    writeText(temporary, "{\"longPressDelay\": \"0.7\"}");
    std::filesystem::rename(temporary, shell.settingsPath());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell.monitor.delays.back() == 0.7; }, 3000));
}

} // namespace
} // namespace orvane::test
