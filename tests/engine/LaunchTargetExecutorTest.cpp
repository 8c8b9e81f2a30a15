// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/LaunchTargetExecutor.h"
#include "engine/TaskQueue.h"

#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::engine;

namespace {

class Executors : public ::testing::Test {
protected:
    // Runs `op` on the executor for `target`; checks nothing is posted before the queue runs.
    std::vector<KeyEvent> run(const model::LaunchTarget& target, void (LaunchTargetExecutor::*op)())
    {
        const auto executor = makeExecutor(target, context);
        ((*executor).*op)();
        EXPECT_TRUE(poster.posted.empty()) << "posted from inside the callback";
        queue.drain();
        auto posted = std::move(poster.posted);
        poster.posted.clear();
        for (const auto& event : posted)
            EXPECT_EQ(event.userData, postedEventMarker);
        return posted;
    }

    TaskQueue queue;
    test::RecordingPoster poster;
    test::FakeWorkspace workspace;
    test::RecordingLog log;
    ExecutorContext context{queue, poster, workspace, &log};
};

struct Posted {
    std::uint32_t type;
    std::int64_t keyCode;
    std::uint64_t flags;
    std::int64_t autorepeat;
    std::int64_t data1;
};

std::vector<Posted> summary(const std::vector<KeyEvent>& events)
{
    std::vector<Posted> result;
    result.reserve(events.size());
    for (const auto& e : events)
        result.push_back({e.type, e.keyCode, e.flags, e.autorepeat, e.data1});
    return result;
}

bool operator==(const Posted& a, const Posted& b)
{
    return a.type == b.type && a.keyCode == b.keyCode && a.flags == b.flags &&
           a.autorepeat == b.autorepeat && a.data1 == b.data1;
}

std::ostream& operator<<(std::ostream& out, const Posted& p)
{
    return out << "{type " << p.type << ", key " << p.keyCode << ", flags 0x" << std::hex << p.flags
               << ", repeat " << std::dec << p.autorepeat << ", data1 0x" << std::hex << p.data1
               << std::dec << "}";
}

constexpr std::uint32_t D = eventType::keyDown;
constexpr std::uint32_t U = eventType::keyUp;
constexpr std::uint32_t S = eventType::systemDefined;
constexpr std::uint64_t nc = eventFlag::nonCoalesced;

} // namespace

TEST_F(Executors, PostedEventsPerOperation)
{
    using Op = void (LaunchTargetExecutor::*)();
    struct Row {
        const char* name;
        model::LaunchTarget target;
        Op op;
        std::vector<Posted> expected;
    };
    const model::LaunchTarget f1{model::KeyTarget{model::CustomKey::f1}};
    const model::LaunchTarget dictation{model::KeyTarget{model::CustomKey::dictation}};
    const model::LaunchTarget soundUp{model::KeyTarget{model::CustomKey::soundUp}};
    const model::LaunchTarget mute{model::KeyTarget{model::CustomKey::soundMute}};
    const auto shortcut = [](std::int64_t key, std::uint64_t modifiers) {
        return model::LaunchTarget{model::ShortcutTarget{{{key}, modifiers}, "label"}};
    };
    const Row rows[] = {
        {"key press: down then up",
         f1,
         &LaunchTargetExecutor::press,
         {{D, 122, 0, 0, 0}, {U, 122, 0, 0, 0}}},
        {"key down", f1, &LaunchTargetExecutor::keyDown, {{D, 122, 0, 0, 0}}},
        {"key repeat is a down marked as auto-repeat",
         f1,
         &LaunchTargetExecutor::keyRepeat,
         {{D, 122, 0, 1, 0}}},
        {"dictation does not repeat", dictation, &LaunchTargetExecutor::keyRepeat, {}},
        {"key up", f1, &LaunchTargetExecutor::keyUp, {{U, 122, 0, 0, 0}}},
        {"special press",
         soundUp,
         &LaunchTargetExecutor::press,
         {{S, 0, nc, 0, 0x0A00}, {S, 0, nc, 0, 0x0B00}}},
        {"special repeat", soundUp, &LaunchTargetExecutor::keyRepeat, {{S, 0, nc, 0, 0x0A01}}},
        {"special down of key type 7",
         mute,
         &LaunchTargetExecutor::keyDown,
         {{S, 0, nc, 0, 0x70A00}}},
        {"special up", mute, &LaunchTargetExecutor::keyUp, {{S, 0, nc, 0, 0x70B00}}},
        {"shortcut without modifiers sets no flags",
         shortcut(36, 0),
         &LaunchTargetExecutor::press,
         {{D, 36, 0, 0, 0}, {U, 36, 0, 0, 0}}},
        {"command-shift-K",
         shortcut(40, 0x120000),
         &LaunchTargetExecutor::press,
         {{D, 56, 0x20000, 0, 0},
          {D, 55, 0x120000, 0, 0},
          {D, 40, 0x120000, 0, 0},
          {U, 40, 0x120000, 0, 0},
          {U, 55, 0x20000, 0, 0},
          {U, 56, 0, 0, 0}}},
        {"all modifiers: control, option, shift, command, reverse on release",
         shortcut(122, 0x1E0000 | 0x800000),
         &LaunchTargetExecutor::keyDown,
         {{D, 59, 0x40000, 0, 0},
          {D, 58, 0xC0000, 0, 0},
          {D, 56, 0xE0000, 0, 0},
          {D, 55, 0x1E0000, 0, 0},
          {D, 122, 0x1E0000, 0, 0},
          {U, 122, 0x1E0000, 0, 0},
          {U, 55, 0xE0000, 0, 0},
          {U, 56, 0xC0000, 0, 0},
          {U, 58, 0x40000, 0, 0},
          {U, 59, 0, 0, 0}}},
        {"shortcut repeat does nothing",
         shortcut(40, 0x100000),
         &LaunchTargetExecutor::keyRepeat,
         {}},
        {"shortcut up does nothing", shortcut(40, 0x100000), &LaunchTargetExecutor::keyUp, {}},
        {"a key code no event can carry posts nothing, not even modifiers",
         shortcut(70000, 0x100000),
         &LaunchTargetExecutor::press,
         {}},
        {"a negative key code posts nothing",
         shortcut(-1, 0x40000),
         &LaunchTargetExecutor::press,
         {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(summary(run(row.target, row.op)), row.expected);
    }
}

TEST_F(Executors, FactoryPicksTheExecutorKind)
{
    using namespace model;
    const auto app = makeExecutor(AppTarget{"/a.desktop"}, context);
    EXPECT_EQ(dynamic_cast<AppLaunchTargetExecutor&>(*app).path(), "/a.desktop");
    const auto plain = makeExecutor(KeyTarget{CustomKey::missionControl}, context);
    EXPECT_EQ(dynamic_cast<KeyLaunchTargetExecutor&>(*plain).keyCode(), 160);
    const auto special = makeExecutor(KeyTarget{CustomKey::brightnessDown}, context);
    EXPECT_EQ(dynamic_cast<SpecialKeyLaunchTargetExectuor&>(*special).specialKey(),
              SpecialKey::NX_KEYTYPE_BRIGHTNESS_DOWN);
    const auto shortcut = makeExecutor(ShortcutTarget{{{40}, 0x100000}, "x"}, context);
    EXPECT_EQ(dynamic_cast<ShortcutLaunchTargetExecutor&>(*shortcut).shortcut(),
              (Shortcut{{40}, 0x100000}));
}

TEST_F(Executors, ApplicationTogglesBetweenOpenAndHide)
{
    const model::LaunchTarget files{model::AppTarget{"/apps/files.desktop"}};
    workspace.ids["/apps/files.desktop"] = "files";

    struct Row {
        const char* name;
        std::optional<std::string> frontmost;
        std::vector<std::string> opened;
        std::vector<std::string> hidden;
    };
    const Row rows[] = {
        {"nothing in front: open", std::nullopt, {"/apps/files.desktop"}, {}},
        {"another app in front: open", "editor", {"/apps/files.desktop"}, {}},
        {"the app itself in front: hide", "files", {}, {"files"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        workspace.frontmost = row.frontmost;
        workspace.opened.clear();
        workspace.hidden.clear();
        const auto executor = makeExecutor(files, context);
        executor->keyDown(); // the same as press
        executor->keyRepeat();
        executor->keyUp();
        EXPECT_TRUE(workspace.opened.empty()) << "opened from inside the callback";
        queue.drain();
        EXPECT_EQ(workspace.opened, row.opened);
        EXPECT_EQ(workspace.hidden, row.hidden);
    }
}

TEST_F(Executors, FailureToOpenIsLogged)
{
    workspace.openError = "No such application";
    const auto executor = makeExecutor(model::AppTarget{"/missing.desktop"}, context);
    executor->press();
    queue.drain();
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].text, "ERROR: No such application");
}

TEST_F(Executors, QueuedWorkOutlivesTheExecutor)
{
    // The mapping may change (and the executors be replaced) while posts are still queued.
    auto executor = makeExecutor(model::ShortcutTarget{{{40}, 0x100000}, "x"}, context);
    executor->press();
    executor.reset();
    queue.drain();
    EXPECT_EQ(poster.posted.size(), 4u);
}
