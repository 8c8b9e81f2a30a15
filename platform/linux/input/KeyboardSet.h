// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboards Orvane reads: found by the first scan and by hotplug, grabbed once none of their
// keys is held, shown the LEDs the desktop sets on the output keyboard, and dropped when they go.
// Each is watched in the input thread's epoll set under its id.
#pragma once

#include "DeviceSurvey.h"
#include "InputDevice.h"
#include "InputLog.h"
#include "InputTranslation.h"
#include "KeyboardRow.h"
#include "UdevPtr.h"
#include "UinputKeyboard.h"

#include <linux/input.h>

#include <array>
#include <bitset>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane::platform {

struct Keyboard {
    std::uint64_t id = 0;
    std::unique_ptr<InputDevice> input;
    std::string name; // for the log: 'name' (/dev/input/eventN)
    KeyboardRow row;  // where its top-row positions are

    // Keys were held when it was found: not grabbed until they are up, and said so at `noticeAt`.
    bool isWaitingForRelease = false;
    bool isGrabFailed = false;
    std::chrono::steady_clock::time_point noticeAt;

    // The key path's state of this keyboard.
    std::vector<input_event> pulled; // read from the device, not handled yet
    std::vector<input_event> frame;  // passed events of the frame not yet closed
    bool isFrameSwallowed = false;   // a key of this frame was swallowed
    ModifierState modifiers;
    std::bitset<KEY_CNT> passedDown;   // keys whose press went out to the output
    std::vector<int> releasedInFrame;  // keys released in the frame not yet closed
    std::optional<std::uint32_t> scan; // the frame's MSC_SCAN not yet used by a key
    // Where each held key was placed when pressed: repeats and releases carry no scan code.
    std::array<std::int8_t, KEY_CNT> placedAt = [] {
        std::array<std::int8_t, KEY_CNT> all{};
        all.fill(KeyboardRow::byKeyCode);
        return all;
    }();
};

class KeyboardSet {
public:
    using Map = std::map<std::uint64_t, Keyboard>;

    // Used on the input thread once it runs. `output` outlives the set; `epoll` is the input
    // thread's.
    KeyboardSet(UinputKeyboard& output, int epoll, GrabPolicy policy,
                std::chrono::milliseconds heldKeyNotice, InputLog log);
    ~KeyboardSet();

    KeyboardSet(const KeyboardSet&) = delete;
    KeyboardSet& operator=(const KeyboardSet&) = delete;

    // Hotplug is watched (in epoll under `tag`) before the first scan, so that no keyboard slips
    // in between; `hotplugFd` is the file it is read from, or -1 when there is none.
    void watchHotplug(std::uint64_t tag);
    int hotplugFd() const noexcept;
    void scan();
    void readHotplug();

    Keyboard* find(std::uint64_t id) noexcept;
    // The only keyboard, when there is exactly one and it is grabbed.
    Keyboard* sole() noexcept;
    Map::iterator begin() noexcept { return m_keyboards.begin(); }
    Map::iterator end() noexcept { return m_keyboards.end(); }
    Map::const_iterator begin() const noexcept { return m_keyboards.begin(); }
    Map::const_iterator end() const noexcept { return m_keyboards.end(); }

    // Grabs a keyboard that was waiting for its keys' release; false (logged) when it cannot.
    bool grab(Keyboard& keyboard);
    // Drops a keyboard left to another program that holds its grab.
    void forget(std::uint64_t id);
    // Drops a keyboard that is gone; the key path has released what it held.
    void remove(std::uint64_t id);
    // Ends every grab and drops every keyboard, so each works as without Orvane.
    void ungrabAll() noexcept;

    // In the epoll set (edge-triggered) or out of it, while the keyboard is read with blocking
    // reads. False, logged, when it cannot be watched.
    bool watch(Keyboard& keyboard);
    void unwatch(Keyboard& keyboard) noexcept;

    // When a keyboard whose keys are held is next due to be mentioned in the log; then the
    // mention itself.
    std::optional<std::chrono::steady_clock::time_point> nextNotice() const noexcept;
    void noticeHeldKeys() noexcept;

    // Shows the LED changes the desktop made on the output keyboard on every keyboard.
    void showOutputLeds();

private:
    void add(const std::string& path);
    bool isKnown(const InputDevice& input) const noexcept;
    TaughtRows taughtRows();

    UinputKeyboard& m_output;
    int m_epoll;
    GrabPolicy m_policy;
    std::chrono::milliseconds m_heldKeyNotice;
    InputLog m_log;
    UdevPtr m_udev;
    UdevMonitorPtr m_hotplug;
    Map m_keyboards;
    bool m_isTaughtRowsErrorSaid = false;
    std::uint64_t m_nextId = 16; // the input thread's own files have the epoll tags below
};

} // namespace orvane::platform
