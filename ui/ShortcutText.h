// SPDX-License-Identifier: GPL-3.0-or-later
// Shortcuts as Linux users read them: "Ctrl+Shift+Super+4". The stored modifier flags keep the
// system's bits; only the words shown differ from the symbols the engine uses.
#pragma once

#include "engine/KeyNames.h"
#include "model/Shortcut.h"

#include <QString>

namespace orvane::ui {

// "Ctrl", "Alt", "Shift", "Super" and "Fn" for the bits that are set, in that order, joined
// with "+"; empty without modifiers.
QString modifierNames(std::uint64_t modifiers);

// The modifiers, then the key's name (or U+FFFD when the key has none), joined with "+".
QString shortcutText(const model::Shortcut& shortcut, const engine::KeyboardLayout& layout);

} // namespace orvane::ui
