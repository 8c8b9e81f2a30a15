#include "AutostartLoginItems.h"

#include "AtomicFile.h"
#include "XdgPaths.h"

#include <cerrno>
#include <map>
#include <optional>
#include <sstream>

namespace orvane::platform {

namespace {

// The keys of the [Desktop Entry] group; other groups (actions) are ignored.
std::map<std::string, std::string> desktopEntryKeys(const std::string& text)
{
    std::map<std::string, std::string> keys;
    std::istringstream lines(text);
    bool inEntry = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const auto equals = line.find('=');
        if (!inEntry || equals == std::string::npos)
            continue;
        auto key = line.substr(0, equals);
        while (!key.empty() && key.back() == ' ')
            key.pop_back();
        auto value = line.substr(equals + 1);
        value.erase(0, value.find_first_not_of(' '));
        keys.emplace(std::move(key), std::move(value)); // the first of a repeated key counts
    }
    return keys;
}

std::vector<std::filesystem::path> systemEntries(const std::string& fileName)
{
    std::vector<std::filesystem::path> entries;
    for (const auto& dir : configDirs())
        entries.push_back(dir / "autostart" / fileName);
    return entries;
}

// The entry the session would use: the user's, else the first system-wide one.
std::optional<FileContent> effectiveEntry(const std::filesystem::path& user,
                                          const std::vector<std::filesystem::path>& system)
{
    FileContent content;
    if (!readWholeFile(user, content) && content.exists)
        return content;
    for (const auto& path : system) {
        FileContent systemContent;
        if (!readWholeFile(path, systemContent) && systemContent.exists)
            return systemContent;
    }
    return std::nullopt;
}

bool entryStarts(const FileContent& entry)
{
    const auto keys = desktopEntryKeys(entry.bytes);
    const auto hidden = keys.find("Hidden");
    const auto enabled = keys.find("X-GNOME-Autostart-enabled");
    return !(hidden != keys.end() && hidden->second == "true") &&
           !(enabled != keys.end() && enabled->second == "false");
}

} // namespace

std::string desktopExecArgument(const std::string& executable)
{
    const bool plain = executable.find_first_of(" \t\n\"'\\><~|&;$*?#()`=%") == std::string::npos;
    if (plain && !executable.empty())
        return executable;
    // Quoted as the desktop entry rules ask, then each backslash doubled once more because the
    // Exec value is itself an escaped string.
    std::string quoted = "\"";
    for (const char c : executable) {
        if (c == '"' || c == '`' || c == '$')
            quoted += "\\\\";
        else if (c == '\\')
            quoted += "\\\\\\";
        if (c == '%')
            quoted += '%'; // a literal percent sign is written twice
        quoted += c;
    }
    return quoted + "\"";
}

AutostartLoginItems::AutostartLoginItems(std::string appId, std::string executable)
    : m_appId(std::move(appId)), m_executable(std::move(executable))
{
}

std::filesystem::path AutostartLoginItems::userEntry() const
{
    return configHome() / "autostart" / (m_appId + ".desktop");
}

bool AutostartLoginItems::isEnabled() const
{
    const auto entry = effectiveEntry(userEntry(), systemEntries(m_appId + ".desktop"));
    return entry && entryStarts(*entry);
}

std::error_code AutostartLoginItems::setEnabled(bool isEnabled)
{
    const auto path = userEntry();
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error)
        return error;
    if (isEnabled) {
        const std::string text = "[Desktop Entry]\n"
                                 "Type=Application\n"
                                 "Name=Orvane\n"
                                 "Exec=" +
                                 desktopExecArgument(m_executable) +
                                 "\n"
                                 "X-GNOME-Autostart-enabled=true\n";
        return replaceFileAtomically(path, text, 0644);
    }
    const auto system =
        effectiveEntry(std::filesystem::path(), systemEntries(m_appId + ".desktop"));
    if (system && entryStarts(*system)) {
        return replaceFileAtomically(
            path, "[Desktop Entry]\nType=Application\nName=Orvane\nHidden=true\n", 0644);
    }
    if (!std::filesystem::remove(path, error) && error)
        return error;
    return {};
}

} // namespace orvane::platform
