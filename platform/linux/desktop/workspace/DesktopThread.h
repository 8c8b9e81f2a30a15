// SPDX-License-Identifier: GPL-3.0-or-later
// A thread that runs a GLib main loop of its own, for desktop work (GIO, the X11 connection) that
// must never run on the input thread and may take its time.
#pragma once

#include <functional>
#include <memory>
#include <thread>

namespace orvane::platform {

class DesktopThread {
public:
    DesktopThread();
    ~DesktopThread(); // runs the tasks posted so far, then stops
    DesktopThread(const DesktopThread&) = delete;
    DesktopThread& operator=(const DesktopThread&) = delete;

    // Runs `task` on the thread, after the tasks posted before it. Callable from any thread; it
    // takes only the main context's own short lock, so the input thread may call it.
    void post(std::function<void()> task);
    // Calls `onReadable` on the thread whenever `fd` is readable (or hung up), until it returns
    // false. `fd` must stay open while watched.
    void watch(int fd, std::function<bool()> onReadable);
    // Waits until every task posted before has run. Never call it on the thread itself.
    void flush();

private:
    struct Loop;
    std::unique_ptr<Loop> m_loop;
    std::thread m_thread;
};

} // namespace orvane::platform
