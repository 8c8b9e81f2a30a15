// The key path of the input thread: the grabbed keyboards' frames, in the order they were made,
// through the monitor to the output keyboard, and the executors' posted events after them.
// Functions every key runs through are marked hot, here and in the monitor and translation: the
// compiler keeps them together, so that a key touches few pages of code.
#include "InputBackend.h"

#include "InputDevice.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <sys/epoll.h>
#include <utility>

namespace orvane::platform {

namespace {

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

std::chrono::nanoseconds monotonicNow()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

} // namespace

[[gnu::hot]] bool InputBackend::pullFrame(Device& device)
{
    input_event event{};
    for (;;) {
        switch (device.input->next(event)) {
        case InputDevice::ReadStatus::event:
            device.pulled.push_back(event);
            if (event.type == EV_SYN && event.code == SYN_REPORT)
                return true;
            break;
        case InputDevice::ReadStatus::none:
            return false; // an unfinished frame waits in `pulled` for the rest
        case InputDevice::ReadStatus::dropped:
            // The kernel lost events: the unfinished frame is void, and the resync that follows
            // reports what changed meanwhile (keys released are released on the output).
            device.pulled.clear();
            device.frame.clear();
            device.isFrameSwallowed = false;
            log(engine::Log::Level::info, "events lost on " + device.name + "; resynchronising");
            break;
        case InputDevice::ReadStatus::gone:
            device.pulled.clear();
            removeDevice(device.id); // `device` is no more
            return false;
        }
    }
}

void InputBackend::readDevices(const std::vector<std::uint64_t>& ids)
{
    std::vector<Device*>& ready = m_readyScratch; // kept, so reading allocates nothing
    ready.clear();
    for (const std::uint64_t id : ids) {
        const auto found = m_devices.find(id);
        if (found == m_devices.end())
            continue;
        Device& device = found->second;
        device.input->markReadable();
        if (pullFrame(device))
            ready.push_back(&device);
    }
    handleFrames(ready);
}

[[gnu::hot]] InputBackend::Device* InputBackend::soleDevice() noexcept
{
    if (m_devices.size() != 1 || !m_watcher.isRunning())
        return nullptr;
    Device& device = m_devices.begin()->second;
    return device.isWaitingForRelease ? nullptr : &device;
}

[[gnu::hot]] void InputBackend::readSole(Device& device)
{
    if (m_soleId != device.id) {
        // Its file leaves the epoll set meanwhile, so that no key costs an epoll callback too.
        leaveSole();
        m_soleId = device.id;
        ::epoll_ctl(m_epoll.get(), EPOLL_CTL_DEL, device.input->fd(), nullptr);
    }
    // The order matters against the watcher's signal: the file is published to the signal
    // handler and made blocking before the flag is looked at, so a signal that comes after the
    // look makes the read return at once rather than sleep through the call it announces.
    ControlWatcher::setInterruptibleFd(device.input->fd());
    if (!device.input->setBlocking(true)) {
        ControlWatcher::setInterruptibleFd(-1);
        log(engine::Log::Level::info, "every wait goes through epoll: cannot make " + device.name +
                                          " blocking: " + lastError().message());
        m_watcher.stop(); // without it, no keyboard is read by blocking reads
        return;
    }
    const InputDevice::WaitStatus status =
        m_watcher.isAttentionWanted() ? InputDevice::WaitStatus::interrupted : device.input->wait();
    ControlWatcher::setInterruptibleFd(-1);
    if (status == InputDevice::WaitStatus::interrupted)
        return;
    std::vector<Device*>& ready = m_readyScratch;
    ready.clear();
    if (pullFrame(device)) // when the device is gone, this removes it
        ready.push_back(&device);
    handleFrames(ready);
}

void InputBackend::leaveSole()
{
    // The epoll pass reads every keyboard without blocking.
    if (!m_soleId)
        return;
    const std::uint64_t id = *m_soleId;
    m_soleId.reset();
    const auto found = m_devices.find(id);
    if (found == m_devices.end())
        return;
    Device& device = found->second;
    device.input->setBlocking(false);
    // Edge-triggered, as every keyboard: what waits already is reported by the next pass.
    epoll_event event{};
    event.events = EPOLLIN | EPOLLET;
    event.data.u64 = id;
    if (::epoll_ctl(m_epoll.get(), EPOLL_CTL_ADD, device.input->fd(), &event) != 0) {
        log(engine::Log::Level::error,
            "cannot watch " + device.name + ": " + lastError().message());
        removeDevice(id);
    }
}

[[gnu::hot]] void InputBackend::handleFrames(std::vector<Device*>& ready)
{
    // Frames of several keyboards that wait together are handled in the order they were made, so
    // that fn or Shift held on one keyboard counts for a key of another even when Orvane is late.
    const auto frameTime = [](const Device* device) {
        const input_event& end = device->pulled.back();
        return std::pair{end.input_event_sec, end.input_event_usec};
    };
    while (!ready.empty() && m_isRunning) {
        const auto earliest = ready.size() == 1
                                  ? ready.begin()
                                  : std::min_element(ready.begin(), ready.end(),
                                                     [&](const Device* a, const Device* b) {
                                                         return frameTime(a) < frameTime(b);
                                                     });
        Device& device = **earliest;
        // Handling a frame never reads a device nor removes one, so `pulled` stays as it is.
        for (const input_event& event : device.pulled) {
            handleEvent(device, event);
            if (!m_isRunning)
                return;
        }
        device.pulled.clear();
        if (device.isGrabFailed) { // another program holds it; leave it to that one
            forgetDevice(device.id);
            ready.erase(earliest);
        } else if (!pullFrame(device)) {
            ready.erase(earliest);
        }
    }
}

[[gnu::hot]] void InputBackend::handleEvent(Device& device, const input_event& event)
{
    if (device.isWaitingForRelease) {
        // Not grabbed yet: the desktop reads this event itself. Grab at the end of the frame
        // that leaves no key held.
        if (event.type == EV_SYN && event.code == SYN_REPORT && device.input->keysDown().empty()) {
            device.isGrabFailed = !grabNow(device);
        }
        return;
    }
    if (device.input->hasMonotonicTime())
        m_eventTime = std::chrono::seconds(event.input_event_sec) +
                      std::chrono::microseconds(event.input_event_usec);
    switch (event.type) {
    case EV_SYN:
        if (event.code == SYN_REPORT)
            flushFrame(device);
        break;
    case EV_KEY:
        handleKey(device, event);
        break;
    case EV_MSC:
        device.frame.push_back(event);
        break;
    default:
        break; // LED and repeat reports describe the keyboard itself, not input
    }
    m_eventTime.reset();
}

[[gnu::hot]] void InputBackend::handleKey(Device& device, const input_event& event)
{
    const int code = event.code;
    const int value = event.value;
    const std::uint64_t modifier = modifierFlag(code);
    if (value == 1 && device.input->isKeyDown(KEY_BACKSPACE) && device.input->isKeyDown(KEY_ESC) &&
        device.input->isKeyDown(KEY_ENTER)) {
        log(engine::Log::Level::info, "panic chord: releasing every grab and every key");
        finish(StopReason::panicChord);
        return;
    }
    bool isPassed = true;
    if (modifier == 0 && !isButton(code)) {
        if (value != 0)
            m_pressedKey = KeyOwner{device.id, code};
        else
            device.releasedInFrame.push_back(code);
    }
    if (modifier != 0) {
        if (device.modifiers.apply(code, value)) {
            engine::KeyEvent changed = modifierEvent(code, modifierFlags());
            deliver(changed); // always passed: the modifier key goes out as it came
        }
    } else if (auto translated = keyEventFromEvdev(code, value, modifierFlags())) {
        isPassed = deliver(*translated) == engine::Verdict::pass;
        // A key whose press went out is released there, whatever the monitor makes of the
        // release; otherwise it would stay held on the output.
        if (!isPassed && value == 0 && device.passedDown.test(event.code))
            isPassed = true;
    }
    if (!isPassed) {
        device.isFrameSwallowed = true;
        return;
    }
    device.frame.push_back(event);
    if (value != 2 && event.code < KEY_CNT)
        device.passedDown.set(event.code, value != 0);
}

[[gnu::hot]] engine::Verdict InputBackend::deliver(engine::KeyEvent& event) noexcept
{
    return m_isTapEnabled ? m_monitor.handleEvent(event) : engine::Verdict::pass;
}

[[gnu::hot]] void InputBackend::flushFrame(Device& device)
{
    if (device.isFrameSwallowed) // the scan code of a swallowed key would tell of it
        std::erase_if(device.frame, [](const input_event& event) { return event.type == EV_MSC; });
    if (!device.frame.empty() && !m_output->writeFrame(device.frame)) {
        log(engine::Log::Level::error, "the output keyboard failed: " + lastError().message());
        finish(StopReason::outputLost);
    }
    device.frame.clear();
    device.isFrameSwallowed = false;
    m_tasks.drain();
    m_pressedKey.reset();
    releasePostedKeys(device);
}

[[gnu::hot]] void InputBackend::releasePostedKeys(Device& device)
{
    // An executor's key is normally released by the executor when its press ends. When another
    // key ended the press first (the monitor then lets the release pass as an ordinary key), the
    // executor never hears of the release: the key it holds is let go here, with the physical key.
    for (const int code : device.releasedInFrame) {
        for (auto it = m_postedOwners.begin(); it != m_postedOwners.end();) {
            if (it->second == KeyOwner{device.id, code}) {
                if (m_output->isHeld(it->first))
                    m_output->writeKey(it->first, 0);
                it = m_postedOwners.erase(it);
            } else {
                ++it;
            }
        }
    }
    device.releasedInFrame.clear();
}

[[gnu::hot]] void InputBackend::post(const engine::KeyEvent& posted)
{
    // Orvane's own events go through the monitor like every posted event, then out, each in a
    // frame of its own.
    engine::KeyEvent event = posted;
    if (deliver(event) == engine::Verdict::swallow)
        return;
    const auto change = evdevFromKeyEvent(event);
    if (!change)
        return;
    if (change->value == 1 && m_pressedKey)
        m_postedOwners[change->code] = *m_pressedKey;
    else if (change->value == 0)
        m_postedOwners.erase(change->code);
    if (!m_output->writeKey(change->code, change->value)) {
        log(engine::Log::Level::error, "the output keyboard failed: " + lastError().message());
        finish(StopReason::outputLost);
    }
}

[[gnu::hot]] std::chrono::nanoseconds InputBackend::now()
{
    // A key event's own time, so that a busy moment never turns a short press into a long one.
    return m_eventTime ? *m_eventTime : monotonicNow();
}

[[gnu::hot]] std::uint64_t InputBackend::modifierFlags() const noexcept
{
    std::uint64_t flags = 0;
    for (const auto& [id, device] : m_devices)
        flags |= device.modifiers.flags();
    return flags;
}

} // namespace orvane::platform
