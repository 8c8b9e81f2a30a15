#include "InputDevice.h"

#include <libevdev/libevdev.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
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
    for (int code = 0; code < KEY_CNT; ++code) {
        if (isKeyDown(code))
            keys.push_back(code);
    }
    return keys;
}

bool InputDevice::isKeyDown(int code) const noexcept
{
    return libevdev_has_event_code(m_evdev, EV_KEY, static_cast<unsigned>(code)) != 0 &&
           libevdev_get_event_value(m_evdev, EV_KEY, static_cast<unsigned>(code)) != 0;
}

InputDevice::ReadStatus InputDevice::next(input_event& event) noexcept
{
    const unsigned flags = m_isSyncing ? LIBEVDEV_READ_FLAG_SYNC : LIBEVDEV_READ_FLAG_NORMAL;
    const int rc = libevdev_next_event(m_evdev, flags, &event);
    if (rc == LIBEVDEV_READ_STATUS_SUCCESS)
        return ReadStatus::event;
    if (rc == LIBEVDEV_READ_STATUS_SYNC) {
        if (m_isSyncing)
            return ReadStatus::event; // one change of the resync
        m_isSyncing = true;           // the SYN_DROPPED itself: resync follows
        return ReadStatus::dropped;
    }
    if (rc == -EAGAIN) {
        if (m_isSyncing) { // resync done; back to the ordinary stream
            m_isSyncing = false;
            return next(event);
        }
        return ReadStatus::none;
    }
    if (rc == -EINTR)
        return next(event);
    return ReadStatus::gone; // -ENODEV and anything else: the device is no longer usable
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
