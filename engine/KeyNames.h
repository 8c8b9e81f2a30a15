// Display text for keys and shortcuts: fixed names for special keys, the current keyboard layout
// for the rest, and the keys the shortcut editor offers.
#pragma once

#include "model/Shortcut.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvane::engine {

// The user's current keyboard layout.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // The text the key types with no modifier held, or nothing when the key types no text.
    virtual std::optional<std::string> translate(std::uint16_t keyCode) const = 0;
};

// Special key names first, then the layout; the result is upper-cased.
std::optional<std::string> keyName(std::int64_t keyCode, const KeyboardLayout& layout);

// Modifier symbols in the order control, option, shift, command, fn.
std::string modifierDescription(std::uint64_t modifiers);

// Modifier symbols, then the key's name, or U+FFFD when the key has none.
std::string shortcutDescription(const model::Shortcut& shortcut, const KeyboardLayout& layout);

using SelectableKey = std::pair<std::int64_t, std::string>;

// The keys the shortcut editor offers, named by the layout passed at the first call: built once
// per process, so later layout changes do not show here.
const std::vector<SelectableKey>& selectableKeys(const KeyboardLayout& layout);

// Upper case for the scripts keyboard layouts type (Latin, Greek, Cyrillic); other text as is.
std::string toUpper(std::string_view text);

} // namespace orvane::engine
