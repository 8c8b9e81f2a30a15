// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppDelegate.h"

#include "ShellWindows.h"

#include "model/BundleInfo.h"
#include "model/SettingCoding.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <charconv>
#include <utility>

namespace orvane::app {

std::string shortestDecimal(double value)
{
    char buffer[32];
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return std::string(buffer, result.ptr);
}

AppDelegate::AppDelegate(Parts parts, QObject* parent)
    : QObject(parent), m_parts(std::move(parts)),
      m_accessibilityPrompt(m_parts.access, m_parts.log, m_parts.promptDialog)
{
    const auto& info = model::mainBundleInfo();
    m_parts.console.line(model::appName() + " " +
                         model::infoString(info, model::infoKey::shortVersion) + " (" +
                         model::infoString(info, model::infoKey::version) + ") starting");
}

AppDelegate::~AppDelegate()
{
    delete m_guideWindow;
}

bool AppDelegate::applicationDidFinishLaunching()
{
    model::Preferences& preferences = m_parts.preferences.instance();
    const std::string path =
        m_parts.executablePath.isEmpty() ? "nil" : m_parts.executablePath.toStdString();
    m_parts.console.line(std::string(line::finishLaunching) + path + std::string(line::login) +
                         (m_parts.launchAtLogin.isEnabled() ? "true" : "false"));

    if (!m_accessibilityPrompt.check()) {
        m_parts.quit(0);
        return false;
    }

    StatusBarController::Parts barParts{m_parts.console, m_parts.log,
                                        m_parts.frames,  m_parts.preferencesContent,
                                        m_parts.quit,    preferences.showMenuBarIcon.get(),
                                        m_parts.trayHost};
    m_statusBar = std::make_unique<StatusBarController>(std::move(barParts));

    const QPointer<AppDelegate> self(this);
    m_prefSubs.emplace_back(
        preferences.showMenuBarIcon.publisher().subscribe([self](const bool& isVisible) {
            if (self != nullptr && self->m_statusBar != nullptr)
                self->m_statusBar->setVisible(isVisible);
            if (!isVisible && self != nullptr)
                self->m_parts.dialogs.alert(
                    QCoreApplication::translate("AppDelegate",
                                                "To show Menu Bar icon, run %1 again.")
                        .arg(QString::fromStdString(model::appName())));
        }));

    m_parts.keyboardMonitor.setKeyMapping(preferences.keyMapping.get());
    m_prefSubs.emplace_back(
        preferences.keyMapping.publisher().subscribe([self](const model::KeyMapping& mapping) {
            if (self == nullptr)
                return;
            const auto text = model::SettingCoding<model::KeyMapping>::encode(mapping);
            self->m_parts.console.line(std::string(line::keyMappingChanged) + text.value_or(""));
            self->m_parts.keyboardMonitor.setKeyMapping(mapping);
        }));

    m_parts.keyboardMonitor.setLongPressDelay(preferences.longPressDelay.get());
    m_prefSubs.emplace_back(
        preferences.longPressDelay.publisher().subscribe([self](const double& delay) {
            if (self == nullptr)
                return;
            self->m_parts.console.line(std::string(line::delayChanged) + shortestDecimal(delay));
            self->m_parts.keyboardMonitor.setLongPressDelay(delay);
        }));

    if (const auto error = m_parts.keyboardMonitor.start()) {
        reportMonitorFailure(error);
        return false;
    }

    if (preferences.firstRun.get()) {
        m_parts.console.line(std::string(line::firstTimeRun));
        m_parts.launchAtLogin.setEnabled(true);
        showGuideWindow();
    }
    // Later launches: Linux has no update framework (the package manager updates Orvane), so no
    // background check is asked for.
    preferences.firstRun.set(false);
    return true;
}

// A remapper that cannot remap must not sit in the tray looking as if it did: say why, then end.
void AppDelegate::reportMonitorFailure(std::error_code error)
{
    QString text;
    if (error == std::errc::device_or_resource_busy) {
        text = QCoreApplication::translate(
            "AppDelegate", "Another Orvane is already running for you and holds the keyboards "
                           "(for example 'orvanectl run'). Stop it, then start Orvane again.");
    } else {
        text =
            QCoreApplication::translate(
                "AppDelegate", "Orvane cannot take over the keyboards: %1.\n\n'orvanectl doctor' "
                               "tells what is missing.")
                .arg(QString::fromStdString(error.message()));
    }
    m_parts.log.write(engine::Log::Level::error, "KeyboardMonitor",
                      "Failed to create event tap! " + text.toStdString());
    m_parts.dialogs.error(QCoreApplication::translate("AppDelegate", "Orvane cannot start"), text);
    m_parts.quit(1);
}

void AppDelegate::showGuideWindow()
{
    QWidget* window = makeGuideWindow(m_parts.guideContent, [quit = m_parts.quit] { quit(0); });
    m_guideWindow = window;
    window->show();
    window->raise();
    window->activateWindow();
}

void AppDelegate::applicationShouldHandleReopen(bool isLoginStart)
{
    m_parts.console.line(std::string(line::appReopen));
    if (m_statusBar == nullptr)
        return;
    m_statusBar->setVisible(true);
    // Without a tray, opening Orvane again is the way to its preferences.
    if (!isLoginStart && !m_statusBar->hasTray())
        m_statusBar->showPreferences();
}

} // namespace orvane::app
