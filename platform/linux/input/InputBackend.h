// SPDX-License-Identifier: GPL-3.0-or-later
// The input thread: grabs the keyboards, hands their key events to the keyboard monitor, writes
// what passes to Orvane's output keyboard and runs the executors' queue, all on one thread, so
// that nothing another thread does can hold up typing. With one keyboard it sleeps in a blocking
// read on it (the control watcher interrupts that read for anything else); otherwise in epoll.
// This class is the thread and its loop; the keyboards are a KeyboardSet, the way from a frame to
// the output a KeyPath.
#pragma once

#include "ControlWatcher.h"
#include "DeviceSurvey.h"
#include "KeyPath.h"
#include "KeyboardSet.h"
#include "RunState.h"
#include "UinputKeyboard.h"
#include "platform/linux/UniqueFd.h"

#include "engine/Platform.h"
#include "model/KeyProps.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace orvane::platform {

class InputBackend final {
public:
    struct Options {
        GrabPolicy policy;
        // How long a keyboard with keys held at grab time is watched before Orvane says so; it
        // is grabbed the moment its keys are up, never while one is held (that key would stick).
        std::chrono::milliseconds heldKeyNotice{1000};
        // Ask for a real-time slot for the input thread, so that typing never waits behind a busy
        // machine; where the right to it is missing, the thread runs as any other. Off by
        // default: on a machine that is not busy the real-time class makes every key slower (see
        // the README's performance section).
        bool isRealtime = false;
    };

    using StopReason = RunState::StopReason;

    // `workspace` and `log` are called on the input thread and must outlive the backend.
    InputBackend(engine::Workspace& workspace, engine::Log& log, const model::TopRow& topRow,
                 Options options);
    ~InputBackend(); // stops the thread: every grab and every key Orvane holds is released

    InputBackend(const InputBackend&) = delete;
    InputBackend& operator=(const InputBackend&) = delete;

    // Creates the output keyboard and starts the input thread with this mapping and delay.
    // std::errc::device_or_resource_busy: another backend of this user is running.
    std::error_code start(const model::KeyMapping& mapping, double longPressDelay);

    // Queued onto the input thread; callable from any thread.
    void setKeyMapping(model::KeyMapping mapping);
    void setLongPressDelay(double seconds);
    void stop();
    // Waits until the input thread has ended (after stop, the panic chord or a failure).
    void wait();

    // Readable once the input thread has ended, for whatever reason.
    int stoppedFd() const noexcept { return m_stopped.get(); }
    StopReason stopReason() const noexcept { return m_run.reason(); }

private:
    void callOnInputThread(std::function<void()> call);
    void runIncomingCalls();
    void run() noexcept;
    void raisePriority() noexcept;
    void loop();
    void readSole(Keyboard& keyboard);
    void leaveSole();
    void poll(int timeoutMs);
    int waitTimeoutMs() const noexcept;
    void shutDown() noexcept;

    engine::Workspace& m_workspace;
    engine::Log& m_engineLog;
    InputLog m_log;
    model::TopRow m_topRow;
    Options m_options;
    RunState m_run;

    UniqueFd m_instanceLock;
    std::unique_ptr<UinputKeyboard> m_output;
    UniqueFd m_epoll;
    UniqueFd m_wake;
    UniqueFd m_stopped;
    // Made by `start`, used on the input thread; both use the output keyboard and the epoll set.
    std::optional<KeyboardSet> m_keyboards;
    std::optional<KeyPath> m_keyPath;
    std::thread m_thread;

    std::mutex m_incomingMutex;
    std::vector<std::function<void()>> m_incoming;

    // Input thread only.
    std::vector<std::uint64_t> m_readyIds;
    // The keyboard the input thread reads with blocking reads while it is the only one.
    std::optional<std::uint64_t> m_soleId;
    ControlWatcher m_watcher;
};

} // namespace orvane::platform
