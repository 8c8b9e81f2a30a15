// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop file ids: the id of a .desktop file by its path, and the application a window belongs
// to, found by the hints the window carries and the StartupWMClass keys of the installed files.
#pragma once

#include "WindowSource.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane::platform {

// The "applications" folders of the XDG data directories, in order of precedence.
std::vector<std::filesystem::path> applicationDirs();

// The desktop file id of the .desktop file at `path`: its path below the first applications
// folder that holds it, with '/' turned into '-', or its file name when none does. None for a
// path that does not name a .desktop file.
std::optional<std::string> desktopFileId(const std::filesystem::path& path,
                                         const std::vector<std::filesystem::path>& dirs);

// Reads the installed desktop files when first asked and again once GIO's application monitor
// has seen an applications folder change. GIO watches the folders of the XDG data directories
// (their files, not their subfolders), so `dirs` should be those (applicationDirs()). Used on one
// thread, whose default GMainContext must run (a DesktopThread): the monitor reports there.
class DesktopAppIndex {
public:
    explicit DesktopAppIndex(std::vector<std::filesystem::path> dirs);
    ~DesktopAppIndex();
    DesktopAppIndex(const DesktopAppIndex&) = delete;
    DesktopAppIndex& operator=(const DesktopAppIndex&) = delete;
    // The desktop file id of the application that owns a window with this identity, when the
    // window says anything about it.
    std::optional<std::string> applicationOf(const WindowIdentity& identity);

private:
    void refreshIfChanged();
    void read(const std::filesystem::path& dir);

    struct Monitor;

    std::vector<std::filesystem::path> m_dirs;
    std::unique_ptr<Monitor> m_monitor; // made on the thread that uses the index
    bool m_isStale = true;
    std::map<std::string, std::filesystem::path> m_files; // id -> file
    std::map<std::string, std::string> m_wmClasses;       // StartupWMClass -> id
};

} // namespace orvane::platform
