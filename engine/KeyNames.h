// SPDX-License-Identifier: GPL-3.0-or-later
// Display text for keys and shortcuts: fixed names for special keys, the current keyboard layout
// for the rest, and the keys the shortcut editor offers.
#pragma once

#include "model/Shortcut.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane::engine {

// The user's current keyboard layout.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // The text the key types with no modifier held, or nothing when the key types no text.
    virtual std::optional<std::string> translate(std::uint16_t keyCode) const = 0;
    // `text` in capitals. Case mapping needs Unicode's tables, which the platform's text library
    // has; this fallback maps ASCII letters only.
    virtual std::string upperCase(std::string_view text) const;
};

// Special key names first, then the layout's text in the layout's capitals.
std::optional<std::string> keyName(std::int64_t keyCode, const KeyboardLayout& layout);

// Modifier symbols in the order control, option, shift, command, fn.
std::string modifierDescription(std::uint64_t modifiers);

// Modifier symbols, then the key's name, or U+FFFD when the key has none.
std::string shortcutDescription(const model::Shortcut& shortcut, const KeyboardLayout& layout);

using SelectableKey = std::pair<std::int64_t, std::string>;

// The keys the shortcut editor offers, named by the layout passed at the first call: built once
// per process, so later layout changes do not show here.
const std::vector<SelectableKey>& selectableKeys(const KeyboardLayout& layout);

} // namespace orvane::engine
