// SPDX-License-Identifier: GPL-3.0-or-later
// The key catalogue: for every key, its display name, what it is on the wire and its picture.
#pragma once

#include "CustomKey.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>

namespace orvane::model {

// What a key is on the wire: an ordinary key event with a virtual key code, or a system-defined
// event of a special key type.
struct KeyCodeTarget {
    std::uint16_t code;
    friend bool operator==(const KeyCodeTarget&, const KeyCodeTarget&) = default;
};
struct SpecialKeyTarget {
    SpecialKey key;
    friend bool operator==(const SpecialKeyTarget&, const SpecialKeyTarget&) = default;
};
using KeyMapTarget = std::variant<KeyCodeTarget, SpecialKeyTarget>;

// Where a key cap's picture comes from: a named system image, or Orvane's own image named after
// the key's display name.
struct SystemImage {
    std::string name;
    friend bool operator==(const SystemImage&, const SystemImage&) = default;
};
struct NamedImage {
    friend bool operator==(const NamedImage&, const NamedImage&) = default;
};
using KeyImage = std::variant<SystemImage, NamedImage>;

struct KeyProp {
    std::string name;
    KeyMapTarget target;
    std::optional<KeyImage> image; // absent: the cap shows `name` as text
};

struct KeyPropRow {
    CustomKey key;
    KeyProp prop;
};

// All 38 rows in catalogue order (named keys first, then F1 to F20).
std::span<const KeyPropRow> keyProps() noexcept;
// The catalogue entry of a key; every key has one.
const KeyProp& keyProp(CustomKey key) noexcept;

using TopRow = std::array<CustomKey, 12>;

// F1 to F12: position i of the top row and of the key mapping.
const TopRow& functionKeys() noexcept;
// The top row of a keyboard that tells nothing about itself.
const TopRow& defaultTopRowKeys() noexcept;

} // namespace orvane::model
