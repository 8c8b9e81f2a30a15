// SPDX-License-Identifier: GPL-3.0-or-later
// The lines the configuration interface prints on standard output when the user picks a target.
#pragma once

#include <string_view>

namespace orvane::ui::diagnostic {

inline constexpr std::string_view select = "Select ";
inline constexpr std::string_view app = "App: ";

// Writes `prefix` and `text` as one line and flushes, so the line is seen even if Orvane dies.
void printLine(std::string_view prefix, std::string_view text);

} // namespace orvane::ui::diagnostic
