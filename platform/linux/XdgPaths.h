// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user base directories of the XDG base directory rules.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace orvane::platform {

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::filesystem::path configHome();
// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
std::filesystem::path dataHome();
// $XDG_DATA_DIRS (absolute entries only), else /usr/local/share and /usr/share.
std::vector<std::filesystem::path> dataDirs();
// $XDG_CONFIG_DIRS (absolute entries only), else /etc/xdg.
std::vector<std::filesystem::path> configDirs();

} // namespace orvane::platform
