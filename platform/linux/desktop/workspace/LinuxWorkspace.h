// SPDX-License-Identifier: GPL-3.0-or-later
// Opens, raises and hides applications given by a .desktop file or an executable's path. The
// input thread calls it: all desktop work is handed to a thread of its own, and the frontmost
// application is answered from a value that thread keeps current.
#pragma once

#include "DesktopAppIndex.h"
#include "DesktopThread.h"
#include "WindowSource.h"

#include "engine/Platform.h"

#include <atomic>
#include <filesystem>
#include <memory>
#include <vector>

namespace orvane::platform {

class LinuxWorkspace final : public engine::Workspace {
public:
    // This session's windows when it can tell which one is active, and the XDG application
    // folders.
    explicit LinuxWorkspace(engine::Log& log);
    // `windows` may be null: the session cannot tell, and applications are only opened.
    LinuxWorkspace(engine::Log& log, std::unique_ptr<WindowSource> windows,
                   std::vector<std::filesystem::path> applicationDirs);
    ~LinuxWorkspace() override = default;
    LinuxWorkspace(const LinuxWorkspace&) = delete;
    LinuxWorkspace& operator=(const LinuxWorkspace&) = delete;

    // The desktop file id, never by waiting.
    std::optional<std::string> frontmostApplicationId() override;
    std::optional<std::string> applicationIdAt(const std::string& path) override;
    // Iconifies the application's windows; true when it is the frontmost one.
    bool hideRunningApplication(const std::string& id) override;
    // Raises a window the application already has, or starts it.
    void openApplication(const std::string& path,
                         std::function<void(std::string error)> onError) override;

    // Waits until the work handed over so far is done.
    void flush() { m_thread.flush(); }

private:
    // These run on the desktop thread only.
    void watchWindows();
    void refreshFrontmost();
    std::vector<WindowId> windowsOf(const std::string& id);

    engine::Log& m_log;
    const std::vector<std::filesystem::path> m_applicationDirs;
    std::atomic<std::shared_ptr<const std::string>> m_frontmost;
    std::unique_ptr<WindowSource> m_windows;
    DesktopAppIndex m_index;
    DesktopThread m_thread; // last, so that it stops before what it uses goes
};

} // namespace orvane::platform
