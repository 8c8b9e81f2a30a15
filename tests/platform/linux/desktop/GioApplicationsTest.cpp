// SPDX-License-Identifier: GPL-3.0-or-later
// What the application chooser and the picker cells learn about an application file from GIO:
// a desktop file's own name and icon, an executable's file name, nothing for anything else.
#include "support/Subprocess.h"

#include "platform/linux/desktop/GioApplications.h"

#include <gtest/gtest.h>

#include <fstream>

using orvane::platform::GioApplications;

namespace {

struct DescribeCase {
    const char* name;
    const char* file;     // written into the folder; empty: nothing written
    const char* contents; // nullptr: a folder of that name
    bool executable;
    std::optional<std::pair<std::string, std::string>> expected; // name, icon
};

} // namespace

TEST(GioApplications, DescribesAnApplicationFileByWhatItSays)
{
    const DescribeCase cases[] = {
        {"desktop file", "mail.desktop",
         "[Desktop Entry]\nType=Application\nName=Mail Reader\nIcon=mail-client\nExec=true\n",
         false, std::pair{"Mail Reader", "mail-client"}},
        {"icon as a file", "tool.desktop",
         "[Desktop Entry]\nType=Application\nName=Tool\nIcon=/opt/tool/tool.png\nExec=true\n",
         false, std::pair{"Tool", "/opt/tool/tool.png"}},
        {"hidden from menus, still named", "hidden.desktop",
         "[Desktop Entry]\nType=Application\nName=Hidden\nNoDisplay=true\nExec=true\n", false,
         std::pair{"Hidden", ""}},
        {"executable", "run-me", "#!/bin/sh\n", true,
         std::pair{"run-me", "application-x-executable"}},
        {"not a desktop entry", "broken.desktop", "Name=Nothing\n", false, std::nullopt},
        {"a link, not an application", "site.desktop",
         "[Desktop Entry]\nType=Link\nName=Site\nURL=https://example.org\n", false, std::nullopt},
        {"folder", "apps.desktop", nullptr, false, std::nullopt},
        {"missing", "", "", false, std::nullopt},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        orvane::test::TempDir folder;
        const auto path = folder.path() / (row.file[0] != '\0' ? row.file : "missing.desktop");
        if (row.contents == nullptr) {
            std::filesystem::create_directory(path);
        } else if (row.file[0] != '\0') {
            std::ofstream(path) << row.contents;
            if (row.executable)
                std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        }
        const auto app = GioApplications().describe(path.string());
        ASSERT_EQ(app.has_value(), row.expected.has_value());
        if (app) {
            EXPECT_EQ(app->path, path.string());
            EXPECT_EQ(app->name, row.expected->first);
            EXPECT_EQ(app->icon, row.expected->second);
        }
    }
}
