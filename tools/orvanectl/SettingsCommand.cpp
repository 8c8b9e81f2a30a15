// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl settings: read and change Orvane's four settings in the user's settings file, through
// the same store and the same read and write rules as Orvane itself.
#include "Commands.h"
#include "StoredSettings.h"

#include "model/JsonCoding.h"
#include "model/Preferences.h"
#include "platform/linux/desktop/SettingsFile.h"
#include "platform/linux/system/LinuxSystem.h"

#include <iostream>

namespace orvane::ctl {

namespace {

using model::json::Json;

constexpr std::string_view usage = "usage: orvanectl settings show\n"
                                   "       orvanectl settings get KEY\n"
                                   "       orvanectl settings set KEY JSON\n"
                                   "       orvanectl settings raw KEY [TEXT]\n";

bool isSetting(std::string_view key)
{
    for (const auto name : model::settingKey::all) {
        if (name == key)
            return true;
    }
    return false;
}

int unknownSetting(std::string_view key)
{
    std::cerr << "orvanectl settings: unknown setting '" << key << "'; the settings are";
    for (std::size_t i = 0; i < model::settingKey::all.size(); ++i)
        std::cerr << (i == 0 ? " " : ", ") << model::settingKey::all[i];
    std::cerr << '\n';
    return exitUsage;
}

// The value of one setting as a read returns it.
Json read(const model::Preferences& preferences, std::string_view key)
{
    if (key == model::settingKey::keyMapping)
        return model::json::encode(preferences.keyMapping.get());
    if (key == model::settingKey::longPressDelay)
        return preferences.longPressDelay.get();
    if (key == model::settingKey::showMenuBarIcon)
        return preferences.showMenuBarIcon.get();
    return preferences.firstRun.get();
}

template <typename T> int decodeAndWrite(model::UserDefault<T>& setting, std::string_view text)
{
    auto decoded = model::SettingCoding<T>::decode(text);
    if (!decoded) {
        std::cerr << "orvanectl settings: " << setting.key() << ": " << decoded.error().message()
                  << '\n';
        return exitUsage;
    }
    if (const auto error = setting.set(decoded.value())) {
        std::cerr << "orvanectl settings: cannot store " << setting.key() << ": " << error.message()
                  << '\n';
        return exitFailed;
    }
    return exitOk;
}

int write(model::Preferences& preferences, std::string_view key, std::string_view text)
{
    if (key == model::settingKey::keyMapping)
        return decodeAndWrite(preferences.keyMapping, text);
    if (key == model::settingKey::longPressDelay)
        return decodeAndWrite(preferences.longPressDelay, text);
    if (key == model::settingKey::showMenuBarIcon)
        return decodeAndWrite(preferences.showMenuBarIcon, text);
    return decodeAndWrite(preferences.firstRun, text);
}

int raw(platform::SettingsFile& store, Args args)
{
    if (args.size() == 1) {
        const auto text = store.string(args[0]);
        if (!text)
            return exitFailed;
        std::cout << *text;
        return exitOk;
    }
    if (const auto error = store.set(args[0], std::string(args[1]))) {
        std::cerr << "orvanectl settings: cannot store " << args[0] << ": " << error.message()
                  << '\n';
        return exitFailed;
    }
    return exitOk;
}

} // namespace

int settingsCommand(Args args)
{
    const std::string_view action = args.empty() ? std::string_view() : args[0];
    const Args rest = args.empty() ? args : args.subspan(1);
    const bool wellFormed = (action == "show" && rest.empty()) ||
                            (action == "get" && rest.size() == 1) ||
                            (action == "set" && rest.size() == 2) ||
                            (action == "raw" && (rest.size() == 1 || rest.size() == 2));
    if (!wellFormed) {
        std::cerr << usage;
        return exitUsage;
    }
    if (!rest.empty() && !isSetting(rest[0]))
        return unknownSetting(rest[0]);

    platform::LinuxSystem system;
    platform::SettingsFile& store = system.settings();
    if (action == "raw")
        return raw(store, rest);

    // The default mapping reads the keyboard and the favourites: only build it when it is shown.
    const bool needsDefaultMapping =
        action == "show" || (action == "get" && rest[0] == model::settingKey::keyMapping);
    model::Preferences preferences(store, needsDefaultMapping ? system.defaultKeyMapping()
                                                              : model::KeyMapping{});
    if (action == "show") {
        Json all = Json::object();
        for (const auto key : model::settingKey::all)
            all[std::string(key)] = read(preferences, key);
        std::cout << model::json::toText(all) << '\n';
        return exitOk;
    }
    if (action == "get") {
        std::cout << model::json::toText(read(preferences, rest[0])) << '\n';
        return exitOk;
    }
    return write(preferences, rest[0], rest[1]);
}

} // namespace orvane::ctl
