// SPDX-License-Identifier: GPL-3.0-or-later
// Picks up changes another process makes to the settings file (orvanectl, a text editor, a sync
// tool) and sends each changed setting on its change stream, so that it is logged and applied
// exactly as a change made in the preferences window.
//
// The store replaces the file by renaming a new one over it, so the folder is watched, not the
// file. Orvane's own writes are not read back: the store tells them apart from the changes of
// others without reading the file. Values already sent are remembered all the same, so a change
// is sent once. A file that is not readable as settings (half written by an editor, damaged)
// changes nothing: the values in use stay until the file reads well again.
#pragma once

#include "model/Preferences.h"

#include "engine/Platform.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <optional>

namespace orvane::app {

class SettingsWatcher final : public QObject {
public:
    // `isWhole` tells whether the file reads whole, as the settings store reads it.
    // `isChangedByOthers` tells whether anything but this process's own writes changed the file
    // since it was last asked (the store's outside change check): made before the watcher, so
    // that it covers the values the watcher starts from.
    SettingsWatcher(model::Preferences& preferences, std::filesystem::path file,
                    std::function<bool()> isWhole, std::function<bool()> isChangedByOthers,
                    engine::Log& log, QObject* parent = nullptr);

    // Reads the file now, unless only this process changed it, and sends what changed since the
    // last look.
    void reread();

private:
    void watch();

    model::Preferences& m_preferences;
    std::filesystem::path m_file;
    std::function<bool()> m_isWhole;
    std::function<bool()> m_isChangedByOthers;
    engine::Log& m_log;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    bool m_hasReportedDamage = false;

    // The values last sent or read, per setting.
    model::KeyMapping m_keyMapping;
    double m_longPressDelay;
    bool m_showMenuBarIcon;
    bool m_firstRun;
    model::Subject<model::KeyMapping>::Subscription m_mappingSubscription;
    model::Subject<double>::Subscription m_delaySubscription;
    model::Subject<bool>::Subscription m_iconSubscription;
    model::Subject<bool>::Subscription m_firstRunSubscription;
};

} // namespace orvane::app
