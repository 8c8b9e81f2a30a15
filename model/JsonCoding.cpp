// SPDX-License-Identifier: GPL-3.0-or-later
#include "JsonCoding.h"

#include <limits>
#include <optional>

namespace orvane::model::json {

namespace {

using Kind = DecodingError::Kind;

std::string foundKind(const Json& value)
{
    switch (value.type()) {
    case Json::value_t::null:
        return "null";
    case Json::value_t::boolean:
        return "a boolean";
    case Json::value_t::string:
        return "a string";
    case Json::value_t::array:
        return "an array";
    case Json::value_t::object:
        return "a dictionary";
    case Json::value_t::number_float:
        return "a floating-point number";
    default:
        return "a number";
    }
}

Path appended(const Path& path, std::string member)
{
    Path result = path;
    result.push_back(std::move(member));
    return result;
}

DecodingError mismatch(const Path& path, std::string_view expected, const Json& found)
{
    if (found.is_null()) {
        return {Kind::valueNotFound, path,
                "Expected " + std::string(expected) + " value but found null instead."};
    }
    return {Kind::typeMismatch, path,
            "Expected to decode " + std::string(expected) + " but found " + foundKind(found) +
                " instead."};
}

DecodingError invalidCount(const Path& path)
{
    return {Kind::typeMismatch, path, std::string(invalidKeyCount)};
}

Decoded<std::string> decodeString(const Json& value, const Path& path)
{
    if (!value.is_string())
        return mismatch(path, "String", value);
    return value.get<std::string>();
}

Decoded<std::int64_t> decodeInt64(const Json& value, const Path& path)
{
    if (value.is_number_unsigned() &&
        value.get<std::uint64_t>() > std::uint64_t{std::numeric_limits<std::int64_t>::max()}) {
        return DecodingError{Kind::dataCorrupted, path,
                             "Parsed JSON number <" + value.dump() + "> does not fit in Int64."};
    }
    if (!value.is_number_integer())
        return mismatch(path, "Int64", value);
    return value.get<std::int64_t>();
}

Decoded<std::uint64_t> decodeUInt64(const Json& value, const Path& path)
{
    if (value.is_number_integer() && !value.is_number_unsigned()) {
        return DecodingError{Kind::dataCorrupted, path,
                             "Parsed JSON number <" + value.dump() + "> does not fit in UInt64."};
    }
    if (!value.is_number_unsigned())
        return mismatch(path, "UInt64", value);
    return value.get<std::uint64_t>();
}

// Decodes the required member `name` of an object with `decode`, or says that it is missing.
template <typename Decode>
auto decodeMember(const Json& object, const Path& path, const std::string& name, Decode decode)
    -> decltype(decode(object, path))
{
    const auto it = object.find(name);
    if (it == object.end()) {
        return DecodingError{Kind::keyNotFound, path,
                             "No value associated with key \"" + name + "\"."};
    }
    return decode(*it, appended(path, name));
}

// The one member of `object` whose name is in `names`, ignoring all others.
template <std::size_t N>
std::optional<std::size_t> soleRecognisedMember(const Json& object,
                                                const std::array<std::string_view, N>& names)
{
    std::optional<std::size_t> found;
    for (const auto& [name, value] : object.items()) {
        for (std::size_t i = 0; i < N; ++i) {
            if (name != names[i])
                continue;
            if (found)
                return std::nullopt;
            found = i;
        }
    }
    return found;
}

constexpr std::array<std::string_view, 3> targetCases{"app", "key", "keyboardShortcut"};

Decoded<LaunchTarget> decodeCase(std::size_t index, const Json& fields, const Path& path)
{
    switch (index) {
    case 0: {
        auto appPath = decodeMember(fields, path, "path", decodeString);
        if (!appPath)
            return appPath.error();
        return LaunchTarget{AppTarget{std::move(appPath).value()}};
    }
    case 1: {
        auto key = decodeMember(fields, path, "key", decodeCustomKey);
        if (!key)
            return key.error();
        return LaunchTarget{KeyTarget{key.value()}};
    }
    default: {
        auto shortcut = decodeMember(fields, path, "shortcut", decodeShortcut);
        if (!shortcut)
            return shortcut.error();
        auto description = decodeMember(fields, path, "description", decodeString);
        if (!description)
            return description.error();
        return LaunchTarget{ShortcutTarget{shortcut.value(), std::move(description).value()}};
    }
    }
}

} // namespace

Json encode(CustomKey key)
{
    return Json::object({{std::string(caseName(key)), Json::object()}});
}

Json encode(const Shortcut& shortcut)
{
    // Member order matters to people reading the file, so keep "key" first.
    Json object = Json::object();
    object["key"] = shortcut.key.rawValue;
    object["modifiers"] = shortcut.modifiers;
    return object;
}

Json encode(const LaunchTarget& target)
{
    return std::visit(
        [](const auto& payload) -> Json {
            using T = std::decay_t<decltype(payload)>;
            if constexpr (std::is_same_v<T, AppTarget>) {
                return {{"app", {{"path", payload.path}}}};
            } else if constexpr (std::is_same_v<T, KeyTarget>) {
                return {{"key", {{"key", encode(payload.key)}}}};
            } else {
                return {{"keyboardShortcut",
                         {{"shortcut", encode(payload.shortcut)},
                          {"description", payload.description}}}};
            }
        },
        target);
}

Json encode(const KeyMapConfig& config)
{
    return {{"shortPress", encode(config.shortPress)},
            {"longPress", encode(config.longPress)},
            {"fn", encode(config.fn)}};
}

Json encode(const KeyMapping& mapping)
{
    Json array = Json::array();
    for (const auto& config : mapping)
        array.push_back(encode(config));
    return array;
}

Decoded<CustomKey> decodeCustomKey(const Json& value, const Path& path)
{
    if (!value.is_object())
        return mismatch(path, "Dictionary<String, Any>", value);
    std::optional<CustomKey> found;
    for (const auto& [name, inner] : value.items()) {
        if (auto key = customKeyNamed(name)) {
            if (found)
                return invalidCount(path);
            found = key;
        }
    }
    if (!found)
        return invalidCount(path);
    const auto name = std::string(caseName(*found));
    if (!value.at(name).is_object())
        return mismatch(appended(path, name), "Dictionary<String, Any>", value.at(name));
    return *found;
}

Decoded<Shortcut> decodeShortcut(const Json& value, const Path& path)
{
    if (!value.is_object())
        return mismatch(path, "Dictionary<String, Any>", value);
    auto key = decodeMember(value, path, "key", decodeInt64);
    if (!key)
        return key.error();
    auto modifiers = decodeMember(value, path, "modifiers", decodeUInt64);
    if (!modifiers)
        return modifiers.error();
    return Shortcut{{key.value()}, modifiers.value()};
}

Decoded<LaunchTarget> decodeLaunchTarget(const Json& value, const Path& path)
{
    if (!value.is_object())
        return mismatch(path, "Dictionary<String, Any>", value);
    const auto index = soleRecognisedMember(value, targetCases);
    if (!index)
        return invalidCount(path);
    const auto name = std::string(targetCases[*index]);
    const Json& fields = value.at(name);
    const Path fieldsPath = appended(path, name);
    if (!fields.is_object())
        return mismatch(fieldsPath, "Dictionary<String, Any>", fields);
    return decodeCase(*index, fields, fieldsPath);
}

Decoded<KeyMapConfig> decodeKeyMapConfig(const Json& value, const Path& path)
{
    if (!value.is_object())
        return mismatch(path, "Dictionary<String, Any>", value);
    std::array<std::optional<LaunchTarget>, 3> targets;
    constexpr std::array<const char*, 3> names{"shortPress", "longPress", "fn"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto target = decodeMember(value, path, names[i], decodeLaunchTarget);
        if (!target)
            return target.error();
        targets[i] = std::move(target).value();
    }
    return KeyMapConfig{std::move(*targets[0]), std::move(*targets[1]), std::move(*targets[2])};
}

Decoded<KeyMapping> decodeKeyMapping(const Json& value, const Path& path)
{
    if (!value.is_array())
        return mismatch(path, "Array<Any>", value);
    KeyMapping mapping;
    mapping.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        auto config = decodeKeyMapConfig(value[i], appended(path, std::to_string(i)));
        if (!config)
            return config.error(); // all or nothing: no partial mapping
        mapping.push_back(std::move(config).value());
    }
    return mapping;
}

bool nestsDeeperThan(std::string_view text, std::size_t limit)
{
    std::size_t depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i; // the escaped character cannot end the string
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit)
                return true;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return false;
}

Decoded<Json> parse(std::string_view text)
{
    if (nestsDeeperThan(text, maxDepth))
        return DecodingError{Kind::dataCorrupted, {}, "The given data was not valid JSON."};
    Json value = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (value.is_discarded())
        return DecodingError{Kind::dataCorrupted, {}, "The given data was not valid JSON."};
    return value;
}

Decoded<KeyMapping> decodeKeyMappingText(std::string_view text)
{
    auto value = parse(text);
    if (!value)
        return value.error();
    return decodeKeyMapping(value.value());
}

std::string toText(const Json& value)
{
    // Replace, not throw, on invalid UTF-8 in a stored string: the rest is still worth writing.
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace orvane::model::json

namespace orvane::model {

std::string DecodingError::message() const
{
    if (codingPath.empty())
        return description;
    std::string where;
    for (const auto& step : codingPath) {
        const bool isIndex =
            !step.empty() && step.find_first_not_of("0123456789") == std::string::npos;
        where += isIndex ? "[" + step + "]" : (where.empty() ? "" : ".") + step;
    }
    return description + " (at " + where + ")";
}

} // namespace orvane::model
