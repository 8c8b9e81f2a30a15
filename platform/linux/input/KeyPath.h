// SPDX-License-Identifier: GPL-3.0-or-later
// The key path: each grabbed keyboard's frames, in the order they were made, through the
// keyboard monitor to the output keyboard, and the executors' posted events after them. The
// functions every key runs through are marked hot, here, in the input thread's loop, the monitor
// and the translation: the compiler keeps them together, so that a key touches few pages of code.
#pragma once

#include "InputLog.h"
#include "KeyboardSet.h"
#include "RunState.h"
#include "UinputKeyboard.h"

#include "engine/KeyboardMonitor.h"
#include "engine/TaskQueue.h"
#include "model/KeyProps.h"

#include <linux/input.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace orvane::platform {

// An event's own time, on the monotonic clock; absent where none is known (a keyboard that cannot
// stamp its events so, or a release Orvane makes up for a keyboard that is gone).
using EventTime = std::optional<std::chrono::nanoseconds>;

// The monitor's clock. The monitor asks for the time once per event through engine::Clock (its
// interface takes no time), so the key path passes each event's time down to the call that hands
// the event over and holds it there: the monitor measures a press by its keys' own times, and a
// busy moment never turns a short press into a long one. Without a held time, the clock's own.
class EventClock final : public engine::Clock {
public:
    class [[nodiscard]] Hold {
    public:
        Hold(EventClock& clock, EventTime time) noexcept
            : m_clock(clock), m_previous(std::exchange(clock.m_held, time))
        {
        }
        ~Hold() { m_clock.m_held = m_previous; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        EventClock& m_clock;
        EventTime m_previous;
    };

    std::chrono::nanoseconds now() override;

private:
    EventTime m_held;
};

class KeyPath final : engine::EventTap, engine::EventPoster {
public:
    // Used on the input thread once it runs. Everything passed in outlives the key path.
    KeyPath(engine::Workspace& workspace, engine::Log& log, const model::TopRow& topRow,
            KeyboardSet& keyboards, UinputKeyboard& output, RunState& run);

    KeyPath(const KeyPath&) = delete;
    KeyPath& operator=(const KeyPath&) = delete;

    void start(const model::KeyMapping& mapping, double longPressDelay);
    void setKeyMapping(const model::KeyMapping& mapping);
    void setLongPressDelay(double seconds);

    // Reads and handles whatever waits on these keyboards (the epoll pass found them readable).
    void readKeyboards(std::span<const std::uint64_t> ids);
    // Reads and handles what a wait on the keyboard found.
    void readKeyboard(Keyboard& keyboard);
    // A keyboard that is gone, or cannot be watched any more: the keys it held are released,
    // then it leaves the set.
    void removeKeyboard(Keyboard& keyboard);
    // The executors' queue is dropped unrun when the input thread ends.
    void dropTasks() noexcept { m_tasks.clear(); }

private:
    // The engine's interfaces.
    void setEnabled(bool isEnabled) override { m_isTapEnabled = isEnabled; }
    void post(const engine::KeyEvent& event) override;

    bool pullFrame(Keyboard& keyboard);
    void handleFrames(std::vector<Keyboard*>& ready);
    void handleEvent(Keyboard& keyboard, const input_event& event);
    void handleKey(Keyboard& keyboard, const input_event& event, EventTime at);
    std::optional<engine::KeyEvent> placedEvent(Keyboard& keyboard, int code, int value) noexcept;
    engine::Verdict deliver(engine::KeyEvent& event, EventTime at) noexcept;
    engine::Verdict monitorVerdict(engine::KeyEvent& event) noexcept;
    void flushFrame(Keyboard& keyboard, EventTime at);
    void releasePostedKeys(Keyboard& keyboard);
    void outputFailed() noexcept;
    std::uint64_t modifierFlags() const noexcept;

    KeyboardSet& m_keyboards;
    UinputKeyboard& m_output;
    RunState& m_run;
    InputLog m_log;
    EventClock m_clock;
    engine::TaskQueue m_tasks; // the executors' queue
    engine::ExecutorContext m_context;
    engine::KeyboardMonitor m_monitor;
    bool m_isTapEnabled = false;

    // The physical key (keyboard, code) whose press or repeat the current frame carries, and,
    // for every key an executor holds down on the output, the physical key whose press put it
    // there.
    using KeyOwner = std::pair<std::uint64_t, int>;
    std::optional<KeyOwner> m_pressedKey;
    std::map<int, KeyOwner> m_postedOwners;
    std::vector<Keyboard*> m_ready; // kept, so reading allocates nothing

    // The evdev code of the machine's row key at each position, -1 where it has none; and the
    // position the current frame's key was placed at, with the code the keyboard sent for it.
    std::array<int, 12> m_rowCodes{};
    std::array<bool, 12> m_standsForOwnKey{}; // an action of the row key sends the key's own
    struct PlacedPress {
        std::size_t position;
        int ownCode;
    };
    std::optional<PlacedPress> m_placedPress;
};

} // namespace orvane::platform
