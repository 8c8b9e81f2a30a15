// SPDX-License-Identifier: GPL-3.0-or-later
#include "AutostartLoginItems.h"

#include "AtomicFile.h"
#include "platform/linux/XdgPaths.h"

#include <glib.h>

#include <cerrno>
#include <memory>
#include <optional>

namespace orvane::platform {

namespace {

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
    return desktopEntryStarts(entry.bytes);
}

} // namespace

bool desktopEntryStarts(std::string_view text)
{
    const std::unique_ptr<GKeyFile, decltype(&g_key_file_free)> file(g_key_file_new(),
                                                                     &g_key_file_free);
    if (!g_key_file_load_from_data(file.get(), text.data(), text.size(), G_KEY_FILE_NONE,
                                   nullptr) ||
        !g_key_file_has_group(file.get(), G_KEY_FILE_DESKTOP_GROUP))
        return false; // the session skips an entry it cannot load
    // Read as the session reads them: a Hidden that is no boolean hides nothing, while a GNOME
    // switch that is present but no boolean switches the entry off.
    const bool isHidden = g_key_file_get_boolean(file.get(), G_KEY_FILE_DESKTOP_GROUP,
                                                 G_KEY_FILE_DESKTOP_KEY_HIDDEN, nullptr) != FALSE;
    constexpr const char* gnomeSwitch = "X-GNOME-Autostart-enabled";
    const bool isSwitchedOff =
        g_key_file_has_key(file.get(), G_KEY_FILE_DESKTOP_GROUP, gnomeSwitch, nullptr) != FALSE &&
        g_key_file_get_boolean(file.get(), G_KEY_FILE_DESKTOP_GROUP, gnomeSwitch, nullptr) == FALSE;
    return !isHidden && !isSwitchedOff;
}

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
    // Already on: the user's entry, with whatever arguments or delay they gave it, stays as it is.
    if (isEnabled && this->isEnabled())
        return {};
    if (const auto error = createPrivateDirectories(path.parent_path()))
        return error;
    if (isEnabled) {
        // --login: outside GNOME (which says so itself) nothing else tells a start at login from
        // a user opening Orvane again. Icon and comment are what the desktops' autostart lists
        // show.
        const std::string text = "[Desktop Entry]\n"
                                 "Type=Application\n"
                                 "Name=Orvane\n"
                                 "Comment=Give each top-row key a short press, a long press and "
                                 "an fn action\n"
                                 "Comment[de]=Jede Taste der obersten Reihe mit kurzem Druck, "
                                 "langem Druck und Fn-Aktion belegen\n"
                                 "Icon=orvane\n"
                                 "Exec=" +
                                 desktopExecArgument(m_executable) +
                                 " --login\n"
                                 "X-GNOME-Autostart-enabled=true\n";
        return replaceFileAtomically(path, text, 0644);
    }
    const auto system =
        effectiveEntry(std::filesystem::path(), systemEntries(m_appId + ".desktop"));
    if (system && entryStarts(*system)) {
        return replaceFileAtomically(
            path, "[Desktop Entry]\nType=Application\nName=Orvane\nHidden=true\n", 0644);
    }
    std::error_code error;
    if (!std::filesystem::remove(path, error) && error)
        return error;
    return {};
}

} // namespace orvane::platform
