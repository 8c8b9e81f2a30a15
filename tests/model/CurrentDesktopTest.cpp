// SPDX-License-Identifier: GPL-3.0-or-later
// XDG_CURRENT_DESKTOP as both the favourites and the shortcut presets read it.
#include "model/CurrentDesktop.h"

#include <gtest/gtest.h>

namespace orvane::model {
namespace {

TEST(CurrentDesktop, NamesADesktopByAWholeEntryOfTheList)
{
    struct Row {
        const char* value;
        const char* name;
        bool names;
    };
    const Row rows[] = {
        {"GNOME", "GNOME", true},
        {"ubuntu:GNOME", "GNOME", true},
        {"GNOME:ubuntu", "GNOME", true},
        {"KDE", "KDE", true},
        {"kde", "KDE", true},
        {"X-Cinnamon", "Cinnamon", true},
        {"x-cinnamon", "Cinnamon", true},
        {"Budgie:GNOME", "KDE", false},
        {"GNOME-Flashback:GNOME", "GNOME", true},
        {"GNOME-Flashback", "GNOME", false}, // a part of an entry is not a name
        {"XFCE", "X", false},
        {"X-", "", false},
        {"LXQt", "KDE", false},
        {"::KDE:", "KDE", true}, // empty entries are skipped
        {"", "GNOME", false},
        {"GNOME", "", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.value) + " / " + row.name);
        EXPECT_EQ(currentDesktopIs(row.value, row.name), row.names);
    }
}

} // namespace
} // namespace orvane::model
