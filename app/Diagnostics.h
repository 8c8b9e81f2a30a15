// SPDX-License-Identifier: GPL-3.0-or-later
// The lines the shell writes to standard output, in one place, and where they go.
#pragma once

#include <iostream>
#include <string>
#include <string_view>

namespace orvane::app {

namespace line {
inline constexpr std::string_view finishLaunching = "Finish launching: ";
inline constexpr std::string_view login = " - login ";
inline constexpr std::string_view firstTimeRun = "---- first time run";
inline constexpr std::string_view keyMappingChanged = "-----Key mapping changed: ";
inline constexpr std::string_view delayChanged = "-----delay changed: ";
inline constexpr std::string_view showPreferences = "Show preferences";
inline constexpr std::string_view appReopen = "App reopen";
inline constexpr std::string_view closeWindow = "---- close window";
} // namespace line

// Standard output of the shell; tests record it instead.
class Console {
public:
    virtual ~Console() = default;
    virtual void line(const std::string& text) = 0;
};

class StdoutConsole final : public Console {
public:
    void line(const std::string& text) override { std::cout << text << std::endl; }
};

} // namespace orvane::app
