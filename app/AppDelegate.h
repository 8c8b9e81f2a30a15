// SPDX-License-Identifier: GPL-3.0-or-later
// Owns Orvane's long-lived parts and runs the start-up: the permission wait, the tray item, the
// keyboard monitor fed from the settings, the first-run guide. The settings' change streams keep
// the monitor and the tray item in step with every change, wherever it was made.
#pragma once

#include "AccessibilityPrompt.h"
#include "AppPorts.h"
#include "Diagnostics.h"
#include "StatusBarController.h"

#include "engine/Platform.h"
#include "model/LaunchAtLogin.h"
#include "model/Preferences.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace orvane::app {

class TrayHostWatcher;
class WindowFrames;

class AppDelegate final : public QObject {
public:
    struct Parts {
        KeyboardMonitorControl& keyboardMonitor;
        model::ObservablePreferences& preferences;
        model::LaunchAtLoginObservable& launchAtLogin;
        AccessCheck& access;
        AccessibilityPrompt::DialogFactory promptDialog;
        Console& console;
        engine::Log& log;
        Dialogs& dialogs;
        WindowFrames& frames;
        ContentFactory preferencesContent;
        ContentFactory guideContent;
        std::function<void(int exitCode)> quit;
        QString executablePath;
        TrayHostWatcher* trayHost = nullptr; // null: no tray icon (tests)
    };

    explicit AppDelegate(Parts parts, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The start-up sequence. Ends early when the user quits from the permission dialog or the
    // monitor cannot start: `quit` has been asked for then, and the result is false.
    bool applicationDidFinishLaunching();
    // Orvane was started again while running. A start at login never opens a window.
    void applicationShouldHandleReopen(bool isLoginStart);

    StatusBarController* statusBar() const { return m_statusBar.get(); }

private:
    void showGuideWindow();
    void reportMonitorFailure(std::error_code error);

    Parts m_parts;
    std::unique_ptr<StatusBarController> m_statusBar;
    // Only so that a guide still open when Orvane ends is torn down with it; closing it discards
    // it.
    QPointer<QWidget> m_guideWindow;
    AccessibilityPrompt m_accessibilityPrompt;
    using AnySubscription =
        std::variant<model::Subject<model::KeyMapping>::Subscription,
                     model::Subject<double>::Subscription, model::Subject<bool>::Subscription>;
    std::vector<AnySubscription> m_prefSubs;
};

// "-----Key mapping changed: " is followed by the mapping's stored JSON; the delay is written in
// its shortest decimal form.
std::string shortestDecimal(double value);

} // namespace orvane::app
