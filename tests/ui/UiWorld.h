// SPDX-License-Identifier: GPL-3.0-or-later
// What the view tests share: the settings in memory, recording fakes of the views' services, and
// a main() that runs one QTest class offscreen.
#pragma once

#include "support/MemoryDefaultsStore.h"

#include "model/DefaultKeyMapping.h"
#include "model/Preferences.h"
#include "ui/ViewServices.h"

#include <QApplication>
#include <QTest>

#include <cstdlib>
#include <map>

namespace orvane::test {

// A US layout for the keys the tests name.
class UsLayout final : public engine::KeyboardLayout {
public:
    std::optional<std::string> translate(std::uint16_t keyCode) const override
    {
        static const std::map<std::uint16_t, std::string> keys{
            {0, "a"},  {1, "s"},  {2, "d"},  {3, "f"},  {11, "b"}, {12, "q"},
            {18, "1"}, {19, "2"}, {21, "4"}, {23, "5"}, {37, "l"}, {40, "k"}};
        const auto it = keys.find(keyCode);
        return it == keys.end() ? std::nullopt : std::optional(it->second);
    }
};

class FakeLoginItems final : public model::LoginItems {
public:
    bool isEnabled() const override { return enabled; }
    std::error_code setEnabled(bool isEnabled) override
    {
        requests.push_back(isEnabled);
        if (!refuse)
            enabled = isEnabled;
        return {};
    }
    bool enabled = false;
    bool refuse = false;
    std::vector<bool> requests;
};

class FakeFavorites final : public model::FavoriteApps {
public:
    std::vector<std::string> dockAppPaths() const override
    {
        ++reads;
        return paths;
    }
    std::vector<std::string> paths;
    mutable int reads = 0;
};

class FakeInstalledApps final : public model::InstalledApps {
public:
    std::vector<model::InstalledApp> installedApps() const override { return apps; }
    std::optional<model::InstalledApp> describe(const std::string& path) const override
    {
        for (const auto& app : apps)
            if (app.path == path)
                return app;
        return std::nullopt;
    }
    std::vector<model::InstalledApp> apps{
        {"/usr/share/applications/org.gnome.Nautilus.desktop", "Files", "org.gnome.Nautilus"},
        {"/usr/share/applications/firefox-esr.desktop", "Firefox ESR", "firefox-esr"},
        {"/usr/share/applications/vim.desktop", "Vim", "gvim"},
    };
};

// The settings and services of one test; built afresh by each test function.
struct UiWorld {
    explicit UiWorld(std::vector<std::string> dock = {})
        : defaultMapping(model::defaultKeyMapping(model::defaultTopRowKeys(), dock)),
          preferences(store, defaultMapping)
    {
        favorites.paths = std::move(dock);
    }

    model::KeyMapping stored() { return preferences.instance().keyMapping.get(); }
    bool hasStoredMapping() const { return store.entries.contains("keyMapping"); }

    MemoryDefaultsStore store;
    model::KeyMapping defaultMapping;
    model::ObservablePreferences preferences;
    FakeLoginItems loginItems;
    model::LaunchAtLoginObservable launchAtLogin{loginItems};
    FakeFavorites favorites;
    FakeInstalledApps installed;
    UsLayout layout;
    bool hasFn = true;
    int fnSurveys = 0; // how often the views asked
    ui::ViewServices services{launchAtLogin,
                              favorites,
                              installed,
                              layout,
                              model::defaultTopRowKeys(),
                              [this] {
                                  ++fnSurveys;
                                  return hasFn;
                              },
                              "GNOME"};
};

// Counts the writes of one setting.
template <typename T> struct WriteCounter {
    explicit WriteCounter(model::UserDefault<T>& setting)
        : subscription(
              setting.publisher().subscribe([this](const T& value) { values.push_back(value); }))
    {
    }
    std::vector<T> values;
    typename model::Subject<T>::Subscription subscription;
};

inline model::LaunchTarget keyTarget(model::CustomKey key)
{
    return model::KeyTarget{key};
}

} // namespace orvane::test

// The test runs without a display: offscreen unless the environment asks for another platform.
#define ORVANE_UI_TEST_MAIN(TestClass)                                                             \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        setenv("QT_QPA_PLATFORM", "offscreen", 0);                                                 \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
