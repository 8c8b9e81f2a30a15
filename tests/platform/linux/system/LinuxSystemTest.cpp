// SPDX-License-Identifier: GPL-3.0-or-later
// The one place that builds the real Linux parts: the login item it makes starts the installed
// program by its full path, exactly as orvanectl's does, and the settings live where every
// program looks for them.
#include "support/Subprocess.h"

#include "platform/linux/desktop/AutostartLoginItems.h"
#include "platform/linux/desktop/SettingsFile.h"
#include "platform/linux/system/LinuxSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

namespace orvane::platform {
namespace {

TEST(LinuxSystem, LoginItemAndSettingsAreTheInstalledProgramsForEveryProgram)
{
    test::TempDir temp;
    const auto config = temp.path() / "config";
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved != nullptr ? saved : "";
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);

    LinuxSystem system;
    EXPECT_EQ(system.settings().file(), config / "orvane" / "settings.json");
    ASSERT_FALSE(system.loginItems().setEnabled(true));
    const std::string written = test::readText(config / "autostart" / "orvane.desktop");
    const std::string exec = "\nExec=" + desktopExecArgument(LinuxSystem::executable());
    EXPECT_NE(written.find(exec), std::string::npos) << written;
    EXPECT_EQ(std::string(LinuxSystem::executable()).front(), '/') << "a full path, not a name";
    EXPECT_TRUE(std::string(LinuxSystem::executable()).ends_with("/orvane"));

    // orvanectl writes the very same entry.
    ASSERT_FALSE(system.loginItems().setEnabled(false));
    const auto ctl = test::run(test::commandLine(ORVANECTL, {"login", "on"}),
                               {{"HOME", temp.path().string()},
                                {"XDG_CONFIG_HOME", config.string()},
                                {"XDG_CONFIG_DIRS", (temp.path() / "xdg").string()}});
    EXPECT_EQ(ctl.exitCode, 0) << ctl.err;
    EXPECT_EQ(test::readText(config / "autostart" / "orvane.desktop"), written);

    if (saved != nullptr)
        ::setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

// Until Orvane is installed, launch at login starts the program that switched it on (a build
// tree's), never a path that is not there.
TEST(LinuxSystem, LoginItemStartsTheRunningProgramUntilOneIsInstalled)
{
    if (::access(LinuxSystem::executable(), X_OK) == 0)
        GTEST_SKIP() << LinuxSystem::executable() << " is installed here";
    EXPECT_EQ(LinuxSystem("/build/app/orvane").loginExecutable(), "/build/app/orvane");
    EXPECT_EQ(LinuxSystem().loginExecutable(), LinuxSystem::executable()) << "orvanectl's";

    test::TempDir temp;
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved != nullptr ? saved : "";
    ::setenv("XDG_CONFIG_HOME", temp.path().c_str(), 1);
    LinuxSystem system("/build/app/orvane");
    ASSERT_FALSE(system.loginItems().setEnabled(true));
    const std::string written = test::readText(temp.path() / "autostart" / "orvane.desktop");
    EXPECT_NE(written.find("\nExec=/build/app/orvane --login\n"), std::string::npos) << written;
    if (saved != nullptr)
        ::setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace orvane::platform
