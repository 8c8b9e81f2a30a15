// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopAppIndex.h"

#include "platform/linux/XdgPaths.h"
#include "platform/linux/desktop/GObjectPtr.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace orvane::platform {

namespace fs = std::filesystem;

namespace {

// The index reads no more than this, whatever lies in the folders.
constexpr std::size_t maxFiles = 8192;
constexpr int maxDepth = 3;
constexpr std::uintmax_t maxFileSize = 1 << 20;

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string withDesktopSuffix(std::string name)
{
    if (name.empty() || fs::path(name).extension() == ".desktop")
        return name;
    return name + ".desktop";
}

std::string startupWmClass(const fs::path& file)
{
    std::error_code error;
    if (fs::file_size(file, error) > maxFileSize || error)
        return {};
    const std::unique_ptr<GKeyFile, decltype(&g_key_file_free)> keys(g_key_file_new(),
                                                                     g_key_file_free);
    if (!g_key_file_load_from_file(keys.get(), file.c_str(), G_KEY_FILE_NONE, nullptr))
        return {};
    gchar* value = g_key_file_get_string(keys.get(), "Desktop Entry", "StartupWMClass", nullptr);
    std::string result = value != nullptr ? value : "";
    g_free(value);
    return result;
}

} // namespace

std::vector<fs::path> applicationDirs()
{
    std::vector<fs::path> dirs{dataHome() / "applications"};
    for (const fs::path& dir : dataDirs())
        dirs.push_back(dir / "applications");
    return dirs;
}

std::optional<std::string> desktopFileId(const fs::path& path, const std::vector<fs::path>& dirs)
{
    if (path.extension() != ".desktop" || !path.is_absolute())
        return std::nullopt;
    const fs::path file = path.lexically_normal();
    for (const fs::path& dir : dirs) {
        const fs::path below = file.lexically_relative(dir.lexically_normal());
        if (below.empty() || *below.begin() == ".." || *below.begin() == ".")
            continue;
        std::string id = below.generic_string();
        std::replace(id.begin(), id.end(), '/', '-');
        return id;
    }
    return file.filename().string();
}

// GIO's application monitor for the thread default main context of the thread that makes it,
// which emits "changed" there, once, when an applications folder changes; GIO looking at its
// folders again arms it for the next change.
struct DesktopAppIndex::Monitor {
    explicit Monitor(bool& isStale)
        : monitor(g_app_info_monitor_get()),
          handler(g_signal_connect(monitor.get(), "changed", G_CALLBACK(onChanged), &isStale))
    {
    }
    Monitor(const Monitor&) = delete;
    Monitor& operator=(const Monitor&) = delete;
    ~Monitor() { g_signal_handler_disconnect(monitor.get(), handler); }

    static void onChanged(GAppInfoMonitor* /*monitor*/, gpointer isStale)
    {
        *static_cast<bool*>(isStale) = true;
    }
    // Any lookup sets GIO's folders up again, watched; the id need not exist.
    static void arm()
    {
        const GObjectPtr<GDesktopAppInfo> found(g_desktop_app_info_new("orvane.desktop"));
    }

    GObjectPtr<GAppInfoMonitor> monitor;
    gulong handler;
};

DesktopAppIndex::DesktopAppIndex(std::vector<fs::path> dirs) : m_dirs(std::move(dirs)) {}

DesktopAppIndex::~DesktopAppIndex() = default;

void DesktopAppIndex::refreshIfChanged()
{
    if (!m_monitor)
        m_monitor = std::make_unique<Monitor>(m_isStale);
    if (!m_isStale)
        return;
    m_isStale = false;
    // Armed before reading, so that a change while the folders are read is not lost.
    Monitor::arm();
    m_files.clear();
    m_wmClasses.clear();
    for (const fs::path& dir : m_dirs)
        read(dir);
}

void DesktopAppIndex::read(const fs::path& dir)
{
    std::error_code error;
    fs::recursive_directory_iterator entries(dir, fs::directory_options::skip_permission_denied,
                                             error);
    for (; !error && entries != fs::recursive_directory_iterator(); entries.increment(error)) {
        if (entries.depth() >= maxDepth)
            entries.disable_recursion_pending();
        const fs::path& file = entries->path();
        std::error_code typeError;
        if (file.extension() != ".desktop" || !entries->is_regular_file(typeError))
            continue;
        if (m_files.size() >= maxFiles)
            return;
        const auto id = desktopFileId(file, {dir});
        if (!id || m_files.contains(*id))
            continue; // an earlier folder's file of the same id wins
        m_files.emplace(*id, file);
        if (std::string wmClass = startupWmClass(file); !wmClass.empty())
            m_wmClasses.emplace(std::move(wmClass), *id);
    }
}

std::optional<std::string> DesktopAppIndex::applicationOf(const WindowIdentity& identity)
{
    refreshIfChanged();
    std::vector<std::string> guesses;
    guesses.push_back(withDesktopSuffix(identity.gtkApplicationId));
    guesses.push_back(withDesktopSuffix(fs::path(identity.kdeDesktopFile).filename().string()));
    for (const std::string& name : {identity.wmClass, identity.wmInstance}) {
        if (const auto it = m_wmClasses.find(name); !name.empty() && it != m_wmClasses.end())
            guesses.push_back(it->second);
    }
    for (const std::string& name : {identity.wmClass, identity.wmInstance}) {
        guesses.push_back(withDesktopSuffix(name));
        guesses.push_back(withDesktopSuffix(lowered(name)));
    }
    std::erase(guesses, std::string());
    for (const std::string& guess : guesses) {
        if (m_files.contains(guess))
            return guess;
    }
    // A window of an application installed nowhere the index looks (a .desktop file kept on the
    // desktop, say) still matches that file by name.
    if (guesses.empty())
        return std::nullopt;
    return guesses.front();
}

} // namespace orvane::platform
