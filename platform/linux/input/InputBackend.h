// The input thread: grabs the keyboards, hands their key events to the keyboard monitor, writes
// what passes to Orvane's output keyboard and runs the executors' queue, all on one thread, so
// that nothing another thread does can hold up typing. With one keyboard it sleeps in a blocking
// read on it (the control watcher interrupts that read for anything else); otherwise in epoll.
#pragma once

#include "ControlWatcher.h"
#include "DeviceSurvey.h"
#include "InputTranslation.h"
#include "UdevPtr.h"
#include "UinputKeyboard.h"
#include "platform/linux/UniqueFd.h"

#include "engine/KeyboardMonitor.h"
#include "engine/TaskQueue.h"
#include "model/KeyProps.h"

#include <atomic>
#include <bitset>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace orvane::platform {

class InputDevice;

class InputBackend final : engine::EventTap, engine::EventPoster, engine::Clock {
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

    enum class StopReason { running, requested, panicChord, outputLost, failed };

    // `workspace` and `log` are called on the input thread and must outlive the backend.
    InputBackend(engine::Workspace& workspace, engine::Log& log, const model::TopRow& topRow,
                 Options options);
    ~InputBackend() override; // stops the thread: every grab and every key Orvane holds is released

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
    StopReason stopReason() const noexcept { return m_stopReason.load(); }

private:
    struct Device {
        std::uint64_t id = 0;
        std::unique_ptr<InputDevice> input;
        std::string name;
        ModifierState modifiers;
        std::vector<input_event> pulled;  // read from the device, not handled yet
        std::vector<input_event> frame;   // passed events of the frame not yet closed
        bool isFrameSwallowed = false;    // a key of this frame was swallowed
        std::bitset<KEY_CNT> passedDown;  // keys whose press went out to the output
        std::vector<int> releasedInFrame; // keys released in the frame not yet closed
        bool isWaitingForRelease = false;
        bool isGrabFailed = false;
        std::chrono::steady_clock::time_point noticeAt;
    };

    // The engine's interfaces, all used on the input thread only.
    void setEnabled(bool isEnabled) override { m_isTapEnabled = isEnabled; }
    void post(const engine::KeyEvent& event) override;
    std::chrono::nanoseconds now() override;

    void callOnInputThread(std::function<void()> call);
    void run() noexcept;
    void raisePriority() noexcept;
    void loop();
    void poll(int timeoutMs);
    Device* soleDevice() noexcept;
    void readSole(Device& device);
    void leaveSole();
    void shutDown() noexcept;
    void finish(StopReason reason) noexcept;
    int waitTimeoutMs() noexcept;
    void noticeWaitingDevices() noexcept;

    void scanDevices();
    void readHotplug();
    void addDevice(const std::string& path);
    bool grabNow(Device& device);
    void forgetDevice(std::uint64_t id);
    void removeDevice(std::uint64_t id);
    bool pullFrame(Device& device);
    void readDevices(const std::vector<std::uint64_t>& ids);
    void handleFrames(std::vector<Device*>& ready);
    void readOutputLeds();

    void handleEvent(Device& device, const input_event& event);
    void handleKey(Device& device, const input_event& event);
    engine::Verdict deliver(engine::KeyEvent& event) noexcept;
    void flushFrame(Device& device);
    void releasePostedKeys(Device& device);
    std::uint64_t modifierFlags() const noexcept;
    void log(engine::Log::Level level, const std::string& text) noexcept;

    engine::Workspace& m_workspace;
    engine::Log& m_log;
    Options m_options;
    engine::TaskQueue m_tasks; // the executors' queue; input thread only
    engine::ExecutorContext m_context;
    engine::KeyboardMonitor m_monitor;

    std::unique_ptr<UinputKeyboard> m_output;
    UniqueFd m_epoll;
    UniqueFd m_wake;
    UniqueFd m_stopped;
    UniqueFd m_instanceLock;
    UdevPtr m_udev;
    UdevMonitorPtr m_hotplug;
    std::thread m_thread;
    std::atomic<StopReason> m_stopReason{StopReason::running};

    std::mutex m_incomingMutex;
    std::vector<std::function<void()>> m_incoming;

    // Input thread only.
    std::map<std::uint64_t, Device> m_devices;
    std::uint64_t m_nextDeviceId = 16;
    std::optional<std::chrono::nanoseconds> m_eventTime;
    // The physical key (device, code) whose press or repeat the current frame carries, and, for
    // every key an executor holds down on the output, the physical key whose press put it there.
    using KeyOwner = std::pair<std::uint64_t, int>;
    std::optional<KeyOwner> m_pressedKey;
    std::map<int, KeyOwner> m_postedOwners;
    std::vector<Device*> m_readyScratch;
    std::vector<std::uint64_t> m_readyIds;
    // The keyboard the input thread reads with blocking reads while it is the only one.
    std::optional<std::uint64_t> m_soleId;
    ControlWatcher m_watcher;
    bool m_isTapEnabled = false;
    bool m_isRunning = false;
};

} // namespace orvane::platform
