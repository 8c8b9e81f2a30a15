// SPDX-License-Identifier: GPL-3.0-or-later
// What the preferences window and the first-run guide need from outside the shared settings:
// small interfaces that the desktop program fills with the Linux implementations, and tests with
// fakes.
//
// Construction, in the desktop program:
//
//     orvane::ui::ViewServices services{
//         .launchAtLogin = launchAtLoginObservable,   // model::LaunchAtLoginObservable
//         .favoriteApps = desktopFavorites,           // platform::DesktopFavorites
//         .installedApps = gioApplications,           // platform::GioApplications
//         .keyboardLayout = *xkbLayout,               // platform::XkbLayout::current()
//         .topRowKeys = topRow,                       // platform::machineTopRow()
//         .hasFnKey = [] { return anyKeyboardReportsFn(); },
//         .desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toStdString(),
//     };
//     auto* preferences = new orvane::ui::PreferencesView(observablePreferences, services);
//     auto* guide = new orvane::ui::GuideView(observablePreferences, services);
//
// Every referenced service must outlive the views.
#pragma once

#include "engine/KeyNames.h"
#include "model/FavoriteApps.h"
#include "model/InstalledApps.h"
#include "model/KeyProps.h"
#include "model/LaunchAtLogin.h"

#include <functional>
#include <string>

namespace orvane::ui {

struct ViewServices {
    // The "Launch at login:" switch reads and writes the system's login items through this.
    model::LaunchAtLoginObservable& launchAtLogin;
    // The file manager and the desktop's favourites: the "Apps" column fill and guide preset.
    const model::FavoriteApps& favoriteApps;
    // The application chooser's list, and the names and icons of application cells.
    const model::InstalledApps& installedApps;
    // Key names in shortcut texts and the shortcut editor's key pop-up.
    const engine::KeyboardLayout& keyboardLayout;
    // The keyboard's own top row: the "Special keys" column fill.
    model::TopRow topRowKeys = model::defaultTopRowKeys();
    // Whether any attached keyboard reports the fn key; asked each time the preferences show.
    std::function<bool()> hasFnKey = [] { return true; };
    // XDG_CURRENT_DESKTOP: which desktop's shortcuts the presets use.
    std::string desktop;
};

} // namespace orvane::ui
