// SPDX-License-Identifier: GPL-3.0-or-later
#include "GioApplications.h"

#include "GObjectPtr.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <filesystem>
#include <memory>
#include <system_error>

namespace orvane::platform {
namespace {

// A themed icon gives its first name, a file icon its path; anything else (emblems, bytes) none.
std::string iconText(GIcon* icon)
{
    if (icon == nullptr)
        return {};
    if (G_IS_THEMED_ICON(icon)) {
        const gchar* const* names = g_themed_icon_get_names(G_THEMED_ICON(icon));
        return names != nullptr && names[0] != nullptr ? names[0] : std::string{};
    }
    if (G_IS_FILE_ICON(icon)) {
        gchar* path = g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon)));
        std::string text = path != nullptr ? path : "";
        g_free(path);
        return text;
    }
    return {};
}

model::InstalledApp fromAppInfo(GAppInfo* info, std::string path)
{
    const char* name = g_app_info_get_display_name(info);
    return {std::move(path), name != nullptr ? name : "", iconText(g_app_info_get_icon(info))};
}

} // namespace

std::vector<model::InstalledApp> GioApplications::installedApps() const
{
    std::vector<model::InstalledApp> apps;
    GList* all = g_app_info_get_all();
    for (GList* item = all; item != nullptr; item = item->next) {
        auto* info = static_cast<GAppInfo*>(item->data);
        if (!g_app_info_should_show(info) || !G_IS_DESKTOP_APP_INFO(info))
            continue;
        const char* file = g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(info));
        if (file != nullptr)
            apps.push_back(fromAppInfo(info, file));
    }
    g_list_free_full(all, g_object_unref);
    return apps;
}

std::optional<model::InstalledApp> GioApplications::describe(const std::string& path) const
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return std::nullopt;
    if (fs::path(path).extension() == ".desktop") {
        const GObjectPtr<GDesktopAppInfo> info{g_desktop_app_info_new_from_filename(path.c_str())};
        if (!info)
            return std::nullopt;
        return fromAppInfo(G_APP_INFO(info.get()), path);
    }
    return model::InstalledApp{path, fs::path(path).filename().string(),
                               "application-x-executable"};
}

} // namespace orvane::platform
