// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl toprow learn: the user presses the twelve top-row keys from left to right and every
// keyboard is listened to at once, so that a row spread over several devices (a laptop's keyboard,
// its "Video Bus", its vendor's hotkey device) is learned whole. The devices are grabbed while
// learning, so that the keys do nothing else meanwhile.
#include "TopRowLearning.h"

#include "platform/linux/UniqueFd.h"
#include "platform/linux/desktop/AtomicFile.h"
#include "platform/linux/input/DeviceSurvey.h"
#include "platform/linux/input/KeyboardRow.h"

#include <libevdev/libevdev.h>
#include <linux/input.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <memory>
#include <poll.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace orvane::ctl {

namespace {

using platform::DeviceId;
using platform::TaughtKey;

struct Listened {
    platform::UniqueFd fd;
    DeviceId id;
    std::string node;
    // The press being learned from this device, and when it came: a release within a few
    // milliseconds is a device that sends both together (no long press possible).
    int pressed = -1;
    std::chrono::microseconds pressedAt{};
};

constexpr std::chrono::microseconds instantRelease{15'000};

bool anyKeyDown(int fd)
{
    std::array<unsigned char, (KEY_CNT + 7) / 8> bits{};
    if (::ioctl(fd, EVIOCGKEY(bits.size()), bits.data()) < 0)
        return false;
    for (const unsigned char byte : bits) {
        if (byte != 0)
            return true;
    }
    return false;
}

std::string keyName(int code)
{
    const char* name = libevdev_event_code_get_name(EV_KEY, static_cast<unsigned>(code));
    return name != nullptr ? name : "key " + std::to_string(code);
}

// Calls `use(fd, evdev, node)` for every keyboard Orvane would grab; stops when it returns false.
template <typename Use> bool forEachKeyboard(const platform::GrabPolicy& policy, Use use)
{
    for (const std::string& node : platform::eventNodes()) {
        platform::UniqueFd fd(::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        libevdev* evdev = nullptr;
        if (!fd || libevdev_new_from_fd(fd.get(), &evdev) < 0)
            continue;
        const std::unique_ptr<libevdev, decltype(&libevdev_free)> owned(evdev, &libevdev_free);
        if (decide(platform::deviceTraits(evdev, node), policy) == platform::GrabDecision::grab &&
            !use(fd, evdev, node))
            return false;
    }
    return true;
}

// Every keyboard Orvane would grab, grabbed once none of its keys is held (the Enter that started
// this command must reach the terminal's side first).
std::optional<std::vector<Listened>> openKeyboards(const platform::GrabPolicy& policy)
{
    std::vector<Listened> listened;
    const bool isEvery =
        forEachKeyboard(policy, [&listened](platform::UniqueFd& fd, const libevdev* evdev,
                                            const std::string& node) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
            while (anyKeyDown(fd.get()) && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (::ioctl(fd.get(), EVIOCGRAB, 1) != 0) {
                std::cerr << "orvanectl toprow learn: cannot grab '" << libevdev_get_name(evdev)
                          << "' (" << node << "): " << std::strerror(errno)
                          << (errno == EBUSY ? "; another program holds it: quit Orvane first" : "")
                          << '\n';
                return false;
            }
            listened.push_back({std::move(fd), platform::deviceId(evdev), node});
            return true;
        });
    if (!isEvery)
        return std::nullopt;
    return listened;
}

enum class Step { key, back, skip, cancel, none };

Step stepOf(int code)
{
    switch (code) {
    case KEY_ESC:
        return Step::cancel;
    case KEY_BACKSPACE:
        return Step::back;
    case KEY_SPACE:
        return Step::skip;
    case KEY_FN:
    case KEY_LEFTSHIFT:
    case KEY_RIGHTSHIFT:
    case KEY_LEFTCTRL:
    case KEY_RIGHTCTRL:
    case KEY_LEFTALT:
    case KEY_RIGHTALT:
    case KEY_LEFTMETA:
    case KEY_RIGHTMETA:
        return Step::none;
    default:
        return code >= BTN_MISC && code < KEY_OK ? Step::none : Step::key;
    }
}

void printPosition(std::size_t index, const std::optional<TaughtKey>& key)
{
    std::cout << "  " << index + 1 << ": ";
    if (!key)
        std::cout << "skipped (sends nothing)\n";
    else
        std::cout << keyName(key->code) << " from '" << key->device.name << "'\n";
}

// Reads presses until the row is whole; absent when the user cancelled.
std::optional<platform::TaughtRow> listen(std::vector<Listened>& devices)
{
    std::vector<std::optional<TaughtKey>> keys;
    std::vector<pollfd> fds;
    fds.reserve(devices.size());
    for (const Listened& device : devices)
        fds.push_back({device.fd.get(), POLLIN, 0});
    while (keys.size() < platform::TaughtRow{}.keys.size()) {
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            return std::nullopt;
        for (Listened& device : devices) {
            input_event event{};
            while (::read(device.fd.get(), &event, sizeof event) ==
                   static_cast<ssize_t>(sizeof event)) {
                if (event.type != EV_KEY)
                    continue;
                const std::chrono::microseconds at =
                    std::chrono::seconds(event.input_event_sec) +
                    std::chrono::microseconds(event.input_event_usec);
                if (event.value == 0 && event.code == device.pressed) {
                    if (at - device.pressedAt < instantRelease && !keys.empty() && keys.back() &&
                        keys.back()->device == device.id && keys.back()->code == event.code) {
                        keys.back()->isInstant = true;
                        std::cout << "     (press and release come together: no long press)\n";
                    }
                    device.pressed = -1;
                    continue;
                }
                if (event.value != 1 || keys.size() == platform::TaughtRow{}.keys.size())
                    continue;
                switch (stepOf(event.code)) {
                case Step::cancel:
                    return std::nullopt;
                case Step::back:
                    if (!keys.empty()) {
                        keys.pop_back();
                        std::cout << "  back to " << keys.size() + 1 << '\n';
                    }
                    break;
                case Step::skip:
                    keys.emplace_back();
                    printPosition(keys.size() - 1, keys.back());
                    break;
                case Step::key:
                    keys.emplace_back(TaughtKey{device.id, event.code, false});
                    device.pressed = event.code;
                    device.pressedAt = at;
                    printPosition(keys.size() - 1, keys.back());
                    break;
                case Step::none:
                    break;
                }
            }
        }
    }
    platform::TaughtRow row;
    std::copy(keys.begin(), keys.end(), row.keys.begin());
    return row;
}

} // namespace

int learnTopRow(const platform::GrabPolicy& policy)
{
    const std::filesystem::path path = platform::taughtRowsPath();
    std::string error;
    const auto stored = platform::readTaughtRows(path, error);
    if (!stored) {
        // Kept as it is: it may hold rows the user would miss.
        std::cerr << "orvanectl toprow learn: " << path.string() << " " << error
                  << "; move it away to teach again\n";
        return exitFailed;
    }
    auto devices = openKeyboards(policy);
    if (!devices)
        return exitFailed;
    if (devices->empty()) {
        std::cerr << "orvanectl toprow learn: no keyboard found (see orvanectl doctor)\n";
        return exitFailed;
    }
    std::cout << "Press the twelve top-row keys from left to right, without fn.\n"
                 "Backspace steps back, Space skips a key that sends nothing, Escape cancels.\n"
              << std::flush;
    const auto row = listen(*devices);
    if (!row) {
        std::cout << "Cancelled; nothing stored.\n";
        return exitFailed;
    }
    std::error_code written = platform::createPrivateDirectories(path.parent_path());
    if (!written)
        written = platform::replaceFileAtomically(
            path, platform::encodeTaughtRows(platform::withRow(*stored, *row)));
    if (written) {
        std::cerr << "orvanectl toprow learn: cannot write " << path.string() << ": "
                  << written.message() << '\n';
        return exitFailed;
    }
    std::cout << "Stored in " << path.string()
              << ". Orvane places these keys by it from its next start (or when the keyboard "
                 "comes again).\n";
    return exitOk;
}

int forgetTopRows(const platform::GrabPolicy& policy)
{
    const std::filesystem::path path = platform::taughtRowsPath();
    std::string error;
    auto stored = platform::readTaughtRows(path, error);
    if (!stored) {
        std::cerr << "orvanectl toprow forget: " << path.string() << " " << error
                  << "; left as it is\n";
        return exitFailed;
    }
    std::vector<DeviceId> attached;
    forEachKeyboard(policy,
                    [&attached](platform::UniqueFd&, const libevdev* evdev, const std::string&) {
                        attached.push_back(platform::deviceId(evdev));
                        return true;
                    });
    const std::size_t before = stored->size();
    std::erase_if(*stored, [&attached](const platform::TaughtRow& row) {
        return std::any_of(attached.begin(), attached.end(),
                           [&row](const DeviceId& id) { return row.mentions(id); });
    });
    if (stored->size() != before) {
        if (const std::error_code written =
                platform::replaceFileAtomically(path, platform::encodeTaughtRows(*stored))) {
            std::cerr << "orvanectl toprow forget: cannot write " << path.string() << ": "
                      << written.message() << '\n';
            return exitFailed;
        }
    }
    std::cout << "Forgot " << before - stored->size()
              << " taught row(s) of the keyboards attached now.\n";
    return exitOk;
}

} // namespace orvane::ctl
