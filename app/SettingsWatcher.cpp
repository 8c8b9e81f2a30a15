// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsWatcher.h"

#include <utility>

namespace orvane::app {

namespace {

// Sends the setting's current value when it differs from the one last known; values are compared
// in their stored form.
template <typename T> void sendIfChanged(model::UserDefault<T>& setting, const T& known)
{
    const T value = setting.get();
    if (model::SettingCoding<T>::encode(value) != model::SettingCoding<T>::encode(known))
        setting.publisher().send(value); // the subscription below brings `known` up to date
}

} // namespace

SettingsWatcher::SettingsWatcher(model::Preferences& preferences, std::filesystem::path file,
                                 std::function<bool()> isWhole,
                                 std::function<bool()> isChangedByOthers, engine::Log& log,
                                 QObject* parent)
    : QObject(parent), m_preferences(preferences), m_file(std::move(file)),
      m_isWhole(std::move(isWhole)), m_isChangedByOthers(std::move(isChangedByOthers)), m_log(log),
      m_keyMapping(preferences.keyMapping.get()),
      m_longPressDelay(preferences.longPressDelay.get()),
      m_showMenuBarIcon(preferences.showMenuBarIcon.get()), m_firstRun(preferences.firstRun.get())
{
    m_mappingSubscription = preferences.keyMapping.publisher().subscribe(
        [this](const model::KeyMapping& value) { m_keyMapping = value; });
    m_delaySubscription = preferences.longPressDelay.publisher().subscribe(
        [this](const double& value) { m_longPressDelay = value; });
    m_iconSubscription = preferences.showMenuBarIcon.publisher().subscribe(
        [this](const bool& value) { m_showMenuBarIcon = value; });
    m_firstRunSubscription = preferences.firstRun.publisher().subscribe(
        [this](const bool& value) { m_firstRun = value; });

    // An editor may write in several steps: look once things have settled.
    m_settle.setSingleShot(true);
    m_settle.setInterval(150);
    connect(&m_settle, &QTimer::timeout, this, &SettingsWatcher::reread);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle,
            qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    watch();
}

void SettingsWatcher::watch()
{
    std::error_code error;
    const auto folder = m_file.parent_path();
    if (!std::filesystem::exists(folder, error)) {
        std::filesystem::create_directories(folder, error);
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
    }
    const QString folderPath = QString::fromStdString(folder.string());
    if (!m_watcher.directories().contains(folderPath) && !m_watcher.addPath(folderPath))
        m_log.write(engine::Log::Level::error, "Settings",
                    "cannot watch " + folder.string() +
                        ": changes made outside Orvane apply at its next start");
    // A settings file that is a link (into a dotfiles folder) changes where it points.
    const QString filePath = QString::fromStdString(m_file.string());
    if (std::filesystem::is_symlink(m_file, error) && !m_watcher.files().contains(filePath))
        m_watcher.addPath(filePath);
}

void SettingsWatcher::reread()
{
    watch();
    // After damage every look reads: the store's next write may carry the readable part along.
    const bool isChanged = m_isChangedByOthers();
    if (!isChanged && !m_hasReportedDamage)
        return; // Orvane's own writes only: their values were sent as they were made
    if (!m_isWhole()) {
        if (!m_hasReportedDamage)
            m_log.write(engine::Log::Level::error, "Settings",
                        m_file.string() +
                            " cannot be read as settings; the settings in use stay until it can");
        m_hasReportedDamage = true;
        return;
    }
    m_hasReportedDamage = false;
    sendIfChanged(m_preferences.keyMapping, m_keyMapping);
    sendIfChanged(m_preferences.longPressDelay, m_longPressDelay);
    sendIfChanged(m_preferences.showMenuBarIcon, m_showMenuBarIcon);
    sendIfChanged(m_preferences.firstRun, m_firstRun);
}

} // namespace orvane::app
