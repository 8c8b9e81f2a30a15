// SPDX-License-Identifier: GPL-3.0-or-later
// How each setting's value type is turned into its stored JSON text and back.
#pragma once

#include "DecodingError.h"
#include "LaunchTarget.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvane::model {

template <typename T> struct SettingCoding;

template <> struct SettingCoding<KeyMapping> {
    static std::optional<std::string> encode(const KeyMapping& value);
    static Decoded<KeyMapping> decode(std::string_view text);
};

// A finite number; infinities and NaN have no JSON form, so they cannot be encoded.
template <> struct SettingCoding<double> {
    static std::optional<std::string> encode(double value);
    static Decoded<double> decode(std::string_view text);
};

template <> struct SettingCoding<bool> {
    static std::optional<std::string> encode(bool value);
    static Decoded<bool> decode(std::string_view text);
};

} // namespace orvane::model
