// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingCoding.h"

#include "JsonCoding.h"

#include <cmath>

namespace orvane::model {

namespace {

using Kind = DecodingError::Kind;

std::string foundKind(const json::Json& value)
{
    switch (value.type()) {
    case json::Json::value_t::null:
        return "null";
    case json::Json::value_t::boolean:
        return "a boolean";
    case json::Json::value_t::string:
        return "a string";
    case json::Json::value_t::array:
        return "an array";
    case json::Json::value_t::object:
        return "a dictionary";
    default:
        return "a number";
    }
}

DecodingError mismatch(std::string_view expected, const json::Json& found)
{
    if (found.is_null()) {
        return {Kind::valueNotFound,
                {},
                "Expected " + std::string(expected) + " value but found null instead."};
    }
    return {Kind::typeMismatch,
            {},
            "Expected to decode " + std::string(expected) + " but found " + foundKind(found) +
                " instead."};
}

} // namespace

std::optional<std::string> SettingCoding<KeyMapping>::encode(const KeyMapping& value)
{
    return json::toText(json::encode(value));
}

Decoded<KeyMapping> SettingCoding<KeyMapping>::decode(std::string_view text)
{
    return json::decodeKeyMappingText(text);
}

std::optional<std::string> SettingCoding<double>::encode(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return json::toText(json::Json(value));
}

Decoded<double> SettingCoding<double>::decode(std::string_view text)
{
    auto parsed = json::parse(text);
    if (!parsed)
        return parsed.error();
    const json::Json& value = parsed.value();
    if (!value.is_number())
        return mismatch("Double", value);
    const double number = value.get<double>();
    if (!std::isfinite(number)) {
        return DecodingError{Kind::dataCorrupted,
                             {},
                             "Parsed JSON number <" + std::string(text) +
                                 "> does not fit in Double."};
    }
    return number;
}

std::optional<std::string> SettingCoding<bool>::encode(bool value)
{
    return value ? "true" : "false";
}

Decoded<bool> SettingCoding<bool>::decode(std::string_view text)
{
    auto parsed = json::parse(text);
    if (!parsed)
        return parsed.error();
    if (!parsed.value().is_boolean())
        return mismatch("Bool", parsed.value());
    return parsed.value().get<bool>();
}

} // namespace orvane::model
