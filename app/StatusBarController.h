// SPDX-License-Identifier: GPL-3.0-or-later
// Orvane's tray item and its menu, and the Preferences and About windows it opens. The menu is
// built once: StatusNotifierItem hosts do not reliably say when a menu is about to open, and a
// menu changed while open closes at once on some of them.
#pragma once

#include "AppPorts.h"
#include "Diagnostics.h"
#include "ReusableWindow.h"

#include "engine/Platform.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

namespace orvane::app {

class TrayHostWatcher;
class WindowFrames;

class StatusBarController final : public QObject {
public:
    struct Parts {
        Console& console;
        engine::Log& log;
        WindowFrames& frames;
        ContentFactory preferencesContent;
        std::function<void(int exitCode)> quit;
        bool isVisible = true; // the stored showMenuBarIcon
        // Null: no tray icon is ever made (tests drive the menu alone).
        TrayHostWatcher* trayHost = nullptr;
    };

    explicit StatusBarController(Parts parts, QObject* parent = nullptr);
    ~StatusBarController() override;

    QMenu& menu() { return *m_menu; }
    ReusableWindow& prefWindow() { return m_prefWindow; }
    ReusableWindow& aboutWindow() { return m_aboutWindow; }

    // The tray item's visibility; kept for an icon made later.
    void setVisible(bool isVisible);
    bool isVisible() const { return m_isVisible; }
    // True when a tray icon exists and a tray shows it.
    bool hasTray() const;
    // The "Preferences..." entry's action.
    void showPreferences();

private:
    void buildMenu();
    void createTrayIcon();
    void noticeNoTray();

    Console& m_console;
    engine::Log& m_log;
    std::function<void(int)> m_quit;
    ReusableWindow m_prefWindow;
    ReusableWindow m_aboutWindow;
    std::unique_ptr<QMenu> m_menu;
    QPointer<QSystemTrayIcon> m_tray;
    bool m_isVisible;
    bool m_hasNoticedNoTray = false;
};

// The address "Feedback (Email)" writes to.
inline constexpr const char* feedbackAddress = "feedback@orvane.app";

} // namespace orvane::app
