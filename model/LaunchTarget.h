// SPDX-License-Identifier: GPL-3.0-or-later
// What a press does (LaunchTarget) and the three actions of one top-row position (KeyMapConfig).
#pragma once

#include "CustomKey.h"
#include "Shortcut.h"

#include <string>
#include <variant>
#include <vector>

namespace orvane::model {

struct AppTarget {
    std::string path; // compared exactly: a trailing slash or another letter case differs
    friend bool operator==(const AppTarget&, const AppTarget&) = default;
};

struct KeyTarget {
    CustomKey key;
    friend bool operator==(const KeyTarget&, const KeyTarget&) = default;
};

struct ShortcutTarget {
    Shortcut shortcut;
    std::string description; // the user's label; part of equality, not of what is sent
    friend bool operator==(const ShortcutTarget&, const ShortcutTarget&) = default;
};

// Case order: app, key, keyboardShortcut.
using LaunchTarget = std::variant<AppTarget, KeyTarget, ShortcutTarget>;

struct KeyMapConfig {
    LaunchTarget shortPress;
    LaunchTarget longPress;
    LaunchTarget fn;
};

// Entry i belongs to functionKeys()[i]; readers stop at the shorter of the two lists.
using KeyMapping = std::vector<KeyMapConfig>;

} // namespace orvane::model
