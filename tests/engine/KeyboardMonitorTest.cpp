// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/KeyboardMonitor.h"

#include "support/Fakes.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::engine;
using orvane::test::FakeClock;

namespace {

constexpr std::int64_t f1 = 122;
constexpr std::int64_t f2 = 120;
constexpr std::int64_t letterA = 0;
constexpr std::int64_t missionControl = 160;
constexpr std::uint16_t brightnessDown = 3; // special key type at position 0

KeyEvent key(std::uint32_t type, std::int64_t code, std::uint64_t flags = 0)
{
    KeyEvent event;
    event.type = type;
    event.keyCode = code;
    event.flags = flags;
    return event;
}
KeyEvent down(std::int64_t code, std::uint64_t flags = 0)
{
    return key(eventType::keyDown, code, flags);
}
KeyEvent repeat(std::int64_t code)
{
    KeyEvent event = down(code);
    event.autorepeat = 1;
    return event;
}
KeyEvent up(std::int64_t code, std::uint64_t flags = 0)
{
    return key(eventType::keyUp, code, flags);
}
KeyEvent fnFlags(bool isDown)
{
    return key(eventType::flagsChanged, 63, isDown ? eventFlag::secondaryFn : 0);
}
KeyEvent special(std::uint16_t type, std::uint32_t state)
{
    KeyEvent event = key(eventType::systemDefined, 0);
    event.data1 = systemDefinedData1(type, state);
    return event;
}

struct Step {
    double at;
    KeyEvent event;
};

struct Timeline {
    const char* name;
    double delay;
    std::vector<Step> steps;
    // Executor calls ("position.role.op") and each event's verdict, in the order they happen.
    std::vector<std::string> transcript;
};

class MonitorFixture {
public:
    explicit MonitorFixture(std::size_t positions = 12) : monitor(clock, model::defaultTopRowKeys())
    {
        std::vector<KeyExecutorConfig> executors;
        for (std::size_t i = 0; i < positions; ++i) {
            const std::string p = std::to_string(i) + ".";
            executors.push_back(
                {std::make_unique<test::RecordingExecutor>(transcript, p + "short."),
                 std::make_unique<test::RecordingExecutor>(transcript, p + "long."),
                 std::make_unique<test::RecordingExecutor>(transcript, p + "fn.")});
        }
        monitor.setExecutors(std::move(executors));
    }

    Verdict feed(double at, KeyEvent event)
    {
        clock.setSeconds(at);
        const Verdict verdict = monitor.handleEvent(event);
        transcript.emplace_back(verdict == Verdict::pass ? "pass" : "swallow");
        return verdict;
    }

    FakeClock clock;
    KeyboardMonitor monitor;
    std::vector<std::string> transcript;
};

} // namespace

TEST(KeyboardMonitor, Timelines)
{
    const Timeline rows[] = {
        {"worked timeline: long press with auto-repeat",
         0.3,
         {{0, down(f1)}, {0.25, repeat(f1)}, {0.33, repeat(f1)}, {0.36, repeat(f1)}, {0.5, up(f1)}},
         {"swallow", "swallow", "0.long.keyDown", "swallow", "0.long.keyRepeat", "swallow",
          "0.long.keyUp", "swallow"}},
        {"worked timeline: released at 0.2 is short",
         0.3,
         {{0, down(f1)}, {0.2, up(f1)}},
         {"swallow", "0.short.press", "swallow"}},
        {"repeat at exactly the delay does nothing, release at exactly the delay is long",
         0.2,
         {{0.1, down(f2)}, {0.3, repeat(f2)}, {0.3, up(f2)}},
         {"swallow", "swallow", "1.long.keyUp", "swallow"}},
        {"release just before the delay is short",
         0.2,
         {{1, down(f2)}, {1.199999999, up(f2)}},
         {"swallow", "1.short.press", "swallow"}},
        {"released after the delay with no repeat: only keyUp",
         0.2,
         {{0, down(f1)}, {0.9, up(f1)}},
         {"swallow", "0.long.keyUp", "swallow"}},
        {"fn press: down, repeats, up go to fn",
         0.2,
         {{0, fnFlags(true)}, {0, down(f1)}, {0.5, repeat(f1)}, {0.6, repeat(f1)}, {0.7, up(f1)}},
         {"pass", "0.fn.keyDown", "swallow", "0.fn.keyRepeat", "swallow", "0.fn.keyRepeat",
          "swallow", "0.fn.keyUp", "swallow"}},
        {"fn released before the key: judged on elapsed time",
         0.2,
         {{0, fnFlags(true)}, {0, down(f1)}, {0.05, fnFlags(false)}, {0.1, up(f1)}},
         {"pass", "0.fn.keyDown", "swallow", "pass", "0.short.press", "swallow"}},
        {"held modifiers pass the key untouched",
         0.2,
         {{0, down(f1, eventFlag::shift)},
          {0.1, up(f1, eventFlag::shift)},
          {0.2, down(f1, eventFlag::control)},
          {0.3, down(f1, eventFlag::option)},
          {0.4, down(f1, eventFlag::command)}},
         {"pass", "pass", "pass", "pass", "pass"}},
        {"unmapped key clears the press; the mapped release then passes",
         0.2,
         {{0, down(f1)}, {0.05, down(letterA)}, {0.1, up(f1)}},
         {"swallow", "pass", "pass"}},
        {"a key-up with no press in progress passes", 0.2, {{0, up(f1)}}, {"pass"}},
        {"a second mapped key replaces the press; the first one's release passes",
         0.2,
         {{0, down(f1)}, {0.05, down(f2)}, {0.1, up(f1)}, {0.12, up(f2)}},
         {"swallow", "swallow", "pass", "1.short.press", "swallow"}},
        {"both keys of a position select it: system-defined brightness down and F1",
         0.2,
         {{0, special(brightnessDown, keyState::down)},
          {0.1, special(brightnessDown, keyState::up)},
          {1, down(f1)},
          {1.1, up(f1)}},
         {"swallow", "0.short.press", "swallow", "swallow", "0.short.press", "swallow"}},
        {"system-defined repeat bit starts a long press",
         0.2,
         {{0, special(brightnessDown, keyState::down)},
          {0.3, special(brightnessDown, keyState::repeat)},
          {0.4, special(brightnessDown, keyState::repeat)},
          {0.5, special(brightnessDown, keyState::up)}},
         {"swallow", "0.long.keyDown", "swallow", "0.long.keyRepeat", "swallow", "0.long.keyUp",
          "swallow"}},
        {"top-row key code wins over nothing: mission control is position 2",
         0.2,
         {{0, down(missionControl)}, {0.1, up(missionControl)}},
         {"swallow", "2.short.press", "swallow"}},
        {"a system-defined key that is not in the top row passes",
         0.2,
         {{0, special(21, keyState::down)}},
         {"pass"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        MonitorFixture fixture;
        fixture.monitor.setLongPressDelay(row.delay);
        for (const auto& step : row.steps)
            fixture.feed(step.at, step.event);
        EXPECT_EQ(fixture.transcript, row.transcript);
    }
}

TEST(KeyboardMonitor, PassesEventsOfOtherProcessesAndItsOwn)
{
    MonitorFixture fixture;
    KeyEvent other = down(f1);
    other.sourcePid = 4242;
    EXPECT_EQ(fixture.feed(0, other), Verdict::pass);

    struct Row {
        const char* name;
        std::int64_t keyCode;
        std::uint64_t flags;
        std::uint64_t flagsAfter;
    };
    const std::uint64_t fnAndShift = eventFlag::secondaryFn | eventFlag::shift;
    const Row rows[] = {
        {"spotlight loses fn", 177, fnAndShift, eventFlag::shift},
        {"focus loses fn", 178, eventFlag::secondaryFn, 0},
        {"dictation flags become exactly non-coalesced", 176, fnAndShift, eventFlag::nonCoalesced},
        {"other marked keys keep their flags", f1, fnAndShift, fnAndShift},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        KeyEvent event = down(row.keyCode, row.flags);
        event.userData = postedEventMarker;
        EXPECT_EQ(fixture.monitor.handleEvent(event), Verdict::pass);
        EXPECT_EQ(event.flags, row.flagsAfter);
    }
    EXPECT_EQ(fixture.transcript, (std::vector<std::string>{"pass"}));
}

TEST(KeyboardMonitor, MappedKeyWithoutExecutorsPasses)
{
    // Before the first mapping, or with a stored mapping shorter than twelve entries, a key
    // keeps its own meaning instead of disappearing.
    MonitorFixture fixture(/*positions=*/1);
    EXPECT_EQ(fixture.feed(0, down(f2)), Verdict::pass);
    EXPECT_EQ(fixture.feed(0.1, up(f2)), Verdict::pass);
    EXPECT_EQ(fixture.feed(1, down(f1)), Verdict::swallow);
}

TEST(KeyboardMonitor, CodesOutsideTheEventKeyRangePass)
{
    MonitorFixture fixture;
    KeyEvent huge = special(brightnessDown, keyState::down);
    huge.data1 += std::int64_t{1} << 32; // the low 32 bits alone would match brightness down
    EXPECT_EQ(fixture.feed(0, huge), Verdict::pass);
    EXPECT_EQ(fixture.feed(0, down(f1 - (std::int64_t{1} << 32))), Verdict::pass);
}

TEST(KeyboardMonitor, TapEventsAndUnexpectedTypes)
{
    FakeClock clock;
    test::RecordingLog log;
    test::FakeTap tap;
    KeyboardMonitor monitor(clock, model::defaultTopRowKeys(), &log);
    monitor.start(tap);
    ASSERT_EQ(tap.enableCalls, (std::vector<bool>{true}));

    KeyEvent timeout = key(eventType::tapDisabledByTimeout, 0);
    EXPECT_EQ(monitor.handleEvent(timeout), Verdict::pass);
    KeyEvent userInput = key(eventType::tapDisabledByUserInput, 0);
    EXPECT_EQ(monitor.handleEvent(userInput), Verdict::pass);
    EXPECT_EQ(tap.enableCalls, (std::vector<bool>{true, true})) << "only a timeout re-enables";

    KeyEvent mouse = key(1, 0);
    EXPECT_EQ(monitor.handleEvent(mouse), Verdict::pass);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].category, "KeyboardMonitor");
    EXPECT_EQ(log.lines[0].text, "Unexpected event: 1");
    EXPECT_EQ(log.lines[0].level, Log::Level::info);
}

TEST(KeyboardMonitor, NewExecutorsAndDelayTakeEffectWithTheNextEvent)
{
    MonitorFixture fixture;
    fixture.monitor.setLongPressDelay(1.0);
    fixture.feed(0, down(f1));
    fixture.monitor.setLongPressDelay(0.1);
    fixture.feed(0.5, up(f1));
    EXPECT_EQ(fixture.transcript, (std::vector<std::string>{"swallow", "0.long.keyUp", "swallow"}));

    // A delay that is not a number of seconds is ignored rather than breaking every press.
    fixture.monitor.setLongPressDelay(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(fixture.monitor.longPressDelay(), std::chrono::milliseconds(100));
    EXPECT_EQ(KeyboardMonitor(fixture.clock, model::defaultTopRowKeys()).longPressDelay(),
              std::chrono::milliseconds(300));
}
