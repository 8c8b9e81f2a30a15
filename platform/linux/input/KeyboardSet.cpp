// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyboardSet.h"

#include <libudev.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <sys/epoll.h>
#include <unistd.h>
#include <utility>

namespace orvane::platform {

namespace {

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

bool watchFd(int epoll, int fd, std::uint64_t tag, std::uint32_t events)
{
    epoll_event event{};
    event.events = events;
    event.data.u64 = tag;
    return ::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

// The kernel announces devices itself; with a udev daemon running, its announcement comes after
// the device's permissions are set, so that one is the one to wait for.
const char* hotplugSource()
{
    return ::access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
}

} // namespace

KeyboardSet::KeyboardSet(UinputKeyboard& output, int epoll, GrabPolicy policy,
                         std::chrono::milliseconds heldKeyNotice, InputLog log)
    : m_output(output), m_epoll(epoll), m_policy(std::move(policy)), m_heldKeyNotice(heldKeyNotice),
      m_log(log)
{
}

KeyboardSet::~KeyboardSet() = default; // the monitor goes before the context it came from

void KeyboardSet::watchHotplug(std::uint64_t tag)
{
    m_udev.reset(udev_new());
    if (m_udev != nullptr)
        m_hotplug.reset(udev_monitor_new_from_netlink(m_udev.get(), hotplugSource()));
    if (m_hotplug != nullptr &&
        (udev_monitor_filter_add_match_subsystem_devtype(m_hotplug.get(), "input", nullptr) < 0 ||
         udev_monitor_enable_receiving(m_hotplug.get()) < 0 ||
         !watchFd(m_epoll, udev_monitor_get_fd(m_hotplug.get()), tag, EPOLLIN)))
        m_hotplug.reset();
    if (m_hotplug == nullptr)
        m_log.error("no hotplug events: keyboards plugged in later are not seen");
}

int KeyboardSet::hotplugFd() const noexcept
{
    return m_hotplug != nullptr ? udev_monitor_get_fd(m_hotplug.get()) : -1;
}

void KeyboardSet::scan()
{
    for (const auto& path : eventNodes())
        add(path);
    if (m_keyboards.empty())
        m_log.error("no keyboard to grab yet ('orvanectl doctor' tells why); "
                    "keyboards plugged in later are grabbed");
}

void KeyboardSet::readHotplug()
{
    while (const UdevDevicePtr change{udev_monitor_receive_device(m_hotplug.get())}) {
        const char* action = udev_device_get_action(change.get());
        const char* node = udev_device_get_devnode(change.get());
        const std::string path = node != nullptr ? node : "";
        if (action != nullptr && std::string_view(action) == "add" &&
            path.starts_with("/dev/input/event"))
            add(path);
    }
}

void KeyboardSet::add(const std::string& path)
{
    std::error_code error;
    auto input = InputDevice::open(path, error);
    if (!input) {
        // Without access to a node it may be a mouse as well as a keyboard: only a debug line
        // here, and the summary after the scan.
        if (error != std::errc::no_such_device && error != std::errc::no_such_file_or_directory)
            m_log.debug("cannot open " + path + ": " + error.message());
        return;
    }
    if (isKnown(*input))
        return; // seen in the scan and announced by hotplug as well
    const DeviceTraits traits = deviceTraits(input->evdev(), path);
    if (decide(traits, m_policy) != GrabDecision::grab)
        return;
    const std::uint64_t id = m_nextId++;
    Keyboard& keyboard = m_keyboards[id];
    keyboard.id = id;
    keyboard.input = std::move(input);
    keyboard.name = "'" + traits.name + "' (" + path + ")";
    keyboard.row = keyboardRow(keyboard.input->evdev(), keyboard.input->fd(), path, taughtRows());
    if (!watch(keyboard)) {
        m_keyboards.erase(id);
        return;
    }
    if (keyboard.input->keysDown().empty()) {
        if (!grab(keyboard))
            forget(id);
    } else {
        keyboard.isWaitingForRelease = true;
        keyboard.noticeAt = std::chrono::steady_clock::now() + m_heldKeyNotice;
    }
}

// Read at each keyboard's arrival, so that a row taught while Orvane runs applies as soon as its
// devices come again; a damaged file is left as it is and said once.
TaughtRows KeyboardSet::taughtRows()
{
    std::string error;
    auto rows = readTaughtRows(taughtRowsPath(), error);
    if (!rows && !m_isTaughtRowsErrorSaid) {
        m_log.error("the taught top rows in " + taughtRowsPath().string() +
                    " are not used: " + error);
        m_isTaughtRowsErrorSaid = true;
    }
    return rows.value_or(TaughtRows{});
}

bool KeyboardSet::isKnown(const InputDevice& input) const noexcept
{
    return std::any_of(m_keyboards.begin(), m_keyboards.end(), [&](const auto& entry) {
        return entry.second.input->deviceNumber() == input.deviceNumber();
    });
}

Keyboard* KeyboardSet::find(std::uint64_t id) noexcept
{
    const auto found = m_keyboards.find(id);
    return found != m_keyboards.end() ? &found->second : nullptr;
}

[[gnu::hot]] Keyboard* KeyboardSet::sole() noexcept
{
    if (m_keyboards.size() != 1)
        return nullptr;
    Keyboard& keyboard = m_keyboards.begin()->second;
    return keyboard.isWaitingForRelease ? nullptr : &keyboard;
}

bool KeyboardSet::grab(Keyboard& keyboard)
{
    std::error_code error;
    if (!keyboard.input->grab(error)) {
        m_log.error("cannot grab " + keyboard.name + ": " + error.message());
        return false;
    }
    keyboard.isWaitingForRelease = false;
    // A keyboard plugged in later shows the LEDs the desktop set (Caps Lock) like the others.
    for (int led = 0; led <= LED_MAX; ++led) {
        const std::uint32_t bit = 1U << led;
        if ((m_output.knownLeds() & bit) != 0 && keyboard.input->hasLed(led))
            keyboard.input->setLed(led, (m_output.ledState() & bit) != 0 ? 1 : 0);
    }
    m_log.info("grabbed " + keyboard.name +
               "; its top row: " + std::string(describe(keyboard.row.source())));
    return true;
}

void KeyboardSet::forget(std::uint64_t id)
{
    const auto found = m_keyboards.find(id);
    if (found == m_keyboards.end())
        return;
    unwatch(found->second);
    m_keyboards.erase(found);
}

void KeyboardSet::remove(std::uint64_t id)
{
    const auto found = m_keyboards.find(id);
    if (found == m_keyboards.end())
        return;
    unwatch(found->second);
    m_log.info("removed " + found->second.name);
    m_keyboards.erase(found);
}

void KeyboardSet::ungrabAll() noexcept
{
    for (auto& [id, keyboard] : m_keyboards)
        keyboard.input->ungrab();
    m_keyboards.clear();
}

bool KeyboardSet::watch(Keyboard& keyboard)
{
    // Edge-triggered: a keyboard is always read until its queue is empty (a batch that does not
    // fill the buffer), so the kernel need not check it again on every wait.
    if (watchFd(m_epoll, keyboard.input->fd(), keyboard.id, EPOLLIN | EPOLLET))
        return true;
    m_log.error("cannot watch " + keyboard.name + ": " + lastError().message());
    return false;
}

void KeyboardSet::unwatch(Keyboard& keyboard) noexcept
{
    ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, keyboard.input->fd(), nullptr);
}

std::optional<std::chrono::steady_clock::time_point> KeyboardSet::nextNotice() const noexcept
{
    std::optional<std::chrono::steady_clock::time_point> next;
    for (const auto& [id, keyboard] : m_keyboards) {
        if (keyboard.isWaitingForRelease && (!next || keyboard.noticeAt < *next))
            next = keyboard.noticeAt;
    }
    return next;
}

void KeyboardSet::noticeHeldKeys() noexcept
{
    if (std::none_of(m_keyboards.begin(), m_keyboards.end(),
                     [](const auto& entry) { return entry.second.isWaitingForRelease; }))
        return; // the usual case: no clock read for every key
    const auto now = std::chrono::steady_clock::now();
    for (auto& [id, keyboard] : m_keyboards) {
        if (keyboard.isWaitingForRelease && keyboard.noticeAt <= now) {
            keyboard.noticeAt = std::chrono::steady_clock::time_point::max();
            m_log.info("keys are still held on " + keyboard.name +
                       "; it is grabbed once they are released");
        }
    }
}

void KeyboardSet::showOutputLeds()
{
    for (const input_event& change : m_output.readLedChanges()) {
        for (auto& [id, keyboard] : m_keyboards) {
            if (keyboard.input->hasLed(change.code))
                keyboard.input->setLed(change.code, change.value);
        }
    }
}

} // namespace orvane::platform
