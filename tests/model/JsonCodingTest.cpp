// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/JsonCoding.h"
#include "model/KeyProps.h"

#include <gtest/gtest.h>

using namespace orvane::model;
using orvane::model::json::Json;

namespace {

const std::string invalidCount(json::invalidKeyCount);

struct DecodeRow {
    const char* name;
    const char* text;
    bool isOk;
    std::string error; // expected description when not ok; empty: any error
};

Json parsed(const char* text)
{
    return Json::parse(text);
}

} // namespace

TEST(CustomKeyCoding, EncodesAsOneMemberObject)
{
    EXPECT_EQ(json::toText(json::encode(CustomKey::soundMute)), R"({"soundMute":{}})");
    EXPECT_EQ(json::toText(json::encode(CustomKey::missionControl)), R"({"missionControl":{}})");
}

TEST(CustomKeyCoding, EveryKeyRoundTrips)
{
    for (const auto& row : keyProps()) {
        SCOPED_TRACE(std::string(caseName(row.key)));
        const auto decoded = json::decodeCustomKey(json::encode(row.key));
        ASSERT_TRUE(decoded.ok());
        EXPECT_EQ(decoded.value(), row.key);
    }
}

TEST(CustomKeyCoding, DecodingRules)
{
    const DecodeRow rows[] = {
        {"plain", R"({"f1":{}})", true, ""},
        {"inner members and unknown siblings are ignored", R"({"f1":{"x":1},"other":true})", true,
         ""},
        {"unknown sibling object", R"({"f1":{},"unknown":{}})", true, ""},
        {"empty object", R"({})", false, invalidCount},
        {"wrong case", R"({"F1":{}})", false, invalidCount},
        {"lower-case m", R"({"soundmute":{}})", false, invalidCount},
        {"two keys", R"({"f1":{},"f2":{}})", false, invalidCount},
        {"not a key name", R"({"f21":{}})", false, invalidCount},
        {"member value not an object", R"({"f1":true})", false, ""},
        {"not an object", R"("f1")", false, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto decoded = json::decodeCustomKey(parsed(row.text));
        EXPECT_EQ(decoded.ok(), row.isOk);
        if (row.isOk) {
            EXPECT_EQ(decoded.value(), CustomKey::f1);
        } else if (!row.error.empty()) {
            EXPECT_EQ(decoded.error().description, row.error);
        }
    }
}

TEST(LaunchTargetCoding, DecodingRules)
{
    const DecodeRow rows[] = {
        {"app", R"({"app":{"path":"/a.desktop"}})", true, ""},
        {"app with empty path", R"({"app":{"path":""}})", true, ""},
        {"key", R"({"key":{"key":{"f5":{}}}})", true, ""},
        {"shortcut",
         R"({"keyboardShortcut":{"shortcut":{"key":40,"modifiers":1179648},"description":"d"}})",
         true, ""},
        {"extra unrecognised member", R"({"app":{"path":"p","x":1},"extra":{}})", true, ""},
        {"two cases", R"({"app":{"path":"p"},"key":{"key":{"f1":{}}}})", false, invalidCount},
        {"empty object", R"({})", false, invalidCount},
        {"only unknown members", R"({"App":{"path":"p"}})", false, invalidCount},
        {"key names no key", R"({"key":{"key":{"f21":{}}}})", false, invalidCount},
        {"missing path", R"({"app":{}})", false, "No value associated with key \"path\"."},
        {"null path", R"({"app":{"path":null}})", false,
         "Expected String value but found null instead."},
        {"path of wrong type", R"({"app":{"path":3}})", false,
         "Expected to decode String but found a number instead."},
        {"shortcut without modifiers",
         R"({"keyboardShortcut":{"shortcut":{"key":40},"description":"d"}})", false,
         "No value associated with key \"modifiers\"."},
        {"shortcut without description",
         R"({"keyboardShortcut":{"shortcut":{"key":40,"modifiers":0}}})", false,
         "No value associated with key \"description\"."},
        {"shortcut key not an integer",
         R"({"keyboardShortcut":{"shortcut":{"key":"K","modifiers":0},"description":""}})", false,
         ""},
        {"shortcut key fractional",
         R"({"keyboardShortcut":{"shortcut":{"key":1.5,"modifiers":0},"description":""}})", false,
         ""},
        {"negative modifiers",
         R"({"keyboardShortcut":{"shortcut":{"key":1,"modifiers":-1},"description":""}})", false,
         ""},
        {"case value not an object", R"({"app":"p"})", false, ""},
        {"an array", R"([])", false, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto decoded = json::decodeLaunchTarget(parsed(row.text));
        EXPECT_EQ(decoded.ok(), row.isOk);
        if (!row.isOk && !row.error.empty()) {
            EXPECT_EQ(decoded.error().description, row.error);
        }
    }
}

TEST(LaunchTargetCoding, StoredFormAndRoundTrip)
{
    const LaunchTarget targets[] = {
        AppTarget{""},
        AppTarget{"/usr/share/applications/org.gnome.Nautilus.desktop"},
        KeyTarget{CustomKey::f5},
        // Bits outside the five modifiers and extreme key numbers are kept as they are.
        ShortcutTarget{{{40}, 0x120000 | 0x1}, "Find"},
        ShortcutTarget{{{-7}, 0xFFFFFFFFFFFFFFFF}, "ünïcode \"quoted\""},
    };
    for (const auto& target : targets) {
        const Json encoded = json::encode(target);
        SCOPED_TRACE(json::toText(encoded));
        const auto reparsed = json::parse(json::toText(encoded));
        ASSERT_TRUE(reparsed.ok());
        const auto decoded = json::decodeLaunchTarget(reparsed.value());
        ASSERT_TRUE(decoded.ok());
        EXPECT_EQ(decoded.value(), target);
    }
    EXPECT_EQ(json::toText(json::encode(LaunchTarget{KeyTarget{CustomKey::f5}})),
              R"({"key":{"key":{"f5":{}}}})");
    EXPECT_EQ(
        json::toText(json::encode(LaunchTarget{ShortcutTarget{{{40}, 1179648}, "d"}})),
        R"({"keyboardShortcut":{"shortcut":{"key":40,"modifiers":1179648},"description":"d"}})");
}

TEST(LaunchTarget, EqualityIsCaseAndEveryField)
{
    const ShortcutTarget findShortcut{{{40}, 0x120000}, "Find"};
    struct Row {
        const char* name;
        LaunchTarget a;
        LaunchTarget b;
        bool isEqual;
    };
    const Row rows[] = {
        {"same path", AppTarget{"/a"}, AppTarget{"/a"}, true},
        {"trailing slash", AppTarget{"/a"}, AppTarget{"/a/"}, false},
        {"letter case", AppTarget{"/a"}, AppTarget{"/A"}, false},
        {"same key", KeyTarget{CustomKey::f1}, KeyTarget{CustomKey::f1}, true},
        {"other key", KeyTarget{CustomKey::f1}, KeyTarget{CustomKey::f2}, false},
        {"same shortcut", findShortcut, findShortcut, true},
        {"other description", findShortcut, ShortcutTarget{{{40}, 0x120000}, "Search"}, false},
        {"other modifiers", findShortcut, ShortcutTarget{{{40}, 0x100000}, "Find"}, false},
        {"other case", AppTarget{"f1"}, KeyTarget{CustomKey::f1}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.a == row.b, row.isEqual);
    }
}

TEST(KeyMappingCoding, TwelveEntriesRoundTrip)
{
    KeyMapping mapping;
    for (std::size_t i = 0; i < 12; ++i) {
        mapping.push_back({KeyTarget{defaultTopRowKeys()[i]},
                           AppTarget{"/apps/" + std::to_string(i) + ".desktop"},
                           ShortcutTarget{{{std::int64_t(i)}, 0x40000}, "s" + std::to_string(i)}});
    }
    const auto decoded = json::decodeKeyMappingText(json::toText(json::encode(mapping)));
    ASSERT_TRUE(decoded.ok());
    ASSERT_EQ(decoded.value().size(), mapping.size());
    for (std::size_t i = 0; i < mapping.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(decoded.value()[i].shortPress, mapping[i].shortPress);
        EXPECT_EQ(decoded.value()[i].longPress, mapping[i].longPress);
        EXPECT_EQ(decoded.value()[i].fn, mapping[i].fn);
    }
}

TEST(KeyMappingCoding, OneBadEntryFailsTheWholeList)
{
    const auto good =
        R"({"shortPress":{"key":{"key":{"f1":{}}}},"longPress":{"app":{"path":"p"}},"fn":{"key":{"key":{"f1":{}}}}})";
    const auto bad =
        R"({"shortPress":{"key":{"key":{"f21":{}}}},"longPress":{"app":{"path":"p"}},"fn":{"key":{"key":{"f1":{}}}}})";
    const auto decoded = json::decodeKeyMappingText(std::string("[") + good + "," + bad + "]");
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.error().description, invalidCount);
    EXPECT_EQ(decoded.error().message(), invalidCount + " (at [1].shortPress.key.key)");

    const DecodeRow rows[] = {
        {"missing fn", R"([{"shortPress":{"app":{"path":"p"}},"longPress":{"app":{"path":"p"}}}])",
         false, "No value associated with key \"fn\"."},
        {"not an array", R"({"shortPress":{}})", false, ""},
        {"not JSON", R"([{"shortPress")", false, "The given data was not valid JSON."},
        {"empty list", R"([])", true, ""},
        {"members in any order, extras ignored",
         R"([{"fn":{"app":{"path":"p"}},"x":0,"longPress":{"app":{"path":"p"}},"shortPress":{"app":{"path":"p"}}}])",
         true, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto result = json::decodeKeyMappingText(row.text);
        EXPECT_EQ(result.ok(), row.isOk);
        if (!row.isOk && !row.error.empty()) {
            EXPECT_EQ(result.error().description, row.error);
        }
    }
}

// Nesting beyond any stored form is refused before it is parsed, so that no recursion over the
// value (a copy, a dump) can run the stack out; brackets inside strings do not count.
TEST(JsonParse, DeepNestingIsRefusedBeforeParsing)
{
    const auto nested = [](std::size_t depth) {
        return std::string(depth, '[') + std::string(depth, ']');
    };
    const std::string entry =
        R"({"shortPress":{"app":{"path":"p"}},"longPress":{"app":{"path":"p"}},"fn":{"app":{"path":"p"}},"x":)";
    struct Row {
        const char* name;
        std::string text;
        bool isOk;
    };
    const Row rows[] = {
        {"at the limit", nested(json::maxDepth), true},
        {"one beyond the limit", nested(json::maxDepth + 1), false},
        {"a hundred thousand deep", nested(100000), false},
        {"objects count too", std::string(100000, '{'), false},
        {"brackets inside a string", "\"" + std::string(100000, '[') + "\"", true},
        {"escaped quote does not end the string", "\"\\\"" + std::string(1000, '[') + "\"", true},
        {"closers first do not lower the count", std::string(1000, ']') + nested(1000), false},
        {"deep member of a mapping entry", "[" + entry + nested(5000) + "}]", false},
        {"shallow member of a mapping entry", "[" + entry + nested(3) + "}]", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto parsedText = json::parse(row.text);
        if (row.isOk) {
            EXPECT_TRUE(parsedText.ok());
        } else {
            ASSERT_FALSE(parsedText.ok());
            EXPECT_EQ(parsedText.error().kind, DecodingError::Kind::dataCorrupted);
            EXPECT_EQ(parsedText.error().description, "The given data was not valid JSON.");
        }
    }
    EXPECT_TRUE(json::decodeKeyMappingText("[" + entry + nested(3) + "}]").ok());
    EXPECT_FALSE(json::decodeKeyMappingText("[" + entry + nested(5000) + "}]").ok());
}
