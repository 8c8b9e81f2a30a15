// SPDX-License-Identifier: GPL-3.0-or-later
// The replay world: a clock that reads the script's times, a queue drained after every event, a
// poster that feeds posted events back through the monitor, and a workspace with no frontmost
// application. Everything that happens is printed as JSON lines.
#pragma once

#include "engine/KeyboardMonitor.h"
#include "engine/TaskQueue.h"
#include "model/JsonCoding.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace orvane::ctl {

// A finite number of seconds, or nothing.
std::optional<double> parseSeconds(const std::string& text);

class ReplayEngine final : engine::Clock, engine::EventPoster, engine::Workspace {
public:
    ReplayEngine(const model::TopRow& topRow, const model::KeyMapping& mapping, double delaySeconds,
                 std::ostream& out);

    // Runs every line of the script; false, with the line named on `errors`, at the first bad one.
    bool run(std::istream& script, std::ostream& errors);

    // What the replay prints as it goes; public for the recording executors.
    void print(const char* what, model::json::Json value);

private:
    std::chrono::nanoseconds now() override { return m_now; }
    void post(const engine::KeyEvent& event) override;
    std::optional<std::string> frontmostApplicationId() override { return std::nullopt; }
    std::optional<std::string> applicationIdAt(const std::string& path) override;
    bool hideRunningApplication(const std::string& id) override;
    void openApplication(const std::string& path,
                         std::function<void(std::string error)> onError) override;

    std::ostream& m_out;
    engine::KeyboardMonitor m_monitor;
    engine::TaskQueue m_queue;
    std::chrono::nanoseconds m_now{0};
    model::json::Json m_at = 0;
};

} // namespace orvane::ctl
