// SPDX-License-Identifier: GPL-3.0-or-later
// Orvane's own name, version and build number, compiled in from the build.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace orvane::model {

// Information keys, named as the About window and the menus look them up.
namespace infoKey {
inline constexpr std::string_view name = "CFBundleName";
inline constexpr std::string_view shortVersion = "CFBundleShortVersionString";
inline constexpr std::string_view version = "CFBundleVersion";
} // namespace infoKey

using InfoDictionary = std::map<std::string, std::string, std::less<>>;

// Orvane's own information: name, version and build number.
const InfoDictionary& mainBundleInfo();

// The value under `key`, or "⚠️" when there is none.
std::string infoString(const InfoDictionary& info, std::string_view key);

// The application's name ("Orvane"), or the empty text when the build carries none.
std::string appName();

} // namespace orvane::model
