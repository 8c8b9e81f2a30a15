// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppLauncher.h"

#include "platform/linux/desktop/GObjectPtr.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace orvane::platform {

namespace fs = std::filesystem;

namespace {

// Runs in the child between fork and exec: only async-signal-safe calls.
void leaveOrvane(gpointer /*unused*/)
{
    sigset_t none;
    sigemptyset(&none);
    // orvanectl run blocks its stop signals; a started program must not inherit that.
    sigprocmask(SIG_SETMASK, &none, nullptr);
    setsid(); // Ctrl+C in the terminal that runs Orvane must not reach what it opened
}

std::string describe(GError* error)
{
    std::string text = error != nullptr ? error->message : "unknown error";
    g_clear_error(&error);
    return text;
}

std::optional<std::string> launchDesktopFile(const std::string& path)
{
    const GObjectPtr<GDesktopAppInfo> info(g_desktop_app_info_new_from_filename(path.c_str()));
    if (!info)
        return "cannot open " + path +
               ": not an application that can start here (a damaged desktop file, or its "
               "program is not installed)";
    const GObjectPtr<GAppLaunchContext> context(g_app_launch_context_new());
    GError* error = nullptr;
    if (!g_desktop_app_info_launch_uris_as_manager(info.get(), nullptr, context.get(),
                                                   G_SPAWN_SEARCH_PATH, leaveOrvane, nullptr,
                                                   nullptr, nullptr, &error))
        return "cannot open " + path + ": " + describe(error);
    return std::nullopt;
}

std::optional<std::string> launchExecutable(const std::string& path)
{
    std::array<gchar*, 2> argv{const_cast<gchar*>(path.c_str()), nullptr};
    GError* error = nullptr;
    if (!g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_STDIN_FROM_DEV_NULL, leaveOrvane,
                       nullptr, nullptr, &error))
        return "cannot open " + path + ": " + describe(error);
    return std::nullopt;
}

} // namespace

std::optional<std::string> launchApplication(const std::string& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::path(path).is_absolute())
        return "cannot open " + path + ": not an absolute path";
    if (!fs::exists(status))
        return "cannot open " + path + ": no such file";
    if (fs::path(path).extension() == ".desktop")
        return launchDesktopFile(path);
    if (fs::is_regular_file(status) && ::access(path.c_str(), X_OK) == 0)
        return launchExecutable(path);
    return "cannot open " + path + ": neither a .desktop file nor an executable program";
}

} // namespace orvane::platform
