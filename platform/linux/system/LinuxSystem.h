// SPDX-License-Identifier: GPL-3.0-or-later
// The real Linux parts of Orvane, built in one place for every program that uses them (orvane,
// orvane-ui-preview, orvanectl), so that they cannot drift apart: the settings file, the login
// item that starts the installed program, the favourites, the installed applications, the keyboard
// layout, the keyboard's top row and the workspace. No Qt: orvanectl uses it too.
//
// Each part is made the first time it is asked for and kept, so that a command that needs only
// the settings does not scan applications or start the workspace's desktop thread.
#pragma once

#include "engine/KeyNames.h"
#include "engine/Platform.h"
#include "model/KeyProps.h"
#include "model/LaunchTarget.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace orvane::platform {

class AutostartLoginItems;
class DesktopFavorites;
class GioApplications;
class LinuxWorkspace;
class SettingsFile;
class XkbLayout;

class LinuxSystem final {
public:
    // The desktop program's application id ("orvane"): its desktop file, autostart entry and
    // instance name.
    static const char* appId();
    // The installed desktop program, which the login item starts.
    static const char* executable();

    // `runningProgram`: the desktop program that builds the system, if any. Until Orvane is
    // installed, the login item starts that program instead (a build tree's), so that launch at
    // login that reads "on" really starts Orvane.
    explicit LinuxSystem(std::filesystem::path runningProgram = {});
    ~LinuxSystem();
    // What the login item starts: the installed program, or the running one until it exists.
    std::string loginExecutable() const;
    LinuxSystem(const LinuxSystem&) = delete;
    LinuxSystem& operator=(const LinuxSystem&) = delete;

    // $XDG_CONFIG_HOME/orvane/settings.json.
    SettingsFile& settings();
    // The XDG autostart entry of the installed program.
    AutostartLoginItems& loginItems();
    const DesktopFavorites& favorites();
    const GioApplications& installedApps();
    // The session's layout, or one that names no key where there is no XKB data.
    const engine::KeyboardLayout& keyboardLayout();
    // The keyboard's own top row, read once.
    const model::TopRow& topRow();
    // What keyMapping reads as until one is stored: the top row and the favourites.
    model::KeyMapping defaultKeyMapping();
    // Whether an attached keyboard Orvane would grab reports the fn key; opens every input node.
    static bool anyKeyboardReportsFn();
    // Opening applications and following the frontmost one; `log` must outlive the system.
    engine::Workspace& workspace(engine::Log& log);

private:
    std::filesystem::path m_runningProgram;
    std::unique_ptr<SettingsFile> m_settings;
    std::unique_ptr<AutostartLoginItems> m_loginItems;
    std::unique_ptr<DesktopFavorites> m_favorites;
    std::unique_ptr<GioApplications> m_installedApps;
    std::unique_ptr<XkbLayout> m_xkbLayout;
    std::unique_ptr<engine::KeyboardLayout> m_noLayout;
    std::optional<model::TopRow> m_topRow;
    std::unique_ptr<LinuxWorkspace> m_workspace;
};

} // namespace orvane::platform
