// SPDX-License-Identifier: GPL-3.0-or-later
// The stored JSON forms of keys, shortcuts, launch targets and key mappings.
#pragma once

#include "CustomKey.h"
#include "DecodingError.h"
#include "LaunchTarget.h"
#include "Shortcut.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace orvane::model::json {

using Json = nlohmann::ordered_json; // keeps members in written order
using Path = std::vector<std::string>;

inline constexpr std::string_view invalidKeyCount = "Invalid number of keys found, expected one.";

Json encode(CustomKey key);
Json encode(const Shortcut& shortcut);
Json encode(const LaunchTarget& target);
Json encode(const KeyMapConfig& config);
Json encode(const KeyMapping& mapping);

// Each decoder takes the coding path of `value`, so errors name where in the document they are.
Decoded<CustomKey> decodeCustomKey(const Json& value, const Path& path = {});
Decoded<Shortcut> decodeShortcut(const Json& value, const Path& path = {});
Decoded<LaunchTarget> decodeLaunchTarget(const Json& value, const Path& path = {});
Decoded<KeyMapConfig> decodeKeyMapConfig(const Json& value, const Path& path = {});
Decoded<KeyMapping> decodeKeyMapping(const Json& value, const Path& path = {});

// Deeper nesting than this is refused before it is parsed: nothing an outside file holds may
// drive a recursion (a copy, a dump, a destructor) deep enough to exhaust the stack.
inline constexpr std::size_t maxDepth = 512;

// Whether arrays and objects in `text` nest deeper than `limit`; strings are skipped.
bool nestsDeeperThan(std::string_view text, std::size_t limit);

// Parses text first; text that is not JSON, or that nests deeper than `maxDepth`, is a
// dataCorrupted error. Every JSON text from outside Orvane is read through here.
Decoded<Json> parse(std::string_view text);
Decoded<KeyMapping> decodeKeyMappingText(std::string_view text);

// Compact text, as stored.
std::string toText(const Json& value);

} // namespace orvane::model::json
