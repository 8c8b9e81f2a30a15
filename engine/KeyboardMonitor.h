// SPDX-License-Identifier: GPL-3.0-or-later
// Recognises the events of the twelve top-row positions, classifies each press as short, long or
// fn, swallows the key's own events and drives the position's executors. Single-threaded: every
// call comes from the thread that delivers the events.
#pragma once

#include "KeyEvent.h"
#include "LaunchTargetExecutor.h"
#include "Platform.h"

#include "model/KeyProps.h"
#include "model/LaunchTarget.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

namespace orvane::engine {

struct KeyExecutorConfig {
    std::unique_ptr<LaunchTargetExecutor> shortPress;
    std::unique_ptr<LaunchTargetExecutor> longPress;
    std::unique_ptr<LaunchTargetExecutor> fn;
};

enum class Verdict : std::uint8_t { pass, swallow };

class KeyboardMonitor {
public:
    static constexpr std::chrono::nanoseconds initialLongPressDelay{300'000'000};

    // Registers F1-F12, then the keyboard's own top row, which wins where the two clash.
    KeyboardMonitor(Clock& clock, const model::TopRow& topRow, Log* log = nullptr);

    // Adds the events of twelve keys; the index in the list is the position.
    void registerKeys(std::span<const model::CustomKey> keys);

    // Replaces all executors at once: one config per mapping entry, by the executor factory.
    void setExecutors(const model::KeyMapping& mapping, const ExecutorContext& context);
    void setExecutors(std::vector<KeyExecutorConfig> executors);

    std::chrono::nanoseconds longPressDelay() const noexcept { return m_longPressDelay; }
    void setLongPressDelay(std::chrono::nanoseconds delay) noexcept { m_longPressDelay = delay; }
    // Seconds, as stored; a value that is not a finite number of seconds leaves the delay as is.
    void setLongPressDelay(double seconds) noexcept;

    // Attaches the tap that delivers events; it is re-enabled when it reports a timeout.
    void start(EventTap& tap) noexcept;

    // The event callback. May rewrite the flags of a passed event (Orvane's own media keys).
    Verdict handleEvent(KeyEvent& event) noexcept;

    bool isFnDown() const noexcept { return m_isFnDown; }

private:
    struct Position {
        std::int64_t index;
        bool isDown;
    };
    struct KeyDownState {
        std::int64_t keyCode;
        std::chrono::nanoseconds timestamp;
        bool longPressRepeat;
    };

    Verdict handleKeyEvent(KeyEvent& event, std::chrono::nanoseconds now) noexcept;
    Verdict runPress(const KeyExecutorConfig& executors, bool isDown, std::int64_t keyCode,
                     std::chrono::nanoseconds now) noexcept;
    void log(Log::Level level, std::string_view text) noexcept;

    static std::uint64_t eventKey(std::uint32_t type, std::uint32_t code) noexcept
    {
        return (std::uint64_t{type} << 32) | code;
    }

    Clock& m_clock;
    Log* m_log;
    EventTap* m_eventTap = nullptr;
    std::chrono::nanoseconds m_longPressDelay = initialLongPressDelay;
    std::vector<KeyExecutorConfig> m_keyExecutors;
    std::unordered_map<std::uint64_t, Position> m_eventMapping;
    std::optional<KeyDownState> m_keyDownState;
    bool m_isFnDown = false;
};

} // namespace orvane::engine
