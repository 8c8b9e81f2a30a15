// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShortcutPresets.h"

#include "model/CurrentDesktop.h"
#include <QCoreApplication>

namespace orvane::ui {
namespace {

namespace m = model::modifier;
namespace vk = model::virtualKey;

// The description is stored with the shortcut, in the user's language at the time it was chosen.
model::ShortcutTarget shortcut(std::int64_t key, std::uint64_t modifiers, const char* description)
{
    return {model::Shortcut{{key}, modifiers},
            QCoreApplication::translate("ShortcutPresets", description).toStdString()};
}

} // namespace

DesktopFamily desktopFamily(std::string_view xdgCurrentDesktop)
{
    return model::currentDesktopIs(xdgCurrentDesktop, "KDE") ? DesktopFamily::plasma
                                                             : DesktopFamily::gnome;
}

std::array<std::optional<model::ShortcutTarget>, 4> hotkeyLongPresses(DesktopFamily desktop)
{
    // Sources: GNOME, org.gnome.desktop.wm.keybindings (gsettings-desktop-schemas) with Debian's
    // override of panel-main-menu, and org.gnome.settings-daemon.plugins.media-keys; Plasma,
    // KWin's window shortcuts, the screen locker's default and the default panel's launcher.
    // Neither desktop binds "fullscreen" by default; both bind a maximise toggle.
    if (desktop == DesktopFamily::plasma)
        return {shortcut(vk::pageUp, m::command,
                         QT_TRANSLATE_NOOP("ShortcutPresets", "Toggle maximized")),
                std::nullopt,
                shortcut(vk::l, m::command, QT_TRANSLATE_NOOP("ShortcutPresets", "Lock screen")),
                shortcut(
                    vk::f1, m::option,
                    QT_TRANSLATE_NOOP("ShortcutPresets", "Show or hide the application launcher"))};
    return {shortcut(vk::f10, m::option, QT_TRANSLATE_NOOP("ShortcutPresets", "Toggle maximized")),
            std::nullopt,
            shortcut(vk::l, m::command, QT_TRANSLATE_NOOP("ShortcutPresets", "Lock screen")),
            shortcut(vk::f1, m::option,
                     QT_TRANSLATE_NOOP("ShortcutPresets", "Show or hide the Activities overview"))};
}

model::ShortcutTarget editorStartingShortcut()
{
    return shortcut(vk::l, m::command, QT_TRANSLATE_NOOP("ShortcutPresets", "Lock screen"));
}

} // namespace orvane::ui
