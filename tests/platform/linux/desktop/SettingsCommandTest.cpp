// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl's settings commands, run as a user would run them, against an empty config folder.
#include "support/Subprocess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace orvane {
namespace {

using test::Completed;

class SettingsCommandTest : public ::testing::Test {
protected:
    test::TempDir temp;
    std::filesystem::path config = temp.path() / "config";

    void SetUp() override
    {
        std::filesystem::create_directories(config);
        std::filesystem::create_directories(temp.path() / "share");
    }

    Completed ctl(const std::vector<std::string>& args)
    {
        // An empty desktop: no favourite applications, so the default mapping is the plain one.
        return test::run(test::commandLine(ORVANECTL, args),
                         {{"XDG_CONFIG_HOME", config.string()},
                          {"HOME", temp.path().string()},
                          {"XDG_DATA_HOME", (temp.path() / "share").string()},
                          {"XDG_DATA_DIRS", (temp.path() / "share").string()},
                          {"GSETTINGS_BACKEND", "memory"}});
    }

    bool configIsEmpty() const { return std::filesystem::is_empty(config); }
};

TEST_F(SettingsCommandTest, ShowOnAFreshFolderGivesTheDefaultsAndCreatesNothing)
{
    const auto shown = ctl({"settings", "show"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    const auto all = nlohmann::ordered_json::parse(shown.out);
    std::vector<std::string> keys;
    for (const auto& [key, value] : all.items())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"keyMapping", "longPressDelay", "showMenuBarIcon",
                                              "firstRun"}));
    EXPECT_EQ(all["keyMapping"].size(), 12U);
    EXPECT_EQ(all["keyMapping"][0]["shortPress"],
              nlohmann::ordered_json::parse(R"({"key":{"key":{"brightnessDown":{}}}})"));
    EXPECT_EQ(all["longPressDelay"], 0.2);
    EXPECT_EQ(all["showMenuBarIcon"], true);
    EXPECT_EQ(all["firstRun"], true);
    EXPECT_EQ(ctl({"settings", "get", "keyMapping"}).out, all["keyMapping"].dump() + "\n");
    EXPECT_TRUE(configIsEmpty());
}

// Each row starts from an empty folder, sets one value, then reads it back three ways.
TEST_F(SettingsCommandTest, SetDecodesAsTheSettingsTypeOrRefuses)
{
    const std::string twoCases =
        R"([{"shortPress":{"key":{"key":{"f1":{}}},"app":{"path":"/x"}},)"
        R"("longPress":{"key":{"key":{"f1":{}}}},"fn":{"key":{"key":{"f1":{}}}}}])";
    const std::string one =
        R"([{"shortPress":{"app":{"path":"/usr/share/applications/a b.desktop"}},)"
        R"("longPress":{"key":{"key":{"play":{}}}},)"
        R"("fn":{"keyboardShortcut":{"shortcut":{"key":40,"modifiers":1179648},"description":"K"}}}])";
    struct Row {
        const char* name;
        std::string key;
        std::string json;
        int exitCode;
        std::string stored; // what raw shows afterwards; empty: nothing stored
        std::string error;  // part of the refusal message
    };
    const Row rows[] = {
        {"delay", "longPressDelay", "0.35", 0, "0.35", ""},
        {"delay integer", "longPressDelay", "3", 0, "3.0", ""},
        {"delay as string", "longPressDelay", "\"0.5\"", 2, "",
         "Expected to decode Double but found a string instead."},
        {"delay not JSON", "longPressDelay", "fast", 2, "", ""},
        {"delay overflowing", "longPressDelay", "1e400", 2, "", ""},
        {"icon off", "showMenuBarIcon", "false", 0, "false", ""},
        {"icon as number", "showMenuBarIcon", "0", 2, "", "Expected to decode Bool"},
        {"first run null", "firstRun", "null", 2, "", "found null"},
        {"empty mapping", "keyMapping", "[]", 0, "[]", ""},
        {"one-entry mapping", "keyMapping", one, 0, one, ""},
        {"mapping entry with two cases", "keyMapping", twoCases, 2, "",
         "Invalid number of keys found, expected one."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(config);
        std::filesystem::create_directories(config);
        const auto set = ctl({"settings", "set", row.key, row.json});
        EXPECT_EQ(set.exitCode, row.exitCode) << set.err;
        EXPECT_NE(set.err.find(row.error), std::string::npos) << set.err;
        const auto raw = ctl({"settings", "raw", row.key});
        if (row.stored.empty()) {
            EXPECT_FALSE(set.err.empty());
            EXPECT_EQ(raw.exitCode, 1);
            EXPECT_TRUE(configIsEmpty());
            continue;
        }
        EXPECT_EQ(raw.exitCode, 0);
        EXPECT_EQ(raw.out, row.stored);
        const auto get = ctl({"settings", "get", row.key});
        EXPECT_EQ(nlohmann::json::parse(get.out), nlohmann::json::parse(row.json));
        const auto shown = nlohmann::json::parse(ctl({"settings", "show"}).out);
        EXPECT_EQ(shown[row.key], nlohmann::json::parse(row.json));
    }
}

TEST_F(SettingsCommandTest, RawStoresVerbatimAndReadsFallBack)
{
    ASSERT_EQ(ctl({"settings", "raw", "longPressDelay", "abc"}).exitCode, 0);
    ASSERT_EQ(ctl({"settings", "raw", "firstRun", " false "}).exitCode, 0);
    EXPECT_EQ(ctl({"settings", "raw", "longPressDelay"}).out, "abc");
    EXPECT_EQ(ctl({"settings", "raw", "firstRun"}).out, " false ");
    EXPECT_EQ(ctl({"settings", "get", "longPressDelay"}).out, "0.2\n");
    EXPECT_EQ(ctl({"settings", "get", "firstRun"}).out, "false\n");
    EXPECT_EQ(ctl({"settings", "raw", "showMenuBarIcon"}).exitCode, 1);
    EXPECT_EQ(ctl({"settings", "raw", "longPressDelay"}).out, "abc"); // reads changed nothing
}

TEST_F(SettingsCommandTest, UnknownSettingNamesTheFour)
{
    const std::vector<std::vector<std::string>> commands{
        {"settings", "get", "delay"},
        {"settings", "set", "delay", "1"},
        {"settings", "raw", "delay"},
        {"settings", "raw", "delay", "1"},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command[1]);
        const auto result = ctl(command);
        EXPECT_EQ(result.exitCode, 2);
        for (const char* name :
             {"'delay'", "keyMapping", "longPressDelay", "showMenuBarIcon", "firstRun"})
            EXPECT_NE(result.err.find(name), std::string::npos) << result.err;
    }
    EXPECT_EQ(ctl({"settings"}).exitCode, 2);
    EXPECT_EQ(ctl({"settings", "get"}).exitCode, 2);
    EXPECT_TRUE(configIsEmpty());
}

// replay without --mapping or --delay runs exactly as with the stored values given explicitly.
TEST_F(SettingsCommandTest, ReplayUsesTheStoredMappingAndDelay)
{
    const auto script = temp.path() / "hold.jsonl";
    test::writeText(script, "{\"at\": 0, \"type\": 10, \"keyCode\": 122}\n"
                            "{\"at\": 0.3, \"type\": 11, \"keyCode\": 122}\n");
    const auto mappingFile = temp.path() / "mapping.json";
    const std::string mapping =
        R"([{"shortPress":{"key":{"key":{"play":{}}}},)"
        R"("longPress":{"key":{"key":{"next":{}}}},"fn":{"key":{"key":{"f1":{}}}}}])";
    test::writeText(mappingFile, mapping);

    const auto plain = ctl({"replay", script.string()});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(plain.out, ctl({"replay", "--delay", "0.2", script.string()}).out);

    ASSERT_EQ(ctl({"settings", "set", "longPressDelay", "0.5"}).exitCode, 0);
    ASSERT_EQ(ctl({"settings", "set", "keyMapping", mapping}).exitCode, 0);
    const auto stored = ctl({"replay", script.string()});
    ASSERT_EQ(stored.exitCode, 0) << stored.err;
    EXPECT_EQ(
        stored.out,
        ctl({"replay", "--mapping", mappingFile.string(), "--delay", "0.5", script.string()}).out);
    EXPECT_NE(stored.out, plain.out);
    // An explicit option still wins over the stored value.
    EXPECT_EQ(
        ctl({"replay", "--delay", "0.2", script.string()}).out,
        ctl({"replay", "--mapping", mappingFile.string(), "--delay", "0.2", script.string()}).out);
}

} // namespace
} // namespace orvane
