// SPDX-License-Identifier: GPL-3.0-or-later
// The shell's user-interface texts, looked up by key through Qt's translation system (context
// "Orvane", the key as the disambiguation). The English default of every key is compiled in, so a
// missing translation still reads well.
#pragma once

#include <QString>

#include <string_view>

namespace orvane::app {

namespace stringKey {
inline constexpr std::string_view menuPreferences = "Menu.Preferences";
inline constexpr std::string_view menuAbout = "Menu.About";
inline constexpr std::string_view menuFeedback = "Menu.Feedback";
inline constexpr std::string_view menuQuit = "Menu.Quit";
inline constexpr std::string_view buttonQuit = "Button.Quit";
inline constexpr std::string_view windowPreferences = "Window.Preferences";
inline constexpr std::string_view windowAbout = "Window.About";
inline constexpr std::string_view windowGuide = "Window.Guide";
} // namespace stringKey

class Strings {
public:
    // The translated text for `key`, or its default; an unknown key reads as itself.
    static QString text(std::string_view key);
    // text(key) with the application's name in place of "%@".
    static QString withAppName(std::string_view key);
};

} // namespace orvane::app
