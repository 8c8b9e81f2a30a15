// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputBackend.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
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

// The input thread's own files in its epoll set; keyboards are watched under their ids, above.
constexpr std::uint64_t wakeTag = 0;
constexpr std::uint64_t outputTag = 1;
constexpr std::uint64_t hotplugTag = 2;

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

bool watch(int epoll, int fd, std::uint64_t tag)
{
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.u64 = tag;
    return ::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

void signal(int eventFd)
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(eventFd, &one, sizeof one);
}

} // namespace

InputBackend::InputBackend(engine::Workspace& workspace, engine::Log& log,
                           const model::TopRow& topRow, Options options)
    : m_workspace(workspace), m_engineLog(log), m_log(log), m_topRow(topRow),
      m_options(std::move(options))
{
}

InputBackend::~InputBackend()
{
    stop();
    wait();
    // After the thread; the output last, which releases what is still held, then goes.
    m_keyPath.reset();
    m_keyboards.reset();
    m_output.reset();
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

    m_keyboards.emplace(*m_output, m_epoll.get(), m_options.policy, m_options.heldKeyNotice, m_log);
    m_keyboards->watchHotplug(hotplugTag);
    m_keyPath.emplace(m_workspace, m_engineLog, m_topRow, *m_keyboards, *m_output, m_run);
    m_keyPath->start(mapping, longPressDelay);
    m_run.begin();
    m_thread = std::thread([this] { run(); });
    return {};
}

void InputBackend::setKeyMapping(model::KeyMapping mapping)
{
    callOnInputThread([this, mapping = std::move(mapping)] { m_keyPath->setKeyMapping(mapping); });
}

void InputBackend::setLongPressDelay(double seconds)
{
    callOnInputThread([this, seconds] { m_keyPath->setLongPressDelay(seconds); });
}

void InputBackend::stop()
{
    callOnInputThread([this] { m_run.finish(StopReason::requested); });
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

void InputBackend::runIncomingCalls()
{
    std::uint64_t value = 0;
    [[maybe_unused]] const auto got = ::read(m_wake.get(), &value, sizeof value);
    std::vector<std::function<void()>> calls;
    {
        const std::lock_guard lock(m_incomingMutex);
        calls.swap(m_incoming);
    }
    for (auto& call : calls)
        call();
}

void InputBackend::run() noexcept
{
    ::pthread_setname_np(::pthread_self(), "orvane-input"); // for top -H and the benchmark
    if (m_options.isRealtime)
        raisePriority();
    try {
        m_keyboards->scan();
        loop();
    } catch (const std::exception& error) {
        m_log.error(std::string("input thread failed: ") + error.what());
        m_run.finish(StopReason::failed);
    }
    shutDown();
    signal(m_stopped.get());
}

void InputBackend::raisePriority() noexcept
{
    // Low among real-time threads (below audio and interrupt threads), above every ordinary one.
    // Programs the executors start never inherit it.
    sched_param param{};
    param.sched_priority = 10;
    if (::sched_setscheduler(0, SCHED_FIFO | SCHED_RESET_ON_FORK, &param) == 0) {
        m_log.info("input thread runs at real-time priority");
        return;
    }
    m_log.info("input thread runs at normal priority (real-time needs "
               "CAP_SYS_NICE or an RLIMIT_RTPRIO of 10 or more)");
}

[[gnu::hot, gnu::noinline]] void InputBackend::loop()
{
    // The usual case, one keyboard: sleep in a blocking read on it, the watcher interrupting for
    // anything else. Otherwise, or when the watcher's files want serving, one epoll pass.
    std::vector<int> watched = {m_wake.get(), m_output->fd()};
    if (const int hotplug = m_keyboards->hotplugFd(); hotplug >= 0)
        watched.push_back(hotplug);
    if (const std::error_code error = m_watcher.start(watched))
        m_log.info("every wait goes through epoll: " + error.message());
    while (m_run.isRunning()) {
        if (Keyboard* sole = m_watcher.isRunning() ? m_keyboards->sole() : nullptr;
            sole != nullptr && !m_watcher.isAttentionWanted()) {
            readSole(*sole);
            continue;
        }
        leaveSole();
        const bool isServing = m_watcher.isAttentionWanted();
        poll(isServing ? 0 : waitTimeoutMs());
        if (isServing)
            m_watcher.served();
        m_keyboards->noticeHeldKeys();
    }
}

[[gnu::hot]] void InputBackend::readSole(Keyboard& keyboard)
{
    if (m_soleId != keyboard.id) {
        // Its file leaves the epoll set meanwhile, so that no key costs an epoll callback too.
        leaveSole();
        m_soleId = keyboard.id;
        m_keyboards->unwatch(keyboard);
    }
    // The order matters against the watcher's signal: the file is published to the signal
    // handler and made blocking before the flag is looked at, so a signal that comes after the
    // look makes the read return at once rather than sleep through the call it announces.
    ControlWatcher::setInterruptibleFd(keyboard.input->fd());
    if (!keyboard.input->setBlocking(true)) {
        ControlWatcher::setInterruptibleFd(-1);
        m_log.info("every wait goes through epoll: cannot make " + keyboard.name +
                   " blocking: " + lastError().message());
        m_watcher.stop(); // without it, no keyboard is read by blocking reads
        return;
    }
    const InputDevice::WaitStatus status = m_watcher.isAttentionWanted()
                                               ? InputDevice::WaitStatus::interrupted
                                               : keyboard.input->wait();
    ControlWatcher::setInterruptibleFd(-1);
    if (status != InputDevice::WaitStatus::interrupted)
        m_keyPath->readKeyboard(keyboard);
}

void InputBackend::leaveSole()
{
    // The epoll pass reads every keyboard without blocking.
    if (!m_soleId)
        return;
    const std::uint64_t id = *m_soleId;
    m_soleId.reset();
    Keyboard* keyboard = m_keyboards->find(id);
    if (keyboard == nullptr)
        return;
    keyboard->input->setBlocking(false);
    // Edge-triggered, as every keyboard: what waits already is reported by the next pass.
    if (!m_keyboards->watch(*keyboard))
        m_keyPath->removeKeyboard(*keyboard);
}

void InputBackend::poll(int timeoutMs)
{
    std::array<epoll_event, 16> ready{};
    const int count =
        ::epoll_wait(m_epoll.get(), ready.data(), static_cast<int>(ready.size()), timeoutMs);
    if (count < 0 && errno != EINTR) {
        m_log.error("epoll_wait: " + lastError().message());
        m_run.finish(StopReason::failed);
    }
    m_readyIds.clear();
    for (int i = 0; i < count && m_run.isRunning(); ++i) {
        const std::uint64_t tag = ready[static_cast<std::size_t>(i)].data.u64;
        if (tag == wakeTag)
            runIncomingCalls();
        else if (tag == outputTag)
            m_keyboards->showOutputLeds();
        else if (tag == hotplugTag)
            m_keyboards->readHotplug();
        else
            m_readyIds.push_back(tag);
    }
    m_keyPath->readKeyboards(m_readyIds);
}

int InputBackend::waitTimeoutMs() const noexcept
{
    // No periodic wake-ups: only a keyboard waiting for its keys' release sets a deadline.
    const auto next = m_keyboards->nextNotice();
    if (!next)
        return -1;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(*next - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::int64_t>(0, left.count()));
}

void InputBackend::shutDown() noexcept
{
    m_watcher.stop();
    // Keys first, while the output still exists; then the grabs, so every keyboard works as
    // without Orvane.
    if (m_output)
        m_output->releaseAll();
    m_keyboards->ungrabAll();
    m_keyPath->dropTasks();
}

} // namespace orvane::platform
