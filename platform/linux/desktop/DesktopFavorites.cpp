// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopFavorites.h"

#include "GObjectPtr.h"
#include "model/CurrentDesktop.h"
#include "platform/linux/XdgPaths.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <sstream>

namespace orvane::platform {

namespace {

std::optional<std::string> filenameOf(GAppInfo* info)
{
    if (info == nullptr || !G_IS_DESKTOP_APP_INFO(info))
        return std::nullopt;
    const char* file = g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(info));
    if (file == nullptr)
        return std::nullopt;
    return std::string(file);
}

std::string trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

// KConfig's list form: entries separated by ',', with '\,' for a comma inside an entry and the
// usual backslash escapes.
std::vector<std::string> splitKConfigList(std::string_view value)
{
    std::vector<std::string> items;
    std::string current;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            current += next == 's' ? ' ' : next == 't' ? '\t' : next == 'n' ? '\n' : next;
        } else if (c == ',') {
            items.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty() || !items.empty())
        items.push_back(std::move(current));
    return items;
}

// Takes "[name]" from the front of `text`.
bool takeGroup(std::string_view& text, std::string_view name)
{
    if (text.size() < name.size() + 2 || text.front() != '[' ||
        text.substr(1, name.size()) != name || text[name.size() + 1] != ']')
        return false;
    text.remove_prefix(name.size() + 2);
    return true;
}

// Takes "[digits]" from the front of `text`; a number too long for a long sorts last instead of
// failing.
bool takeNumber(std::string_view& text, long& number)
{
    const auto close = text.find(']');
    if (text.empty() || text.front() != '[' || close == std::string_view::npos || close < 2)
        return false;
    const auto digits = text.substr(1, close - 1);
    if (digits.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error == std::errc::result_out_of_range)
        number = std::numeric_limits<long>::max();
    text.remove_prefix(close + 1);
    return true;
}

// An applet's group header, "[Containments][2][Applets][7]<rest>": the two numbers and the rest.
struct AppletHeader {
    std::pair<long, long> numbers;
    std::string_view rest;
};
std::optional<AppletHeader> appletHeader(std::string_view text)
{
    AppletHeader header;
    if (!takeGroup(text, "Containments") || !takeNumber(text, header.numbers.first) ||
        !takeGroup(text, "Applets") || !takeNumber(text, header.numbers.second))
        return std::nullopt;
    header.rest = text;
    return header;
}

bool isTaskManager(std::string_view plugin)
{
    return plugin == "org.kde.plasma.taskmanager" || plugin == "org.kde.plasma.icontasks";
}

std::optional<std::string> resolveLauncher(const std::string& launcher)
{
    if (launcher.starts_with("applications:"))
        return desktopFilePath(launcher.substr(13));
    if (launcher.starts_with("file://")) {
        char* path = g_filename_from_uri(launcher.c_str(), nullptr, nullptr);
        if (path == nullptr)
            return std::nullopt;
        std::string result(path);
        g_free(path);
        return result;
    }
    if (launcher == "preferred://filemanager")
        return defaultApplicationPath("inode/directory");
    if (launcher == "preferred://browser")
        return defaultApplicationPath("x-scheme-handler/http");
    return std::nullopt;
}

bool desktopIs(std::string_view name)
{
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    return desktop != nullptr && model::currentDesktopIs(desktop, name);
}

} // namespace

std::optional<std::string> defaultApplicationPath(const char* contentType)
{
    const GObjectPtr<GAppInfo> info(g_app_info_get_default_for_type(contentType, FALSE));
    return filenameOf(info.get());
}

std::optional<std::string> desktopFilePath(const std::string& id)
{
    const GObjectPtr<GDesktopAppInfo> info(g_desktop_app_info_new(id.c_str()));
    return filenameOf(G_APP_INFO(info.get()));
}

std::vector<std::string> gsettingsFavorites(const char* schemaId)
{
    std::vector<std::string> paths;
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr)
        return paths;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, schemaId, TRUE);
    if (schema == nullptr)
        return paths;
    // A schema installed without a path has no settings of its own: GLib aborts the process when
    // asked for them without one.
    const bool hasKey = g_settings_schema_get_path(schema) != nullptr &&
                        g_settings_schema_has_key(schema, "favorite-apps");
    if (hasKey) {
        const GObjectPtr<GSettings> settings(g_settings_new_full(schema, nullptr, nullptr));
        GVariant* value = g_settings_get_value(settings.get(), "favorite-apps");
        if (g_variant_is_of_type(value, G_VARIANT_TYPE_STRING_ARRAY)) {
            gsize count = 0;
            const gchar** ids = g_variant_get_strv(value, &count);
            for (gsize i = 0; i < count; ++i) {
                if (auto path = desktopFilePath(ids[i]))
                    paths.push_back(std::move(*path));
            }
            g_free(ids);
        }
        g_variant_unref(value);
    }
    g_settings_schema_unref(schema);
    return paths;
}

std::vector<std::string> plasmaLauncherEntries(std::string_view appletsFile)
{
    struct Group {
        std::string plugin;
        std::vector<std::string> launchers;
    };
    // Applets keyed by (containment, applet) number, the order Plasma numbers them in. The
    // plugin name sits in the applet's own group, the launchers in its
    // "[Configuration][General]" subgroup.
    std::map<std::pair<long, long>, Group> applets;
    Group* current = nullptr;
    enum class Section { other, applet, general } section = Section::other;
    std::istringstream lines{std::string(appletsFile)};
    for (std::string line; std::getline(lines, line);) {
        const std::string text = trim(line);
        if (text.empty() || text.front() == '#')
            continue;
        if (text.front() == '[') {
            section = Section::other;
            if (const auto header = appletHeader(text)) {
                current = &applets[header->numbers];
                section = header->rest.empty()                         ? Section::applet
                          : header->rest == "[Configuration][General]" ? Section::general
                                                                       : Section::other;
            }
            continue;
        }
        const auto equals = text.find('=');
        if (equals == std::string::npos || section == Section::other)
            continue;
        const std::string key = trim(std::string_view(text).substr(0, equals));
        const std::string value = trim(std::string_view(text).substr(equals + 1));
        if (section == Section::applet && key == "plugin")
            current->plugin = value;
        else if (section == Section::general && key == "launchers")
            current->launchers = splitKConfigList(value);
    }
    std::vector<std::string> launchers;
    for (const auto& [number, group] : applets) {
        if (!isTaskManager(group.plugin))
            continue;
        for (const auto& launcher : group.launchers) {
            if (!launcher.empty())
                launchers.push_back(launcher);
        }
    }
    return launchers;
}

std::vector<std::string> plasmaFavorites()
{
    std::ifstream file(configHome() / "plasma-org.kde.plasma.desktop-appletsrc");
    if (!file)
        return {};
    std::ostringstream text;
    text << file.rdbuf();
    std::vector<std::string> paths;
    for (const auto& launcher : plasmaLauncherEntries(text.str())) {
        if (auto path = resolveLauncher(launcher))
            paths.push_back(std::move(*path));
    }
    return paths;
}

std::vector<std::string> DesktopFavorites::dockAppPaths() const
{
    std::vector<std::string> paths;
    const auto fileManager = defaultApplicationPath("inode/directory");
    if (fileManager)
        paths.push_back(*fileManager);

    std::vector<std::string> favorites;
    if (desktopIs("KDE")) {
        favorites = plasmaFavorites();
    } else if (desktopIs("Cinnamon")) {
        favorites = gsettingsFavorites("org.cinnamon");
    } else if (desktopIs("GNOME")) {
        favorites = gsettingsFavorites("org.gnome.shell");
    } else {
        // A desktop that does not say which it is: the first source that has favourites.
        favorites = gsettingsFavorites("org.gnome.shell");
        if (favorites.empty())
            favorites = plasmaFavorites();
        if (favorites.empty())
            favorites = gsettingsFavorites("org.cinnamon");
    }
    // The file manager already leads the list; a second copy from the favourites would only take
    // a key away from another application.
    for (auto& path : favorites) {
        if (path != fileManager)
            paths.push_back(std::move(path));
    }
    return paths;
}

} // namespace orvane::platform
