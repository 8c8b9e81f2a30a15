// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl as a user runs it: real process, real files, output compared line by line.
#include "support/Subprocess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

struct Outcome {
    int exitCode;
    std::string out;
    std::string err;
};

std::string readAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs orvanectl through the shell with `args` (already quoted) and optional standard input.
Outcome orvanectl(const std::string& args, const std::string& input = "")
{
    // A folder of its own per run, so that tests running at the same time never share a file.
    const orvane::test::TempDir temp;
    const std::string dir = temp.path().string() + "/";
    const std::string in = dir + "in", out = dir + "out", err = dir + "err";
    std::ofstream(in) << input;
    // An empty configuration folder: nothing the user stored may change what replay prints.
    const std::string config = dir + "empty_config";
    const std::string command = "mkdir " + config + " && XDG_CONFIG_HOME=" + config + " " +
                                ORVANECTL + " " + args + " <" + in + " >" + out + " 2>" + err;
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readAll(out), readAll(err)};
}

const std::string data = TEST_DATA;

} // namespace

TEST(Orvanectl, ReplayReproducesRecordedScenarios)
{
    struct Row {
        const char* name;
        std::string args;
        std::string expected;
    };
    const Row rows[] = {
        {"worked timeline, delay 0.3", "replay --delay 0.3 " + data + "/worked_timeline.jsonl",
         data + "/worked_timeline.expected.jsonl"},
        {"app, shortcut and dictation on fn",
         "replay --mapping " + data + "/app_shortcut_dictation_mapping.json " + data +
             "/app_shortcut_dictation.jsonl",
         data + "/app_shortcut_dictation.expected.jsonl"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome outcome = orvanectl(row.args);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        EXPECT_EQ(outcome.out, readAll(row.expected));
    }
}

TEST(Orvanectl, ReplayReadsStandardInputAndDefaultsToTwoTenths)
{
    // Held 0.25 s: long with the default delay of 0.2, so the long press (F1) fires on release.
    const Outcome outcome = orvanectl("replay", "{\"at\":0,\"type\":10,\"keyCode\":122}\n"
                                                "{\"at\":0.25,\"type\":11,\"keyCode\":122}\n");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find(R"("executor":"longPress","op":"keyUp")"), std::string::npos)
        << outcome.out;
}

TEST(Orvanectl, BadInputIsRefusedClearly)
{
    const orvane::test::TempDir temp;
    const std::string dir = temp.path().string() + "/";
    std::ofstream(dir + "two_cases.json")
        << R"([{"shortPress":{"app":{"path":"p"},"key":{"key":{"f1":{}}}},)"
           R"("longPress":{"app":{"path":"p"}},"fn":{"app":{"path":"p"}}}])";
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    std::ofstream(dir + "deep_member.json")
        << R"([{"shortPress":{"app":{"path":"p"}},"longPress":{"app":{"path":"p"}},)"
           R"("fn":{"app":{"path":"p"}},"note":)" +
               deep + "}]";
    struct Row {
        const char* name;
        std::string args;
        std::string input;
        std::string messagePart;
    };
    const std::string event = "{\"at\":0,\"type\":10,\"keyCode\":122}\n";
    const Row rows[] = {
        {"mapping that does not decode", "replay --mapping " + dir + "two_cases.json", event,
         "Invalid number of keys found, expected one."},
        {"missing mapping file", "replay --mapping " + dir + "nothing_here.json", event,
         "cannot read"},
        {"delay that is not a number", "replay --delay soon", event, "--delay"},
        {"line that is not JSON", "replay", event + "{oops\n", "line 2"},
        {"line that is an array", "replay", "[1]\n", "line 1"},
        {"member of the wrong type", "replay", event + event + "{\"type\":\"10\"}\n", "line 3"},
        {"type beyond 32 bits", "replay", "{\"type\":4294967296}\n", "line 1"},
        {"negative time", "replay", "{\"at\":-1,\"type\":10}\n", "line 1"},
        {"time beyond the nanosecond clock", "replay", event + "{\"at\":1e10,\"type\":11}\n",
         "line 2: \"at\" must be a number of seconds from 0 to 1000000000"},
        {"time far beyond the clock", "replay", "{\"at\":1.7e308,\"type\":10}\n", "line 1"},
        {"line nested a hundred thousand deep", "replay",
         "{\"at\":0,\"type\":10,\"x\":" + deep + "}\n", "line 1: not a JSON object"},
        {"mapping with a member nested a hundred thousand deep",
         "replay --mapping " + dir + "deep_member.json", event, "not valid JSON"},
        {"unknown command", "frobnicate", "", "unknown command"},
        {"unknown top-row action", "toprow teach", "", "usage: orvanectl toprow"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome outcome = orvanectl(row.args, row.input);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_NE(outcome.err.find(row.messagePart), std::string::npos) << outcome.err;
    }
}

TEST(Orvanectl, KeysListsTheCatalogue)
{
    const Outcome outcome = orvanectl("keys");
    ASSERT_EQ(outcome.exitCode, 0);
    std::istringstream lines(outcome.out);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);)
        all.push_back(line);
    ASSERT_EQ(all.size(), 38u);
    EXPECT_EQ(all.front(), "missionControl\tMission Control\tkey 160");
    EXPECT_EQ(all[9], "soundMute\tMute\tspecial 7");
    EXPECT_EQ(all.back(), "f20\tF20\tkey 90");
}

// A damaged file of taught rows may still hold rows the user would miss: learning and forgetting
// refuse it, say where it is, and leave it byte for byte.
TEST(Orvanectl, TopRowLeavesADamagedFileOfTaughtRowsAsItIs)
{
    for (const char* action : {"learn", "forget"}) {
        SCOPED_TRACE(action);
        const orvane::test::TempDir temp;
        const std::string dir = temp.path().string() + "/";
        const std::string damaged = "{\"rows\":[{\"keys\":[null";
        ASSERT_EQ(std::system(("mkdir -p " + dir + "config/orvane").c_str()), 0);
        std::ofstream(dir + "config/orvane/toprows.json") << damaged;
        std::string command = "XDG_CONFIG_HOME=" + dir;
        command += "config " ORVANECTL " toprow ";
        command += action;
        command += " >";
        command += dir;
        command += "out 2>";
        command += dir;
        command += "err";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_NE(readAll(dir + "err").find("toprows.json"), std::string::npos)
            << readAll(dir + "err");
        EXPECT_EQ(readAll(dir + "config/orvane/toprows.json"), damaged);
    }
}
