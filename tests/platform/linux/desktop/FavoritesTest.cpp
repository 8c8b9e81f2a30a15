// SPDX-License-Identifier: GPL-3.0-or-later
// Favourite applications on fixture desktops: each row builds a temporary XDG tree (desktop
// files, mimeapps.list, a GSettings keyfile, a Plasma applets file) and runs orvanectl favorites
// in it, so that GIO's per-process caches start fresh for every desktop.
#include "support/Subprocess.h"

#include "platform/linux/desktop/DesktopFavorites.h"

#include <gtest/gtest.h>

namespace orvane::platform {
namespace {

struct Desktop {
    const char* name;
    std::optional<std::string> currentDesktop;
    std::string mimeapps;         // [Default Applications] lines
    std::string gsettingsKeyfile; // the keyfile backend's content
    std::string plasmaApplets;    // with @SHARE@ for the fixture's data folder
    bool schemasInstalled = true;
    std::vector<std::string> expected; // desktop file names under @SHARE@/applications
    bool schemaWithoutPath = false;    // GNOME's schema installed relocatable
};

const char* const plasmaPanels = R"([Containments][10][Applets][3]
immutability=1
plugin=org.kde.plasma.icontasks

[Containments][10][Applets][3][Configuration][General]
launchers=applications:org.kde.dolphin.desktop,file://@SHARE@/applications/My%20Editor.desktop,preferred://browser,applications:gone.desktop,applications:org.kde.konsole.desktop

[Containments][2][Applets][8]
plugin=org.kde.plasma.kickoff

[Containments][2][Applets][8][Configuration][General]
launchers=applications:firefox.desktop

[Containments][2][Applets][7]
plugin=org.kde.plasma.taskmanager

[Containments][2][Applets][7][Configuration][General]
launchers=applications:org.kde.konsole.desktop
)";

std::string replaced(std::string text, const std::string& share)
{
    for (std::size_t at; (at = text.find("@SHARE@")) != std::string::npos;)
        text.replace(at, 7, share);
    return text;
}

TEST(Favorites, FileManagerThenTheDesktopsFavourites)
{
    const std::string gnomeFavourites =
        "[org/gnome/shell]\nfavorite-apps=['firefox.desktop', 'org.gnome.Nautilus.desktop', "
        "'missing.desktop', 'org.gnome.Terminal.desktop', 'firefox.desktop']\n";
    const std::string nautilus = "inode/directory=org.gnome.Nautilus.desktop\n";
    const std::string dolphin =
        "inode/directory=org.kde.dolphin.desktop\nx-scheme-handler/http=firefox.desktop\n";
    const Desktop rows[] = {
        {"GNOME: file manager first, its copy and unknown ids dropped, repeats kept",
         "GNOME",
         nautilus,
         gnomeFavourites,
         "",
         true,
         {"org.gnome.Nautilus.desktop", "firefox.desktop", "org.gnome.Terminal.desktop",
          "firefox.desktop"}},
        {"Ubuntu's GNOME, no default file manager",
         "ubuntu:GNOME",
         "",
         gnomeFavourites,
         "",
         true,
         {"firefox.desktop", "org.gnome.Nautilus.desktop", "org.gnome.Terminal.desktop",
          "firefox.desktop"}},
        {"GNOME without its schema: only the file manager",
         "GNOME",
         nautilus,
         gnomeFavourites,
         "",
         false,
         {"org.gnome.Nautilus.desktop"}},
        {"Cinnamon reads its own list, not GNOME's",
         "X-Cinnamon",
         nautilus,
         gnomeFavourites + "[org/cinnamon]\nfavorite-apps=['org.gnome.Terminal.desktop']\n",
         "",
         true,
         {"org.gnome.Nautilus.desktop", "org.gnome.Terminal.desktop"}},
        {"Plasma: task managers in panel order, preferred and file launchers resolved",
         "KDE",
         dolphin,
         gnomeFavourites,
         plasmaPanels,
         true,
         {"org.kde.dolphin.desktop", "org.kde.konsole.desktop", "My Editor.desktop",
          "firefox.desktop", "org.kde.konsole.desktop"}},
        {"Plasma without an applets file",
         "KDE",
         dolphin,
         gnomeFavourites,
         "",
         true,
         {"org.kde.dolphin.desktop"}},
        {"unnamed desktop: GNOME's list is empty, Plasma's is used",
         std::nullopt,
         dolphin,
         "",
         plasmaPanels,
         true,
         {"org.kde.dolphin.desktop", "org.kde.konsole.desktop", "My Editor.desktop",
          "firefox.desktop", "org.kde.konsole.desktop"}},
        {"nothing at all", std::nullopt, "", "", "", true, {}},
        {"GNOME schema installed without a path: only the file manager",
         "GNOME",
         nautilus,
         gnomeFavourites,
         "",
         true,
         {"org.gnome.Nautilus.desktop"},
         true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir temp;
        const auto share = temp.path() / "share";
        const auto config = temp.path() / "config";
        for (const char* app : {"org.gnome.Nautilus", "firefox", "org.gnome.Terminal",
                                "org.kde.dolphin", "org.kde.konsole", "My Editor"}) {
            test::writeText(share / "applications" / (std::string(app) + ".desktop"),
                            "[Desktop Entry]\nType=Application\nName=" + std::string(app) +
                                "\nExec=/bin/true\n");
        }
        if (!row.mimeapps.empty())
            test::writeText(config / "mimeapps.list", "[Default Applications]\n" + row.mimeapps);
        if (!row.gsettingsKeyfile.empty())
            test::writeText(config / "glib-2.0" / "settings" / "keyfile", row.gsettingsKeyfile);
        if (!row.plasmaApplets.empty()) {
            test::writeText(config / "plasma-org.kde.plasma.desktop-appletsrc",
                            replaced(row.plasmaApplets, share.string()));
        }
        std::map<std::string, std::string> environment{
            {"HOME", temp.path().string()},
            {"XDG_CONFIG_HOME", config.string()},
            {"XDG_CONFIG_DIRS", (temp.path() / "etc").string()},
            {"XDG_DATA_HOME", (temp.path() / "home-share").string()},
            {"XDG_DATA_DIRS", share.string()},
            {"GSETTINGS_BACKEND", "keyfile"},
        };
        if (row.schemasInstalled) {
            environment["GSETTINGS_SCHEMA_DIR"] =
                row.schemaWithoutPath ? ORVANE_TEST_RELOCATABLE_SCHEMAS : ORVANE_TEST_SCHEMAS;
        }
        if (row.currentDesktop)
            environment["XDG_CURRENT_DESKTOP"] = *row.currentDesktop;

        const auto result = test::run({ORVANECTL, "favorites"}, environment);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        std::string expected;
        for (const auto& file : row.expected)
            expected += (share / "applications" / file).string() + "\n";
        EXPECT_EQ(result.out, expected);
    }
}

TEST(Favorites, PlasmaLaunchersKeepKConfigEscapesAndPanelOrder)
{
    const std::string applets = R"(# comment
[Containments][1][General]
launchers=applications:not-an-applet.desktop

[Containments][1][Applets][20]
plugin = org.kde.plasma.taskmanager

[Containments][1][Applets][20][Configuration][General]
launchers = applications:b.desktop,file:///opt/x\,y.desktop,applications:c\sd.desktop,

[Containments][1][Applets][20][Configuration][Appearance]
launchers=applications:appearance.desktop

[Containments][1][Applets][9]
plugin=org.kde.plasma.icontasks

[Containments][1][Applets][9][Configuration][General]
launchers=applications:a.desktop

[Containments][1][Applets][99999999999999999999999]
plugin=org.kde.plasma.taskmanager
)";
    EXPECT_EQ(plasmaLauncherEntries(applets),
              (std::vector<std::string>{"applications:a.desktop", "applications:b.desktop",
                                        "file:///opt/x,y.desktop", "applications:c d.desktop"}));
    EXPECT_TRUE(plasmaLauncherEntries("").empty());
    EXPECT_TRUE(plasmaLauncherEntries("[Containments][1][Applets][2][Configuration][General]\n"
                                      "launchers=applications:a.desktop\n")
                    .empty()); // no plugin line: not known to be a task manager
}

// Lines as long as a damaged or hostile file may hold are read in one pass, without recursion.
TEST(Favorites, PlasmaReaderTakesVeryLongLines)
{
    struct Row {
        const char* name;
        std::string applets;
        std::vector<std::string> expected;
    };
    const std::string longName(50000, 'x');
    const std::string taskManager =
        "[Containments][1][Applets][2]\nplugin=org.kde.plasma.taskmanager\n"
        "[Containments][1][Applets][2][Configuration][General]\n";
    const Row rows[] = {
        {"long header",
         "[Containments][1][Applets][2]" + longName + "\n" + taskManager +
             "launchers=applications:a.desktop\n",
         {"applications:a.desktop"}},
        {"long group number", "[Containments][" + std::string(50000, '7') + "][Applets][2]\n", {}},
        {"long launcher list",
         taskManager + "launchers=" + longName + ",applications:b.desktop\n",
         {longName, "applications:b.desktop"}},
        {"header never closed", "[Containments][1][Applets][" + longName + "\n", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(plasmaLauncherEntries(row.applets), row.expected);
    }
}

} // namespace
} // namespace orvane::platform
