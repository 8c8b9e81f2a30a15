#include "ShortcutPresets.h"

#include <QCoreApplication>

namespace orvane::ui {
namespace {

namespace m = model::modifier;

// Virtual key codes.
constexpr std::int64_t keyL = 37;
constexpr std::int64_t keyF1 = 122;
constexpr std::int64_t keyF10 = 109;
constexpr std::int64_t keyPageUp = 116;

// The description is stored with the shortcut, in the user's language at the time it was chosen.
model::ShortcutTarget shortcut(std::int64_t key, std::uint64_t modifiers, const char* description)
{
    return {model::Shortcut{{key}, modifiers},
            QCoreApplication::translate("ShortcutPresets", description).toStdString()};
}

} // namespace

DesktopFamily desktopFamily(std::string_view xdgCurrentDesktop)
{
    // A colon-separated list, for example "KDE" or "ubuntu:GNOME".
    std::size_t start = 0;
    while (start <= xdgCurrentDesktop.size()) {
        const std::size_t end =
            std::min(xdgCurrentDesktop.find(':', start), xdgCurrentDesktop.size());
        if (xdgCurrentDesktop.substr(start, end - start) == "KDE")
            return DesktopFamily::plasma;
        start = end + 1;
    }
    return DesktopFamily::gnome;
}

std::array<std::optional<model::ShortcutTarget>, 4> hotkeyLongPresses(DesktopFamily desktop)
{
    // Sources: GNOME, org.gnome.desktop.wm.keybindings (gsettings-desktop-schemas) with Debian's
    // override of panel-main-menu, and org.gnome.settings-daemon.plugins.media-keys; Plasma,
    // KWin's window shortcuts, the screen locker's default and the default panel's launcher.
    // Neither desktop binds "fullscreen" by default; both bind a maximise toggle.
    if (desktop == DesktopFamily::plasma)
        return {shortcut(keyPageUp, m::command,
                         QT_TRANSLATE_NOOP("ShortcutPresets", "Toggle maximized")),
                std::nullopt,
                shortcut(keyL, m::command, QT_TRANSLATE_NOOP("ShortcutPresets", "Lock screen")),
                shortcut(
                    keyF1, m::option,
                    QT_TRANSLATE_NOOP("ShortcutPresets", "Show or hide the application launcher"))};
    return {shortcut(keyF10, m::option, QT_TRANSLATE_NOOP("ShortcutPresets", "Toggle maximized")),
            std::nullopt,
            shortcut(keyL, m::command, QT_TRANSLATE_NOOP("ShortcutPresets", "Lock screen")),
            shortcut(keyF1, m::option,
                     QT_TRANSLATE_NOOP("ShortcutPresets", "Show or hide the Activities overview"))};
}

model::ShortcutTarget editorStartingShortcut()
{
    return shortcut(keyL, m::command, QT_TRANSLATE_NOOP("ShortcutPresets", "Lock screen"));
}

} // namespace orvane::ui
