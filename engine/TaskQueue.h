// SPDX-License-Identifier: GPL-3.0-or-later
// The executors' queue as a plain list of tasks that the thread running the monitor drains after
// each event, so that nothing is posted from inside the event callback.
#pragma once

#include "Platform.h"

#include <functional>
#include <vector>

namespace orvane::engine {

class TaskQueue final : public MainQueue {
public:
    void async(std::function<void()> task) override { m_tasks.push_back(std::move(task)); }

    // Runs every waiting task in order; tasks queued meanwhile run after them, in the same call.
    void drain()
    {
        // Indexed, not range-based: a task may queue more and so grow the list.
        for (std::size_t i = 0; i < m_tasks.size(); ++i) { // NOLINT(modernize-loop-convert)
            auto task = std::move(m_tasks[i]);
            task();
        }
        m_tasks.clear();
    }

    // Drops waiting tasks unrun (when the thread that would run them stops).
    void clear() noexcept { m_tasks.clear(); }
    bool isEmpty() const noexcept { return m_tasks.empty(); }

private:
    std::vector<std::function<void()>> m_tasks;
};

} // namespace orvane::engine
