// SPDX-License-Identifier: GPL-3.0-or-later
// The subcommands of orvanectl. Each takes the arguments after its name and returns the exit code.
#pragma once

#include <span>
#include <string_view>

namespace orvane::ctl {

using Args = std::span<const std::string_view>;

// Exit codes shared by all subcommands.
inline constexpr int exitOk = 0;
inline constexpr int exitFailed = 1;
inline constexpr int exitUsage = 2;

int keysCommand(Args args);
int replayCommand(Args args);
int settingsCommand(Args args);
int favoritesCommand(Args args);
int topRowCommand(Args args);
int loginCommand(Args args);
int keyNameCommand(Args args);
int runCommand(Args args);
int doctorCommand(Args args);

} // namespace orvane::ctl
