// SPDX-License-Identifier: GPL-3.0-or-later
// Test-side devices for the end-to-end tests inside the VM: a fake keyboard made through uinput,
// a reader of any event device, and Orvane run as a child process.
#pragma once

#include <linux/input.h>

#include <chrono>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace orvane::vmtest {

using Clock = std::chrono::steady_clock;
using KeyChange = std::pair<int, int>; // evdev code, value

// A keyboard the kernel believes in: F1-F12, the top-row keys (a PC laptop's too), KEY_FN, letters,
// modifiers, the Caps Lock LED; no kernel auto-repeat (the tests write each repeat themselves, at
// known times). Not BUS_VIRTUAL, but still a uinput device: Orvane is run with --include-virtual.
class FakeKeyboard {
public:
    explicit FakeKeyboard(const char* name);
    ~FakeKeyboard();
    FakeKeyboard(const FakeKeyboard&) = delete;
    FakeKeyboard& operator=(const FakeKeyboard&) = delete;

    const std::string& node() const { return m_node; }
    int fd() const { return m_fd; }
    // One key change in its own frame.
    void key(int code, int value);
    // Key changes without closing frames, then one SYN_REPORT (or none).
    void raw(int type, int code, int value);
    void destroy();

private:
    int m_fd = -1;
    std::string m_node;
};

// A HID keyboard made through uhid, so that the kernel binds the driver it would bind for the real
// one (hid-apple for Apple's vendor ids, with its model tables, fnmode, KEY_FN and MSC_SCAN). The
// report is a boot keyboard's with a fn bit on Apple's vendor page.
class UhidKeyboard {
public:
    UhidKeyboard(unsigned vendor, unsigned product, const std::string& name);
    ~UhidKeyboard();
    UhidKeyboard(const UhidKeyboard&) = delete;
    UhidKeyboard& operator=(const UhidKeyboard&) = delete;

    // Empty when the kernel made no event node for it.
    const std::string& node() const { return m_node; }
    // One input report: the key held (a keyboard-page usage, 0 for none) and fn.
    void report(unsigned usage, bool fn);

private:
    void answer();
    int m_fd = -1;
    std::string m_node;
};

// Reads an event device without grabbing it.
class Reader {
public:
    explicit Reader(const std::string& node, bool isWritable = false);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    int fd() const { return m_fd; }
    // Frames (key changes of one SYN_REPORT each) until nothing came for `quiet`, or until
    // `enough` key changes arrived and then nothing for a short while.
    std::vector<std::vector<KeyChange>> frames(std::chrono::milliseconds quiet,
                                               std::size_t enough = 0);
    std::vector<KeyChange> keys(std::chrono::milliseconds quiet, std::size_t enough = 0);
    // Waits for one frame; empty on timeout.
    std::vector<KeyChange> nextFrame(std::chrono::milliseconds timeout);
    bool isGone() const { return m_isGone; }
    // The keys the device reports as held right now (EVIOCGKEY).
    std::vector<int> heldKeys() const;

private:
    int m_fd = -1;
    bool m_isGone = false;
    std::vector<KeyChange> m_partial;
};

// /dev/input/eventN of the device with these ids, waiting up to `timeout` for it to appear.
std::string findNode(unsigned vendor, unsigned product, std::chrono::milliseconds timeout);
bool nodeExists(unsigned vendor, unsigned product);
// The event node of the input device with this name, waiting up to `timeout` for it.
std::string findNodeNamed(const std::string& name, std::chrono::milliseconds timeout);
// Orvane (or a forwarder) grabbed `keyboard` once a probe key (F24, which Orvane maps to
// nothing) written to it comes out of `output`.
bool waitUntilGrabbed(FakeKeyboard& keyboard, Reader& output);

pid_t spawn(const std::vector<std::string>& argv);
// Exit status (or 128 + signal); -1 when the process did not end within `timeout`.
int waitExit(pid_t pid, std::chrono::milliseconds timeout);

void sleepFor(std::chrono::milliseconds duration);
std::string describe(const std::vector<KeyChange>& keys);

} // namespace orvane::vmtest
