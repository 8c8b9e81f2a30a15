// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Subprocess.h"

#include "platform/linux/desktop/AutostartLoginItems.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace orvane::platform {
namespace {

// Points the XDG config folders at a temporary tree for the test's life.
class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"}) {
            if (const char* value = std::getenv(name))
                m_saved[name] = value;
        }
        ::setenv("XDG_CONFIG_HOME", user.string().c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (system.string() + ":" + vendor.string()).c_str(), 1);
    }
    void TearDown() override
    {
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"}) {
            if (m_saved.contains(name))
                ::setenv(name, m_saved[name].c_str(), 1);
            else
                ::unsetenv(name);
        }
    }

    test::TempDir temp;
    std::filesystem::path user = temp.path() / "config";
    std::filesystem::path system = temp.path() / "xdg";
    std::filesystem::path vendor = temp.path() / "vendor";
    std::filesystem::path userEntry = user / "autostart" / "orvane.desktop";
    std::filesystem::path systemEntry = system / "autostart" / "orvane.desktop";
    AutostartLoginItems items{"orvane", "/opt/Orvane Beta/bin/orvane"};

private:
    std::map<std::string, std::string> m_saved;
};

TEST_F(AutostartTest, ReadsTheEntryTheSessionWouldUse)
{
    const std::string plain = "[Desktop Entry]\nType=Application\nExec=orvane\n";
    struct Row {
        const char* name;
        std::optional<std::string> user;
        std::optional<std::string> system;
        bool enabled;
        std::optional<std::string> vendor = std::nullopt; // the second system-wide folder
    };
    const Row rows[] = {
        {"no entry", std::nullopt, std::nullopt, false},
        {"user entry", plain, std::nullopt, true},
        {"hidden", plain + "Hidden=true\n", std::nullopt, false},
        {"hidden false", plain + "Hidden=false\n", std::nullopt, true},
        {"switched off for GNOME", plain + "X-GNOME-Autostart-enabled=false\n", std::nullopt,
         false},
        {"switched on for GNOME", plain + "X-GNOME-Autostart-enabled=true\n", std::nullopt, true},
        {"hidden only in an action group", plain + "[Desktop Action quit]\nHidden=true\n",
         std::nullopt, true},
        {"system entry only", std::nullopt, plain, true},
        {"user entry hides the system one", "[Desktop Entry]\nHidden=true\n", plain, false},
        {"user entry overrides a hidden system one", plain, plain + "Hidden=true\n", true},
        {"first system folder decides: plain", std::nullopt, plain, true, plain + "Hidden=true\n"},
        {"first system folder decides: hidden", std::nullopt, plain + "Hidden=true\n", false,
         plain},
        {"second system folder alone", std::nullopt, std::nullopt, true, plain},
        // Read as GLib's key-file parser (which the session uses) reads them.
        {"hidden as 1", plain + "Hidden=1\n", std::nullopt, false},
        {"hidden with a trailing space", plain + "Hidden=true \n", std::nullopt, false},
        {"tab before the equals sign", plain + "Hidden\t=true\n", std::nullopt, false},
        {"repeated key: the last counts", plain + "Hidden=false\nHidden=true\n", std::nullopt,
         false},
        {"switched off for GNOME as 0", plain + "X-GNOME-Autostart-enabled=0\n", std::nullopt,
         false},
        {"GNOME switch that is no boolean is off", plain + "X-GNOME-Autostart-enabled=no\n",
         std::nullopt, false},
        {"hidden that is no boolean hides nothing", plain + "Hidden=yes\n", std::nullopt, true},
        {"no [Desktop Entry] group", "[Desktop Action x]\nExec=orvane\n", std::nullopt, false},
        {"not a key file", "Exec=orvane\n\x01\xff\n", std::nullopt, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(temp.path());
        if (row.user)
            test::writeText(userEntry, *row.user);
        if (row.system)
            test::writeText(systemEntry, *row.system);
        if (row.vendor)
            test::writeText(vendor / "autostart" / "orvane.desktop", *row.vendor);
        EXPECT_EQ(items.isEnabled(), row.enabled);
    }
}

TEST_F(AutostartTest, WritingOnAndOff)
{
    EXPECT_FALSE(items.setEnabled(true));
    EXPECT_TRUE(items.isEnabled());
    const auto text = test::readText(userEntry);
    // The session starts it as a login start, and the autostart lists show it with its icon.
    for (const char* line : {"Exec=\"/opt/Orvane Beta/bin/orvane\" --login\n", "Icon=orvane\n",
                             "Comment=", "Name=Orvane\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;

    EXPECT_FALSE(items.setEnabled(false));
    EXPECT_FALSE(items.isEnabled());
    EXPECT_FALSE(std::filesystem::exists(userEntry));
    EXPECT_FALSE(items.setEnabled(false)); // already off: still fine

    // With a system-wide entry, switching off must hide it for this user.
    test::writeText(systemEntry, "[Desktop Entry]\nType=Application\nExec=orvane\n");
    EXPECT_TRUE(items.isEnabled());
    EXPECT_FALSE(items.setEnabled(false));
    EXPECT_FALSE(items.isEnabled());
    EXPECT_FALSE(items.setEnabled(true));
    EXPECT_TRUE(items.isEnabled());
}

// Switching on what is already on leaves the user's own entry (their arguments, their delay)
// exactly as it is; an entry that is off is replaced by Orvane's.
TEST_F(AutostartTest, SwitchingOnKeepsAnEntryThatIsOn)
{
    const std::string own =
        test::readText(std::string(TEST_DATA) + "/autostart/entry_with_arguments.desktop");
    ASSERT_FALSE(own.empty());
    test::writeText(userEntry, own);
    EXPECT_FALSE(items.setEnabled(true));
    EXPECT_EQ(test::readText(userEntry), own);

    test::writeText(userEntry, own + "Hidden=true\n");
    EXPECT_FALSE(items.setEnabled(true));
    EXPECT_TRUE(items.isEnabled());

    // A system-wide entry that starts Orvane needs no user entry.
    std::filesystem::remove(userEntry);
    test::writeText(systemEntry, own);
    EXPECT_FALSE(items.setEnabled(true));
    EXPECT_FALSE(std::filesystem::exists(userEntry));
}

// The entry is written through a fresh temporary file: a link planted at the old fixed temporary
// name is never followed, and the autostart folder, when Orvane creates it, is private.
TEST_F(AutostartTest, WritingNeverFollowsAPlantedLink)
{
    const auto victim = temp.path() / "victim";
    test::writeText(victim, "precious\n");
    std::filesystem::create_directories(userEntry.parent_path());
    std::filesystem::create_symlink(victim, userEntry.string() + ".tmp");
    EXPECT_FALSE(items.setEnabled(true));
    EXPECT_EQ(test::readText(victim), "precious\n");
    EXPECT_TRUE(items.isEnabled());

    std::filesystem::remove_all(user);
    const mode_t saved = ::umask(0);
    const auto error = items.setEnabled(true);
    ::umask(saved);
    ASSERT_FALSE(error);
    EXPECT_EQ(std::filesystem::status(userEntry.parent_path()).permissions(),
              std::filesystem::perms::owner_all);
}

TEST(DesktopExec, QuotesWhatTheShellWouldSplit)
{
    struct Row {
        std::string executable;
        std::string expected;
    };
    const Row rows[] = {
        {"/usr/bin/orvane", "/usr/bin/orvane"},
        {"/opt/my apps/orvane", "\"/opt/my apps/orvane\""},
        {"/opt/$HOME/a\"b", "\"/opt/\\\\$HOME/a\\\\\"b\""},
        {"/opt/back\\slash", "\"/opt/back\\\\\\\\slash\""},
        {"/opt/100%", "\"/opt/100%%\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.executable);
        EXPECT_EQ(desktopExecArgument(row.executable), row.expected);
    }
}

} // namespace
} // namespace orvane::platform

namespace orvane {
namespace {

TEST(OrvanectlLogin, SwitchesTheAutostartEntry)
{
    test::TempDir temp;
    const std::map<std::string, std::string> environment{
        {"HOME", temp.path().string()},
        {"XDG_CONFIG_HOME", (temp.path() / "config").string()},
        {"XDG_CONFIG_DIRS", (temp.path() / "xdg").string()}};
    const auto ctl = [&](const std::vector<std::string>& args) {
        return test::run(test::commandLine(ORVANECTL, args), environment);
    };
    EXPECT_EQ(ctl({"login"}).out, "off\n");
    EXPECT_EQ(ctl({"login", "on"}).out, "on\n");
    EXPECT_TRUE(std::filesystem::exists(temp.path() / "config" / "autostart" / "orvane.desktop"));
    EXPECT_EQ(ctl({"login"}).out, "on\n");
    EXPECT_EQ(ctl({"login", "off"}).out, "off\n");
    EXPECT_EQ(ctl({"login", "maybe"}).exitCode, 2);
}

} // namespace
} // namespace orvane
