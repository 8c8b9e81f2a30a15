// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of KeyboardMonitor::handleEvent per event: an unmapped key, a mapped key-down, and a whole
// mapped short press (down and up, with the executor queueing its posts). A short press is two
// events: its time per event is half the reported time (items_per_second counts events).
#include "engine/KeyboardMonitor.h"
#include "model/DefaultKeyMapping.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace orvane;
using namespace orvane::engine;

namespace {

namespace vk = model::virtualKey;

class SteppingClock final : public Clock {
public:
    std::chrono::nanoseconds now() override { return m_now += std::chrono::microseconds(10); }

private:
    std::chrono::nanoseconds m_now{0};
};

// Keeps queued tasks until the benchmark drops them outside the timed region.
class HoldingQueue final : public MainQueue {
public:
    void async(std::function<void()> task) override { tasks.push_back(std::move(task)); }
    std::vector<std::function<void()>> tasks;
};

class NullPoster final : public EventPoster {
public:
    void post(const KeyEvent&) override {}
};

class NullWorkspace final : public Workspace {
public:
    std::optional<std::string> frontmostApplicationId() override { return std::nullopt; }
    std::optional<std::string> applicationIdAt(const std::string&) override { return std::nullopt; }
    bool hideRunningApplication(const std::string&) override { return false; }
    void openApplication(const std::string&, std::function<void(std::string)>) override {}
};

struct Fixture {
    Fixture() : monitor(clock, model::defaultTopRowKeys())
    {
        queue.tasks.reserve(1 << 16);
        monitor.setExecutors(model::defaultKeyMapping(model::defaultTopRowKeys(), {}),
                             {queue, poster, workspace});
        monitor.setLongPressDelay(0.2);
    }
    SteppingClock clock;
    HoldingQueue queue;
    NullPoster poster;
    NullWorkspace workspace;
    KeyboardMonitor monitor;
};

KeyEvent keyEvent(std::uint32_t type, std::int64_t code)
{
    KeyEvent event;
    event.type = type;
    event.keyCode = code;
    return event;
}

void BM_UnmappedKey(benchmark::State& state)
{
    Fixture fixture;
    const KeyEvent letter = keyEvent(eventType::keyDown, vk::a);
    for (auto _ : state) {
        KeyEvent event = letter;
        benchmark::DoNotOptimize(fixture.monitor.handleEvent(event));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_MappedKeyDown(benchmark::State& state)
{
    Fixture fixture;
    // F1 and F2 in turn: every down opens a new press, as a first key-down does.
    const KeyEvent downs[2] = {keyEvent(eventType::keyDown, vk::f1),
                               keyEvent(eventType::keyDown, vk::f2)};
    std::size_t i = 0;
    for (auto _ : state) {
        KeyEvent event = downs[i++ & 1];
        benchmark::DoNotOptimize(fixture.monitor.handleEvent(event));
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_MappedShortPress(benchmark::State& state)
{
    Fixture fixture;
    const KeyEvent down = keyEvent(eventType::keyDown, vk::f1);
    const KeyEvent up = keyEvent(eventType::keyUp, vk::f1);
    for (auto _ : state) {
        KeyEvent first = down;
        benchmark::DoNotOptimize(fixture.monitor.handleEvent(first));
        KeyEvent second = up;
        benchmark::DoNotOptimize(fixture.monitor.handleEvent(second));
        if (fixture.queue.tasks.size() > 60000) {
            state.PauseTiming();
            fixture.queue.tasks.clear();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations() * 2); // per event, two events a press
}

} // namespace

BENCHMARK(BM_UnmappedKey);
BENCHMARK(BM_MappedKeyDown);
BENCHMARK(BM_MappedShortPress);
BENCHMARK_MAIN();
