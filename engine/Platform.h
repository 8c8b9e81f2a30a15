// SPDX-License-Identifier: GPL-3.0-or-later
// The small interfaces through which the engine reaches the system. Each platform implements
// them; tests use recording fakes.
#pragma once

#include "KeyEvent.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::engine {

// Where executors defer their work, so that nothing is posted from inside the event callback.
// Tasks run in the order they were queued, on the thread that runs the monitor.
class MainQueue {
public:
    virtual ~MainQueue() = default;
    virtual void async(std::function<void()> task) = 0;
};

// Writes an already-stamped event into the system's keyboard stream, where it passes through the
// monitor again like any posted event.
class EventPoster {
public:
    virtual ~EventPoster() = default;
    virtual void post(const KeyEvent& event) = 0;
};

// Applications, addressed by path (a .desktop file or an executable on Linux).
class Workspace {
public:
    virtual ~Workspace() = default;
    // The identifier of the frontmost application, when the session can tell.
    virtual std::optional<std::string> frontmostApplicationId() = 0;
    // The identifier of the application at `path`, when it has one.
    virtual std::optional<std::string> applicationIdAt(const std::string& path) = 0;
    // Hides the first running application with this identifier; false when none runs.
    virtual bool hideRunningApplication(const std::string& id) = 0;
    // Opens and activates the application. `onError` may run on any thread, with the error's text.
    virtual void openApplication(const std::string& path,
                                 std::function<void(std::string error)> onError) = 0;
};

// Monotonic time; the monitor reads it once per event.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::nanoseconds now() = 0;
};

// The system hook that feeds events to the monitor.
class EventTap {
public:
    virtual ~EventTap() = default;
    virtual void setEnabled(bool isEnabled) = 0;
};

// Diagnostics from the engine; the layers above decide where they go.
class Log {
public:
    enum class Level { debug, info, error };
    virtual ~Log() = default;
    virtual void write(Level level, std::string_view category, std::string_view text) = 0;
};

} // namespace orvane::engine
