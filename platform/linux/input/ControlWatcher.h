// SPDX-License-Identifier: GPL-3.0-or-later
// The input thread's lookout. With one keyboard grabbed, the input thread sleeps in a blocking
// read(2) on it, the cheapest wait there is: the key wakes the thread that handles it, with no
// epoll in between. Meanwhile this thread watches the other files the input thread serves (calls
// queued from other threads, the LEDs the desktop sets, hotplug) and, when one of them is ready,
// interrupts that read with a signal. The handshake: the watcher raises `attention`, then signals;
// the input thread, seeing the flag, serves the files and calls `served`; only then does the
// watcher look again, so it never spins on a file the input thread has yet to read.
#pragma once

#include "platform/linux/UniqueFd.h"

#include <pthread.h>

#include <atomic>
#include <span>
#include <system_error>
#include <thread>

namespace orvane::platform {

class ControlWatcher {
public:
    ControlWatcher() = default;
    ~ControlWatcher() { stop(); }

    ControlWatcher(const ControlWatcher&) = delete;
    ControlWatcher& operator=(const ControlWatcher&) = delete;

    // Called on the input thread: watches `fds` (level-triggered) on behalf of the calling thread.
    std::error_code start(std::span<const int> fds);
    void stop() noexcept;
    bool isRunning() const noexcept { return m_thread.joinable(); }

    // Input thread: whether the watched files wait to be served; after serving them, `served`.
    bool isAttentionWanted() const noexcept { return m_attention.load(std::memory_order_acquire); }
    void served() noexcept;

    // Input thread: the file it is about to wait on in a blocking read, or -1. The signal makes
    // that file non-blocking, so that a signal that comes just before the read still ends it.
    static void setInterruptibleFd(int fd) noexcept;

private:
    void run() noexcept;

    UniqueFd m_epoll;
    UniqueFd m_quit;
    pthread_t m_target{};
    std::thread m_thread;
    std::atomic<bool> m_attention{false};
    std::atomic<bool> m_isQuitting{false};
};

} // namespace orvane::platform
