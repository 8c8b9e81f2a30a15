// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputDevice.h"

#include <libevdev/libevdev.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::platform {

std::unique_ptr<InputDevice> InputDevice::open(const std::string& path, std::error_code& error)
{
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!fd) // some nodes are readable only; LEDs then stay as they are
        fd.reset(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        error = {errno, std::generic_category()};
        return nullptr;
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0 || !S_ISCHR(status.st_mode)) {
        error = std::make_error_code(std::errc::no_such_device);
        return nullptr;
    }
    libevdev* evdev = nullptr;
    if (const int rc = libevdev_new_from_fd(fd.get(), &evdev); rc < 0) {
        error = {-rc, std::generic_category()};
        return nullptr;
    }
    const bool hasMonotonicTime = libevdev_set_clock_id(evdev, CLOCK_MONOTONIC) == 0;
    auto device =
        std::unique_ptr<InputDevice>(new InputDevice(std::move(fd), evdev, path, status.st_rdev));
    device->m_hasMonotonicTime = hasMonotonicTime;
    // The keys down when the file was opened, as libevdev read them; events keep this up to date.
    for (unsigned code = 0; code < KEY_CNT; ++code) {
        if (libevdev_get_event_value(evdev, EV_KEY, code) != 0)
            device->m_keysDown.set(code);
    }
    return device;
}

InputDevice::~InputDevice()
{
    libevdev_free(m_evdev);
}

bool InputDevice::grab(std::error_code& error) noexcept
{
    if (const int rc = libevdev_grab(m_evdev, LIBEVDEV_GRAB); rc < 0) {
        error = {-rc, std::generic_category()};
        return false;
    }
    m_isGrabbed = true;
    return true;
}

void InputDevice::ungrab() noexcept
{
    if (m_isGrabbed)
        libevdev_grab(m_evdev, LIBEVDEV_UNGRAB);
    m_isGrabbed = false;
}

std::vector<int> InputDevice::keysDown() const
{
    std::vector<int> keys;
    for (std::size_t code = 0; code < m_keysDown.size(); ++code) {
        if (m_keysDown.test(code))
            keys.push_back(static_cast<int>(code));
    }
    return keys;
}

bool InputDevice::isKeyDown(int code) const noexcept
{
    return code >= 0 && code < KEY_CNT && m_keysDown.test(static_cast<std::size_t>(code));
}

// The key path reads the device itself rather than through libevdev: one read(2) for every
// event that waits, no empty read to learn that nothing does, and no per-event bookkeeping
// beyond the keys that are down. libevdev still describes the device and grabs it.
[[gnu::hot]] InputDevice::ReadStatus InputDevice::next(input_event& event) noexcept
{
    if (m_resyncNext < m_resync.size()) {
        event = m_resync[m_resyncNext++];
        track(event);
        return ReadStatus::event;
    }
    if (m_next == m_end && !fill())
        return m_isGone ? ReadStatus::gone : ReadStatus::none;
    event = m_batch[m_next++];
    if (event.type == EV_SYN && event.code == SYN_DROPPED) {
        try {
            resync(event);
        } catch (...) { // no memory for the resync: what follows still keeps the keys right
            m_resync.clear();
        }
        return ReadStatus::dropped;
    }
    track(event);
    return ReadStatus::event;
}

bool InputDevice::fill() noexcept
{
    if (!m_mayRead)
        return false;
    ssize_t got;
    do {
        got = ::read(m_fd.get(), m_batch.data(), sizeof m_batch);
    } while (got < 0 && errno == EINTR);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        m_mayRead = false;
        return false;
    }
    if (got <= 0) { // ENODEV and anything else: the device is no longer usable
        m_isGone = true;
        return false;
    }
    m_next = 0;
    m_end = static_cast<std::size_t>(got) / sizeof(input_event);
    // A batch that did not fill the buffer emptied the kernel's queue: the next read waits until
    // the file is readable again.
    m_mayRead = m_end == m_batch.size();
    return m_end > 0;
}

bool InputDevice::setBlocking(bool isBlocking) noexcept
{
    if (isBlocking == m_isBlocking)
        return true;
    const int flags = ::fcntl(m_fd.get(), F_GETFL);
    if (flags < 0 ||
        ::fcntl(m_fd.get(), F_SETFL, isBlocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK) != 0)
        return false;
    m_isBlocking = isBlocking;
    return true;
}

[[gnu::hot]] InputDevice::WaitStatus InputDevice::wait() noexcept
{
    const ssize_t got = ::read(m_fd.get(), m_batch.data(), sizeof m_batch);
    if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
        return WaitStatus::interrupted;
    if (got <= 0) {
        m_isGone = true;
        return WaitStatus::gone;
    }
    m_next = 0;
    m_end = static_cast<std::size_t>(got) / sizeof(input_event);
    m_mayRead = false;
    return WaitStatus::events;
}

void InputDevice::resync(const input_event& dropped)
{
    // The kernel lost events. What is left of the batch happened before the key state read
    // here, which includes it; reading the state also drops the key events still queued for
    // this file (the kernel does so, as they are part of the state). The differences come out
    // as ordinary frames: releases first, so that no chord that never was is seen.
    m_next = m_end;
    // What the kernel still holds is read next; a blocking file is read by the next `wait`, since
    // a read here could sleep with the resync's changes not yet handled.
    m_mayRead = !m_isBlocking;
    m_resync.clear();
    m_resyncNext = 0;
    std::array<unsigned char, KEY_CNT / 8 + 1> bits{};
    if (::ioctl(m_fd.get(), EVIOCGKEY(sizeof bits), bits.data()) < 0)
        return;
    for (const int wanted : {0, 1}) {
        for (std::size_t code = 0; code < m_keysDown.size(); ++code) {
            const bool isDown = (bits[code / 8] & (1U << (code % 8))) != 0;
            if (isDown == m_keysDown.test(code) || (isDown ? 1 : 0) != wanted)
                continue;
            input_event change = dropped;
            change.type = EV_KEY;
            change.code = static_cast<std::uint16_t>(code);
            change.value = wanted;
            m_resync.push_back(change);
            change.type = EV_SYN;
            change.code = SYN_REPORT;
            change.value = 0;
            m_resync.push_back(change);
        }
    }
}

[[gnu::hot]] void InputDevice::track(const input_event& event) noexcept
{
    if (event.type == EV_KEY && event.code < KEY_CNT && event.value != 2)
        m_keysDown.set(event.code, event.value != 0);
}

bool InputDevice::hasLed(int code) const noexcept
{
    return libevdev_has_event_code(m_evdev, EV_LED, static_cast<unsigned>(code)) != 0;
}

void InputDevice::setLed(int code, int value) noexcept
{
    std::array<input_event, 2> events{};
    events[0].type = EV_LED;
    events[0].code = static_cast<std::uint16_t>(code);
    events[0].value = value != 0 ? 1 : 0;
    events[1].type = EV_SYN;
    events[1].code = SYN_REPORT;
    [[maybe_unused]] const auto written = ::write(m_fd.get(), events.data(), sizeof events);
}

} // namespace orvane::platform
