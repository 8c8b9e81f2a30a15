// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxSystem.h"

#include "platform/linux/desktop/AutostartLoginItems.h"
#include "platform/linux/desktop/DesktopFavorites.h"
#include "platform/linux/desktop/GioApplications.h"
#include "platform/linux/desktop/SettingsFile.h"
#include "platform/linux/desktop/XkbLayout.h"
#include "platform/linux/desktop/workspace/LinuxWorkspace.h"
#include "platform/linux/input/InputAccess.h"
#include "platform/linux/input/MachineTopRow.h"

#include "model/DefaultKeyMapping.h"

#include <unistd.h>

#include <utility>

namespace orvane::platform {

namespace {

// A layout that names nothing, for a machine without XKB data: special keys keep their names.
class NoLayout final : public engine::KeyboardLayout {
public:
    std::optional<std::string> translate(std::uint16_t) const override { return std::nullopt; }
};

} // namespace

const char* LinuxSystem::appId()
{
    return ORVANE_APP_ID;
}

const char* LinuxSystem::executable()
{
    return ORVANE_EXECUTABLE;
}

LinuxSystem::LinuxSystem(std::filesystem::path runningProgram)
    : m_runningProgram(std::move(runningProgram))
{
}

std::string LinuxSystem::loginExecutable() const
{
    if (m_runningProgram.empty() || ::access(executable(), X_OK) == 0)
        return executable();
    return m_runningProgram.string();
}

LinuxSystem::~LinuxSystem() = default;

SettingsFile& LinuxSystem::settings()
{
    if (!m_settings)
        m_settings = std::make_unique<SettingsFile>(SettingsFile::defaultLocation());
    return *m_settings;
}

AutostartLoginItems& LinuxSystem::loginItems()
{
    if (!m_loginItems)
        m_loginItems = std::make_unique<AutostartLoginItems>(appId(), loginExecutable());
    return *m_loginItems;
}

const DesktopFavorites& LinuxSystem::favorites()
{
    if (!m_favorites)
        m_favorites = std::make_unique<DesktopFavorites>();
    return *m_favorites;
}

const GioApplications& LinuxSystem::installedApps()
{
    if (!m_installedApps)
        m_installedApps = std::make_unique<GioApplications>();
    return *m_installedApps;
}

const engine::KeyboardLayout& LinuxSystem::keyboardLayout()
{
    if (!m_xkbLayout && !m_noLayout) {
        m_xkbLayout = XkbLayout::current();
        if (!m_xkbLayout)
            m_noLayout = std::make_unique<NoLayout>();
    }
    return m_xkbLayout ? static_cast<const engine::KeyboardLayout&>(*m_xkbLayout) : *m_noLayout;
}

const model::TopRow& LinuxSystem::topRow()
{
    if (!m_topRow)
        m_topRow = machineTopRow();
    return *m_topRow;
}

model::KeyMapping LinuxSystem::defaultKeyMapping()
{
    return model::defaultKeyMapping(topRow(), favorites().dockAppPaths());
}

bool LinuxSystem::anyKeyboardReportsFn()
{
    return surveyInputAccess().hasFnKey;
}

engine::Workspace& LinuxSystem::workspace(engine::Log& log)
{
    if (!m_workspace)
        m_workspace = std::make_unique<LinuxWorkspace>(log);
    return *m_workspace;
}

} // namespace orvane::platform
