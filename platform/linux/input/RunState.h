// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the input thread goes on, and why it stopped: the thread's loop and the key path both
// end it (a request, the panic chord, a lost output keyboard, a failure).
#pragma once

#include <atomic>

namespace orvane::platform {

class RunState {
public:
    enum class StopReason { running, requested, panicChord, outputLost, failed };

    // Input thread only (and the starting thread, before the input thread exists).
    void begin() noexcept { m_isRunning = true; }
    bool isRunning() const noexcept { return m_isRunning; }
    // Ends the thread's loop; the first reason given is the one kept.
    void finish(StopReason reason) noexcept
    {
        m_isRunning = false;
        auto expected = StopReason::running;
        m_reason.compare_exchange_strong(expected, reason);
    }

    // Any thread.
    StopReason reason() const noexcept { return m_reason.load(); }

private:
    bool m_isRunning = false;
    std::atomic<StopReason> m_reason{StopReason::running};
};

} // namespace orvane::platform
