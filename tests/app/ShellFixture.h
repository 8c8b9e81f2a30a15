// SPDX-License-Identifier: GPL-3.0-or-later
// The shell wired to stand-ins and to a real settings file in a temporary folder of its own.
#pragma once

#include "AppFakes.h"

#include "app/AppDelegate.h"
#include "app/SettingsWatcher.h"
#include "app/WindowFrames.h"
#include "model/DefaultKeyMapping.h"
#include "model/KeyProps.h"
#include "model/Preferences.h"
#include "platform/linux/desktop/SettingsFile.h"
#include "support/Subprocess.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QWidget>

#include <memory>

namespace orvane::test {

struct Shell {
    explicit Shell(int trustedFromCall = 1) { access.trustedFromCall = trustedFromCall; }

    // Builds the delegate; call after setting up the stand-ins.
    app::AppDelegate& delegate()
    {
        if (!m_delegate) {
            m_delegate = std::make_unique<app::AppDelegate>(app::AppDelegate::Parts{
                monitor,
                preferences,
                launchAtLogin,
                access,
                [] {
                    auto* dialog = new QDialog;
                    dialog->setObjectName(QStringLiteral("accessibilityPrompt"));
                    return dialog;
                },
                console,
                log,
                dialogs,
                frames,
                [](QWidget* parent) { return new QLabel(QStringLiteral("preferences"), parent); },
                [](QWidget* parent) { return new QLabel(QStringLiteral("guide"), parent); },
                [this](int exitCode) { journal.push_back("quit " + std::to_string(exitCode)); },
                QStringLiteral("/opt/orvane/bin/orvane"),
                nullptr,
            });
        }
        return *m_delegate;
    }

    ~Shell()
    {
        m_delegate.reset();
        for (QWidget* widget : QApplication::topLevelWidgets())
            delete widget;
    }

    std::filesystem::path settingsPath() const
    {
        return folder.path() / "orvane" / "settings.json";
    }

    // The settings watcher as the program wires it to the store.
    std::unique_ptr<app::SettingsWatcher> watchSettings()
    {
        return std::make_unique<app::SettingsWatcher>(
            preferences.instance(), settingsPath(), [this] { return store.isWhole(); },
            store.outsideChangeCheck(), log);
    }

    TempDir folder;
    Journal journal;
    platform::SettingsFile store{folder.path() / "orvane" / "settings.json"};
    model::ObservablePreferences preferences{
        store, model::defaultKeyMapping(model::defaultTopRowKeys(), {})};
    FakeLoginItems loginItems{journal};
    model::LaunchAtLoginObservable launchAtLogin{loginItems};
    FakeMonitor monitor{journal};
    FakeAccess access;
    JournalConsole console{journal};
    RecordingLog log;
    FakeDialogs dialogs{journal};
    app::WindowFrames frames{QString::fromStdString((folder.path() / "windows.ini").string())};

private:
    std::unique_ptr<app::AppDelegate> m_delegate;
};

inline QWidget* topLevel(const QString& objectName)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == objectName && widget->isVisible())
            return widget;
    return nullptr;
}

} // namespace orvane::test
