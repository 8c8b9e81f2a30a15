// SPDX-License-Identifier: GPL-3.0-or-later
#include "UinputKeyboard.h"

#include "InputTranslation.h"

#include <linux/uinput.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>

namespace orvane::platform {

namespace {

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

bool enable(int fd, unsigned long request, int code)
{
    return ::ioctl(fd, request, code) == 0;
}

input_event makeEvent(int type, int code, int value)
{
    input_event event{};
    event.type = static_cast<std::uint16_t>(type);
    event.code = static_cast<std::uint16_t>(code);
    event.value = value;
    return event;
}

} // namespace

bool isOrvaneOutput(std::uint16_t vendor, std::uint16_t product) noexcept
{
    return vendor == outputVendor && product == outputProduct;
}

std::unique_ptr<UinputKeyboard> UinputKeyboard::create(std::error_code& error)
{
    UniqueFd fd(::open("/dev/uinput", O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        error = lastError();
        return nullptr;
    }
    // Every keyboard key, none of the pointer or joystick buttons (those would make desktops take
    // it for a mouse or a game pad). No EV_REP: the kernel would add repeats of its own to the
    // ones passed on from the keyboards.
    bool ok = enable(fd.get(), UI_SET_EVBIT, EV_KEY) && enable(fd.get(), UI_SET_EVBIT, EV_MSC) &&
              enable(fd.get(), UI_SET_MSCBIT, MSC_SCAN) && enable(fd.get(), UI_SET_EVBIT, EV_LED);
    for (int code = 1; ok && code < KEY_CNT; ++code) {
        if (!isButton(code))
            ok = enable(fd.get(), UI_SET_KEYBIT, code);
    }
    for (int led = 0; ok && led <= LED_MAX; ++led)
        ok = enable(fd.get(), UI_SET_LEDBIT, led);
    uinput_setup setup{};
    setup.id.bustype = BUS_VIRTUAL;
    setup.id.vendor = outputVendor;
    setup.id.product = outputProduct;
    setup.id.version = 1;
    std::memcpy(setup.name, outputName.data(), outputName.size());
    ok =
        ok && ::ioctl(fd.get(), UI_DEV_SETUP, &setup) == 0 && ::ioctl(fd.get(), UI_DEV_CREATE) == 0;
    if (!ok) {
        error = lastError();
        return nullptr;
    }
    return std::unique_ptr<UinputKeyboard>(new UinputKeyboard(std::move(fd)));
}

UinputKeyboard::~UinputKeyboard()
{
    releaseAll();
    ::ioctl(m_fd.get(), UI_DEV_DESTROY);
}

[[gnu::hot]] void UinputKeyboard::track(const input_event& event) noexcept
{
    if (event.type == EV_KEY && event.code < KEY_CNT && event.value != 2)
        m_held.set(event.code, event.value != 0);
}

[[gnu::hot]] bool UinputKeyboard::writeFrame(std::span<const input_event> events) noexcept
{
    // The usual frame is a key or two with a scan code: it is put together on the stack.
    std::array<input_event, 16> small;
    std::span<input_event> frame;
    if (events.size() < small.size()) {
        std::copy(events.begin(), events.end(), small.begin());
        frame = std::span(small).first(events.size() + 1);
    } else {
        try {
            m_buffer.assign(events.begin(), events.end());
            m_buffer.emplace_back();
        } catch (...) {
            return false;
        }
        frame = m_buffer;
    }
    frame.back() = makeEvent(EV_SYN, SYN_REPORT, 0);
    const auto size = static_cast<ssize_t>(frame.size_bytes());
    ssize_t written;
    do {
        written = ::write(m_fd.get(), frame.data(), frame.size_bytes());
    } while (written < 0 && errno == EINTR);
    if (written != size)
        return false;
    for (const auto& event : events)
        track(event);
    return true;
}

[[gnu::hot]] bool UinputKeyboard::writeKey(int code, int value) noexcept
{
    const input_event event = makeEvent(EV_KEY, code, value);
    return writeFrame({&event, 1});
}

bool UinputKeyboard::isHeld(int code) const noexcept
{
    return code >= 0 && code < KEY_CNT && m_held.test(static_cast<std::size_t>(code));
}

void UinputKeyboard::releaseAll() noexcept
{
    for (std::size_t code = 0; code < m_held.size(); ++code) {
        if (m_held.test(code) && !writeKey(static_cast<int>(code), 0))
            m_held.reset(code); // the device is gone; nothing is held any more
    }
}

std::vector<input_event> UinputKeyboard::readLedChanges() noexcept
{
    std::vector<input_event> changes;
    input_event events[16];
    for (;;) {
        const ssize_t got = ::read(m_fd.get(), events, sizeof events);
        if (got <= 0)
            break;
        for (std::size_t i = 0; i < static_cast<std::size_t>(got) / sizeof(input_event); ++i) {
            const input_event& event = events[i];
            if (event.type != EV_LED || event.code > LED_MAX)
                continue;
            const std::uint32_t bit = 1U << event.code;
            m_leds = event.value != 0 ? (m_leds | bit) : (m_leds & ~bit);
            m_knownLeds |= bit;
            changes.push_back(event);
        }
    }
    return changes;
}

} // namespace orvane::platform
