#include "InputBackend.h"

#include "InputDevice.h"

#include <libudev.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace orvane::platform {

namespace {

constexpr std::uint64_t wakeTag = 0;
constexpr std::uint64_t outputTag = 1;
constexpr std::uint64_t hotplugTag = 2;

constexpr std::string_view category = "Input";

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

// One input backend per user: a second one would find every keyboard already grabbed and sit
// there doing nothing. The lock goes with the process, however it ends. A lock file that cannot
// be opened at all does not stop Orvane; only a running instance does.
UniqueFd lockInstance(std::error_code& error)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string folder = runtime != nullptr && *runtime == '/' ? runtime : "/tmp";
    const std::string path = folder + "/orvane-input-" + std::to_string(::getuid()) + ".lock";
    UniqueFd lock(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (lock && ::flock(lock.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        error = std::make_error_code(std::errc::device_or_resource_busy);
    return lock;
}

bool watch(int epoll, int fd, std::uint64_t tag, std::uint32_t events = EPOLLIN)
{
    epoll_event event{};
    event.events = events;
    event.data.u64 = tag;
    return ::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

void signal(int eventFd)
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(eventFd, &one, sizeof one);
}

// The kernel announces devices itself; with a udev daemon running, its announcement comes after
// the device's permissions are set, so that one is the one to wait for.
const char* hotplugSource()
{
    return ::access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
}

} // namespace

InputBackend::InputBackend(engine::Workspace& workspace, engine::Log& log,
                           const model::TopRow& topRow, Options options)
    : m_workspace(workspace), m_log(log),
      m_options(std::move(options)), m_context{m_tasks, *this, workspace, &log},
      m_monitor(*this, topRow, &log)
{
}

InputBackend::~InputBackend()
{
    stop();
    wait();
    m_output.reset(); // after the thread: releases what is still held, then removes the device
    m_hotplug.reset();
    m_udev.reset();
}

std::error_code InputBackend::start(const model::KeyMapping& mapping, double longPressDelay)
{
    std::error_code error;
    m_instanceLock = lockInstance(error);
    if (error)
        return error;
    m_output = UinputKeyboard::create(error);
    if (!m_output)
        return error;
    m_epoll = UniqueFd(::epoll_create1(EPOLL_CLOEXEC));
    m_wake = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    m_stopped = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!m_epoll || !m_wake || !m_stopped || !watch(m_epoll.get(), m_wake.get(), wakeTag) ||
        !watch(m_epoll.get(), m_output->fd(), outputTag))
        return lastError();

    // Hotplug is watched before the first scan, so that no keyboard slips in between.
    m_udev.reset(udev_new());
    if (m_udev != nullptr)
        m_hotplug.reset(udev_monitor_new_from_netlink(m_udev.get(), hotplugSource()));
    if (m_hotplug != nullptr &&
        (udev_monitor_filter_add_match_subsystem_devtype(m_hotplug.get(), "input", nullptr) < 0 ||
         udev_monitor_enable_receiving(m_hotplug.get()) < 0 ||
         !watch(m_epoll.get(), udev_monitor_get_fd(m_hotplug.get()), hotplugTag)))
        m_hotplug.reset();
    if (m_hotplug == nullptr)
        log(engine::Log::Level::error,
            "no hotplug events: keyboards plugged in later are not seen");

    m_monitor.setExecutors(mapping, m_context);
    m_monitor.setLongPressDelay(longPressDelay);
    m_monitor.start(*this);
    m_isRunning = true;
    m_thread = std::thread([this] { run(); });
    return {};
}

void InputBackend::setKeyMapping(model::KeyMapping mapping)
{
    callOnInputThread(
        [this, mapping = std::move(mapping)] { m_monitor.setExecutors(mapping, m_context); });
}

void InputBackend::setLongPressDelay(double seconds)
{
    callOnInputThread([this, seconds] { m_monitor.setLongPressDelay(seconds); });
}

void InputBackend::stop()
{
    callOnInputThread([this] { finish(StopReason::requested); });
}

void InputBackend::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

void InputBackend::callOnInputThread(std::function<void()> call)
{
    if (!m_wake)
        return;
    {
        const std::lock_guard lock(m_incomingMutex);
        m_incoming.push_back(std::move(call));
    }
    signal(m_wake.get());
}

void InputBackend::finish(StopReason reason) noexcept
{
    m_isRunning = false;
    auto expected = StopReason::running;
    m_stopReason.compare_exchange_strong(expected, reason);
}

void InputBackend::raisePriority() noexcept
{
    // Low among real-time threads (below audio and interrupt threads), above every ordinary one.
    // Programs the executors start never inherit it.
    sched_param param{};
    param.sched_priority = 10;
    if (::sched_setscheduler(0, SCHED_FIFO | SCHED_RESET_ON_FORK, &param) == 0) {
        log(engine::Log::Level::info, "input thread runs at real-time priority");
        return;
    }
    log(engine::Log::Level::info, "input thread runs at normal priority (real-time needs "
                                  "CAP_SYS_NICE or an RLIMIT_RTPRIO of 10 or more)");
}

void InputBackend::run() noexcept
{
    ::pthread_setname_np(::pthread_self(), "orvane-input"); // for top -H and the benchmark
    if (m_options.isRealtime)
        raisePriority();
    try {
        scanDevices();
        loop();
    } catch (const std::exception& error) {
        log(engine::Log::Level::error, std::string("input thread failed: ") + error.what());
        finish(StopReason::failed);
    }
    shutDown();
    signal(m_stopped.get());
}

[[gnu::hot, gnu::noinline]] void InputBackend::loop()
{
    // The usual case, one keyboard: sleep in a blocking read on it, the watcher interrupting for
    // anything else. Otherwise, or when the watcher's files want serving, one epoll pass.
    std::vector<int> watched = {m_wake.get(), m_output->fd()};
    if (m_hotplug != nullptr)
        watched.push_back(udev_monitor_get_fd(m_hotplug.get()));
    if (const std::error_code error = m_watcher.start(watched))
        log(engine::Log::Level::info, "every wait goes through epoll: " + error.message());
    while (m_isRunning) {
        if (Device* sole = soleDevice(); sole != nullptr && !m_watcher.isAttentionWanted()) {
            readSole(*sole);
            continue;
        }
        leaveSole();
        const bool isServing = m_watcher.isAttentionWanted();
        poll(isServing ? 0 : waitTimeoutMs());
        if (isServing)
            m_watcher.served();
        noticeWaitingDevices();
    }
}

void InputBackend::poll(int timeoutMs)
{
    std::array<epoll_event, 16> ready{};
    const int count =
        ::epoll_wait(m_epoll.get(), ready.data(), static_cast<int>(ready.size()), timeoutMs);
    if (count < 0 && errno != EINTR) {
        log(engine::Log::Level::error, "epoll_wait: " + lastError().message());
        finish(StopReason::failed);
    }
    m_readyIds.clear();
    for (int i = 0; i < count && m_isRunning; ++i) {
        const std::uint64_t tag = ready[static_cast<std::size_t>(i)].data.u64;
        if (tag == wakeTag) {
            std::uint64_t value = 0;
            [[maybe_unused]] const auto got = ::read(m_wake.get(), &value, sizeof value);
            std::vector<std::function<void()>> calls;
            {
                const std::lock_guard lock(m_incomingMutex);
                calls.swap(m_incoming);
            }
            for (auto& call : calls)
                call();
        } else if (tag == outputTag) {
            readOutputLeds();
        } else if (tag == hotplugTag) {
            readHotplug();
        } else {
            m_readyIds.push_back(tag);
        }
    }
    readDevices(m_readyIds);
}

void InputBackend::shutDown() noexcept
{
    m_watcher.stop();
    // Keys first, while the output still exists; then the grabs, so every keyboard works as
    // without Orvane.
    if (m_output)
        m_output->releaseAll();
    for (auto& [id, device] : m_devices)
        device.input->ungrab();
    m_devices.clear();
    m_tasks.clear();
}

int InputBackend::waitTimeoutMs() noexcept
{
    // No periodic wake-ups: only a keyboard waiting for its keys' release sets a deadline.
    std::optional<std::chrono::steady_clock::time_point> next;
    for (const auto& [id, device] : m_devices) {
        if (device.isWaitingForRelease && (!next || device.noticeAt < *next))
            next = device.noticeAt;
    }
    if (!next)
        return -1;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(*next - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::int64_t>(0, left.count()));
}

void InputBackend::noticeWaitingDevices() noexcept
{
    if (std::none_of(m_devices.begin(), m_devices.end(),
                     [](const auto& entry) { return entry.second.isWaitingForRelease; }))
        return; // the usual case: no clock read for every key
    const auto now = std::chrono::steady_clock::now();
    for (auto& [id, device] : m_devices) {
        if (device.isWaitingForRelease && device.noticeAt <= now) {
            device.noticeAt = std::chrono::steady_clock::time_point::max();
            log(engine::Log::Level::info,
                "keys are still held on " + device.name + "; it is grabbed once they are released");
        }
    }
}

void InputBackend::scanDevices()
{
    for (const auto& path : eventNodes())
        addDevice(path);
    if (m_devices.empty())
        log(engine::Log::Level::error, "no keyboard to grab yet ('orvanectl doctor' tells why); "
                                       "keyboards plugged in later are grabbed");
}

void InputBackend::readHotplug()
{
    while (const UdevDevicePtr change{udev_monitor_receive_device(m_hotplug.get())}) {
        const char* action = udev_device_get_action(change.get());
        const char* node = udev_device_get_devnode(change.get());
        const std::string path = node != nullptr ? node : "";
        if (action != nullptr && std::string_view(action) == "add" &&
            path.starts_with("/dev/input/event"))
            addDevice(path);
    }
}

void InputBackend::addDevice(const std::string& path)
{
    std::error_code error;
    auto input = InputDevice::open(path, error);
    if (!input) {
        // Without access to a node it may be a mouse as well as a keyboard: only a debug line
        // here, and the summary after the scan.
        if (error != std::errc::no_such_device && error != std::errc::no_such_file_or_directory)
            log(engine::Log::Level::debug, "cannot open " + path + ": " + error.message());
        return;
    }
    for (const auto& [id, device] : m_devices) {
        if (device.input->deviceNumber() == input->deviceNumber())
            return; // seen in the scan and announced by hotplug as well
    }
    const DeviceTraits traits = deviceTraits(input->evdev(), path);
    if (decide(traits, m_options.policy) != GrabDecision::grab)
        return;
    const std::uint64_t id = m_nextDeviceId++;
    Device& device = m_devices[id];
    device.id = id;
    device.input = std::move(input);
    device.name = "'" + traits.name + "' (" + path + ")";
    // Edge-triggered: a device is always read until its queue is empty (a batch that does not
    // fill the buffer), so the kernel need not check it again on every wait.
    if (!watch(m_epoll.get(), device.input->fd(), id, EPOLLIN | EPOLLET)) {
        log(engine::Log::Level::error,
            "cannot watch " + device.name + ": " + lastError().message());
        m_devices.erase(id);
        return;
    }
    if (device.input->keysDown().empty()) {
        if (!grabNow(device))
            forgetDevice(id);
    } else {
        device.isWaitingForRelease = true;
        device.noticeAt = std::chrono::steady_clock::now() + m_options.heldKeyNotice;
    }
}

bool InputBackend::grabNow(Device& device)
{
    std::error_code error;
    if (!device.input->grab(error)) {
        log(engine::Log::Level::error, "cannot grab " + device.name + ": " + error.message());
        return false;
    }
    device.isWaitingForRelease = false;
    device.frame.clear();
    device.isFrameSwallowed = false;
    // A keyboard plugged in later shows the LEDs the desktop set (Caps Lock) like the others.
    for (int led = 0; led <= LED_MAX; ++led) {
        const std::uint32_t bit = 1U << led;
        if ((m_output->knownLeds() & bit) != 0 && device.input->hasLed(led))
            device.input->setLed(led, (m_output->ledState() & bit) != 0 ? 1 : 0);
    }
    log(engine::Log::Level::info, "grabbed " + device.name);
    return true;
}

void InputBackend::forgetDevice(std::uint64_t id)
{
    const auto found = m_devices.find(id);
    if (found == m_devices.end())
        return;
    ::epoll_ctl(m_epoll.get(), EPOLL_CTL_DEL, found->second.input->fd(), nullptr);
    m_devices.erase(found);
}

void InputBackend::removeDevice(std::uint64_t id)
{
    const auto found = m_devices.find(id);
    if (found == m_devices.end())
        return;
    Device& device = found->second;
    ::epoll_ctl(m_epoll.get(), EPOLL_CTL_DEL, device.input->fd(), nullptr);
    if (!device.isWaitingForRelease) {
        // The keys it held are released through the usual path, so a press in progress ends as a
        // release would end it (a long press releases what it posted); then whatever it still
        // holds on the output is let go.
        device.frame.clear();
        device.isFrameSwallowed = false;
        m_eventTime.reset();
        for (const int code : device.input->keysDown()) {
            input_event release{};
            release.type = EV_KEY;
            release.code = static_cast<std::uint16_t>(code);
            handleKey(device, release);
        }
        flushFrame(device);
        for (std::size_t code = 0; code < device.passedDown.size(); ++code) {
            if (device.passedDown.test(code) && m_output->isHeld(static_cast<int>(code)))
                m_output->writeKey(static_cast<int>(code), 0);
        }
    }
    log(engine::Log::Level::info, "removed " + device.name);
    m_devices.erase(found);
}

void InputBackend::readOutputLeds()
{
    for (const input_event& change : m_output->readLedChanges()) {
        for (auto& [id, device] : m_devices) {
            if (device.input->hasLed(change.code))
                device.input->setLed(change.code, change.value);
        }
    }
}

void InputBackend::log(engine::Log::Level level, const std::string& text) noexcept
{
    try {
        m_log.write(level, category, text);
    } catch (...) {
        // A failing log sink must never cost a key event.
    }
}

} // namespace orvane::platform
