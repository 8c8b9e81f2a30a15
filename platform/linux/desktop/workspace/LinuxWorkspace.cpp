// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinuxWorkspace.h"

#include "AppLauncher.h"
#include "X11Windows.h"

namespace orvane::platform {

LinuxWorkspace::LinuxWorkspace(engine::Log& log)
    : LinuxWorkspace(log, X11Windows::connect(), applicationDirs())
{
}

LinuxWorkspace::LinuxWorkspace(engine::Log& log, std::unique_ptr<WindowSource> windows,
                               std::vector<std::filesystem::path> applicationDirs)
    : m_log(log), m_applicationDirs(std::move(applicationDirs)), m_windows(std::move(windows)),
      m_index(m_applicationDirs)
{
    if (!m_windows) {
        m_log.write(engine::Log::Level::info, "Workspace",
                    "this session does not tell which application is in front; a key bound to "
                    "an application opens it and never hides it");
        return;
    }
    m_thread.post([this] { watchWindows(); });
}

void LinuxWorkspace::watchWindows()
{
    refreshFrontmost();
    m_thread.watch(m_windows->eventFd(), [this] {
        // Answers read while refreshing may queue further events without the descriptor
        // becoming readable again, so read until nothing is left.
        while (m_windows->takeEvents())
            refreshFrontmost();
        if (m_windows->isConnected())
            return true;
        m_frontmost.store(nullptr);
        m_log.write(engine::Log::Level::error, "Workspace",
                    "lost the connection to the display; applications are only opened from now");
        return false;
    });
}

void LinuxWorkspace::refreshFrontmost()
{
    const auto window = m_windows->activeWindow();
    const auto id = window ? m_index.applicationOf(m_windows->identity(*window)) : std::nullopt;
    m_frontmost.store(id ? std::make_shared<const std::string>(*id) : nullptr);
    m_log.write(engine::Log::Level::debug, "Workspace",
                "frontmost application: " + id.value_or("(unknown)"));
}

std::vector<WindowId> LinuxWorkspace::windowsOf(const std::string& id)
{
    std::vector<WindowId> found;
    if (!m_windows || !m_windows->isConnected())
        return found;
    for (const WindowId window : m_windows->clientWindows()) {
        if (m_index.applicationOf(m_windows->identity(window)) == id)
            found.push_back(window);
    }
    return found;
}

std::optional<std::string> LinuxWorkspace::frontmostApplicationId()
{
    const auto frontmost = m_frontmost.load();
    return frontmost ? std::optional(*frontmost) : std::nullopt;
}

std::optional<std::string> LinuxWorkspace::applicationIdAt(const std::string& path)
{
    return desktopFileId(path, m_applicationDirs);
}

bool LinuxWorkspace::hideRunningApplication(const std::string& id)
{
    m_thread.post([this, id] {
        for (const WindowId window : windowsOf(id))
            m_windows->iconify(window);
    });
    const auto frontmost = m_frontmost.load();
    return frontmost && *frontmost == id;
}

void LinuxWorkspace::openApplication(const std::string& path,
                                     std::function<void(std::string error)> onError)
{
    m_thread.post([this, path, onError = std::move(onError)] {
        // Like opening a running application elsewhere: its newest window comes to the front
        // instead of a second copy starting.
        if (const auto id = applicationIdAt(path)) {
            if (const auto windows = windowsOf(*id); !windows.empty()) {
                m_windows->activate(windows.back());
                return;
            }
        }
        if (auto error = launchApplication(path); error && onError)
            onError(std::move(*error));
    });
}

} // namespace orvane::platform
