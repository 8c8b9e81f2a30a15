// SPDX-License-Identifier: GPL-3.0-or-later
#include "XdgPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace orvane::platform {

namespace {

std::filesystem::path home()
{
    if (const char* value = std::getenv("HOME"); value != nullptr && value[0] == '/')
        return value;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "/";
}

// The variable's value when it is an absolute path; relative values are ignored, as the rules say.
std::optional<std::filesystem::path> absoluteFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
        return std::nullopt;
    return std::filesystem::path(value);
}

std::vector<std::filesystem::path> listFromEnvironment(const char* name,
                                                       std::vector<std::filesystem::path> fallback)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] == '\0')
        return fallback;
    std::vector<std::filesystem::path> dirs;
    std::string_view rest(value);
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const auto entry = rest.substr(0, colon);
        if (!entry.empty() && entry.front() == '/')
            dirs.emplace_back(entry);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return dirs.empty() ? fallback : dirs;
}

} // namespace

std::filesystem::path configHome()
{
    return absoluteFromEnvironment("XDG_CONFIG_HOME").value_or(home() / ".config");
}

std::filesystem::path dataHome()
{
    return absoluteFromEnvironment("XDG_DATA_HOME").value_or(home() / ".local" / "share");
}

std::vector<std::filesystem::path> dataDirs()
{
    return listFromEnvironment("XDG_DATA_DIRS", {"/usr/local/share", "/usr/share"});
}

std::vector<std::filesystem::path> configDirs()
{
    return listFromEnvironment("XDG_CONFIG_DIRS", {"/etc/xdg"});
}

} // namespace orvane::platform
