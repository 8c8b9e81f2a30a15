// SPDX-License-Identifier: GPL-3.0-or-later
// One evdev input device Orvane reads: its file, its libevdev state and its grab.
#pragma once

#include "platform/linux/UniqueFd.h"

#include <linux/input.h>

#include <array>
#include <bitset>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

struct libevdev;

namespace orvane::platform {

class InputDevice {
public:
    // Opens the event device read-write (LEDs are written back) and non-blocking; event times come
    // from the monotonic clock.
    static std::unique_ptr<InputDevice> open(const std::string& path, std::error_code& error);
    ~InputDevice(); // closing the file also ends the grab

    InputDevice(const InputDevice&) = delete;
    InputDevice& operator=(const InputDevice&) = delete;

    int fd() const noexcept { return m_fd.get(); }
    const std::string& path() const noexcept { return m_path; }
    const libevdev* evdev() const noexcept { return m_evdev; }
    dev_t deviceNumber() const noexcept { return m_deviceNumber; }

    // False on kernels that cannot stamp events with the monotonic clock.
    bool hasMonotonicTime() const noexcept { return m_hasMonotonicTime; }

    bool grab(std::error_code& error) noexcept;
    void ungrab() noexcept;
    bool isGrabbed() const noexcept { return m_isGrabbed; }

    // The keys that are down, as far as the device has told (including what a resync learned).
    std::vector<int> keysDown() const;
    bool isKeyDown(int code) const noexcept;

    // The device's file became readable: the next `next` may read it again.
    void markReadable() noexcept { m_mayRead = true; }

    // The input thread sleeps in a blocking read on its only keyboard and polls the others.
    bool setBlocking(bool isBlocking) noexcept;
    enum class WaitStatus { events, interrupted, gone };
    // One read(2) that sleeps until events come (on a blocking file), made the batch `next` hands
    // out; whatever else waits is left to the next `wait`. `interrupted`: a signal ended the wait,
    // or the file was non-blocking and empty. Called once the last batch was handed out.
    WaitStatus wait() noexcept;

    enum class ReadStatus { event, none, dropped, gone };
    // The next event. Events are read in batches, one system call for all that waits, and the
    // file is read again only once it was marked readable (or the last batch filled the buffer),
    // so an empty read is never made just to learn that nothing waits. After `dropped` the
    // caller has discarded the unfinished frame, and the following events are the changes the
    // resync found, each closed by a SYN_REPORT, so they can be handled like any other events.
    ReadStatus next(input_event& event) noexcept;

    bool hasLed(int code) const noexcept;
    void setLed(int code, int value) noexcept;

private:
    InputDevice(UniqueFd fd, libevdev* evdev, std::string path, dev_t deviceNumber)
        : m_fd(std::move(fd)), m_evdev(evdev), m_path(std::move(path)), m_deviceNumber(deviceNumber)
    {
    }
    bool fill() noexcept;
    void resync(const input_event& dropped);
    void track(const input_event& event) noexcept;

    UniqueFd m_fd;
    libevdev* m_evdev;
    std::string m_path;
    dev_t m_deviceNumber;
    bool m_isGrabbed = false;
    bool m_hasMonotonicTime = false;
    bool m_mayRead = true;
    bool m_isBlocking = false;
    std::bitset<KEY_CNT> m_keysDown;
    bool m_isGone = false;
    // The last batch read, `m_next` the first event not handed out; after a loss, the changes
    // the resync found, handed out before anything read later.
    std::array<input_event, 64> m_batch{};
    std::size_t m_next = 0;
    std::size_t m_end = 0;
    std::vector<input_event> m_resync;
    std::size_t m_resyncNext = 0;
};

} // namespace orvane::platform
