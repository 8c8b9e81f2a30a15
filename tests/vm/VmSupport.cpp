// SPDX-License-Identifier: GPL-3.0-or-later
#include "VmSupport.h"

#include <linux/uhid.h>
#include <linux/uinput.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace orvane::vmtest {

namespace {

[[noreturn]] void fail(const std::string& what)
{
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

void emit(int fd, int type, int code, int value)
{
    input_event event{};
    event.type = static_cast<__u16>(type);
    event.code = static_cast<__u16>(code);
    event.value = value;
    if (::write(fd, &event, sizeof event) != static_cast<ssize_t>(sizeof event))
        fail("write to the fake keyboard");
}

unsigned readHex(const std::string& path)
{
    std::ifstream file(path);
    unsigned value = 0;
    file >> std::hex >> value;
    return file ? value : 0xFFFFFFFF;
}

} // namespace

FakeKeyboard::FakeKeyboard(const char* name)
{
    m_fd = ::open("/dev/uinput", O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        fail("open /dev/uinput");
    ::ioctl(m_fd, UI_SET_EVBIT, EV_KEY);
    ::ioctl(m_fd, UI_SET_EVBIT, EV_LED);
    ::ioctl(m_fd, UI_SET_LEDBIT, LED_CAPSL);
    ::ioctl(m_fd, UI_SET_LEDBIT, LED_NUML);
    ::ioctl(m_fd, UI_SET_LEDBIT, LED_COMPOSE);
    for (int code = KEY_ESC; code <= KEY_F12; ++code)
        ::ioctl(m_fd, UI_SET_KEYBIT, code);
    for (int code :
         {KEY_FN,           KEY_MUTE,       KEY_VOLUMEDOWN,      KEY_VOLUMEUP,  KEY_BRIGHTNESSDOWN,
          KEY_BRIGHTNESSUP, KEY_PLAYPAUSE,  KEY_PREVIOUSSONG,    KEY_NEXTSONG,  KEY_REWIND,
          KEY_FASTFORWARD,  KEY_KBDILLUMUP, KEY_KBDILLUMDOWN,    KEY_SCALE,     KEY_DASHBOARD,
          KEY_SEARCH,       KEY_LEFTMETA,   KEY_RIGHTMETA,       KEY_RIGHTCTRL, KEY_RIGHTALT,
          KEY_F24,          KEY_MICMUTE,    KEY_SWITCHVIDEOMODE, KEY_WLAN,      KEY_BLUETOOTH,
          KEY_KEYBOARD,     KEY_FAVORITES})
        ::ioctl(m_fd, UI_SET_KEYBIT, code);
    uinput_setup setup{};
    setup.id.bustype = BUS_USB;
    setup.id.vendor = 0x1d6b;
    setup.id.product = 0x0104;
    std::snprintf(setup.name, sizeof setup.name, "%s", name);
    if (::ioctl(m_fd, UI_DEV_SETUP, &setup) < 0 || ::ioctl(m_fd, UI_DEV_CREATE) < 0)
        fail("create the fake keyboard");
    char sysname[64] = {};
    if (::ioctl(m_fd, UI_GET_SYSNAME(sizeof sysname), sysname) < 0)
        fail("UI_GET_SYSNAME");
    const std::string dir = std::string("/sys/devices/virtual/input/") + sysname;
    for (int tries = 0; tries < 200 && m_node.empty(); ++tries) {
        if (DIR* entries = ::opendir(dir.c_str())) {
            while (const dirent* entry = ::readdir(entries)) {
                if (std::strncmp(entry->d_name, "event", 5) == 0)
                    m_node = std::string("/dev/input/") + entry->d_name;
            }
            ::closedir(entries);
        }
        if (m_node.empty() || ::access(m_node.c_str(), F_OK) != 0) {
            m_node.clear();
            sleepFor(std::chrono::milliseconds(5));
        }
    }
    if (m_node.empty())
        fail("no event node for the fake keyboard");
}

FakeKeyboard::~FakeKeyboard()
{
    destroy();
}

void FakeKeyboard::key(int code, int value)
{
    emit(m_fd, EV_KEY, code, value);
    emit(m_fd, EV_SYN, SYN_REPORT, 0);
}

void FakeKeyboard::raw(int type, int code, int value)
{
    emit(m_fd, type, code, value);
}

void FakeKeyboard::destroy()
{
    if (m_fd < 0)
        return;
    ::ioctl(m_fd, UI_DEV_DESTROY);
    ::close(m_fd);
    m_fd = -1;
}

namespace {

// Boot keyboard (modifiers, reserved byte, six keys), then fn as bit 0 of a byte of its own on
// Apple's vendor page (0xff, usage 3), which hid-apple reports as KEY_FN.
constexpr unsigned char uhidDescriptor[] = {
    0x05, 0x01, 0x09, 0x06, 0xa1, 0x01, 0x05, 0x07, 0x19, 0xe0, 0x29, 0xe7, 0x15, 0x00,
    0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01,
    0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x26, 0xff, 0x00, 0x05, 0x07, 0x19, 0x00, 0x2a,
    0xff, 0x00, 0x81, 0x00, 0x05, 0xff, 0x09, 0x03, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01,
    0x95, 0x01, 0x81, 0x02, 0x75, 0x07, 0x95, 0x01, 0x81, 0x01, 0xc0};

void sendUhid(int fd, const uhid_event& event)
{
    if (::write(fd, &event, sizeof event) != static_cast<ssize_t>(sizeof event))
        throw std::runtime_error(std::string("uhid write: ") + std::strerror(errno));
}

} // namespace

UhidKeyboard::UhidKeyboard(unsigned vendor, unsigned product, const std::string& name)
{
    m_fd = ::open("/dev/uhid", O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        throw std::runtime_error(std::string("/dev/uhid: ") + std::strerror(errno));
    uhid_event create{};
    create.type = UHID_CREATE2;
    std::snprintf(reinterpret_cast<char*>(create.u.create2.name), sizeof create.u.create2.name,
                  "%s", name.c_str());
    std::memcpy(create.u.create2.rd_data, uhidDescriptor, sizeof uhidDescriptor);
    create.u.create2.rd_size = sizeof uhidDescriptor;
    create.u.create2.bus = BUS_USB;
    create.u.create2.vendor = vendor;
    create.u.create2.product = product;
    sendUhid(m_fd, create);
    // The driver binds asynchronously and may ask for reports meanwhile.
    const auto until = Clock::now() + std::chrono::seconds(10);
    while (m_node.empty() && Clock::now() < until) {
        answer();
        m_node = findNode(vendor, product, std::chrono::milliseconds(20));
    }
}

UhidKeyboard::~UhidKeyboard()
{
    uhid_event destroy{};
    destroy.type = UHID_DESTROY;
    ::write(m_fd, &destroy, sizeof destroy);
    ::close(m_fd);
    // Gone from /dev/input before the next keyboard of the same ids is looked for.
    const auto until = Clock::now() + std::chrono::seconds(5);
    while (!m_node.empty() && ::access(m_node.c_str(), F_OK) == 0 && Clock::now() < until)
        sleepFor(std::chrono::milliseconds(10));
}

void UhidKeyboard::report(unsigned usage, bool fn)
{
    uhid_event input{};
    input.type = UHID_INPUT2;
    input.u.input2.data[2] = static_cast<unsigned char>(usage);
    input.u.input2.data[8] = fn ? 1 : 0;
    input.u.input2.size = 9;
    sendUhid(m_fd, input);
    answer();
}

void UhidKeyboard::answer()
{
    uhid_event event{};
    while (::read(m_fd, &event, sizeof event) > 0) {
        uhid_event reply{};
        if (event.type == UHID_GET_REPORT) {
            reply.type = UHID_GET_REPORT_REPLY;
            reply.u.get_report_reply.id = event.u.get_report.id;
            reply.u.get_report_reply.err = EIO;
            sendUhid(m_fd, reply);
        } else if (event.type == UHID_SET_REPORT) {
            reply.type = UHID_SET_REPORT_REPLY;
            reply.u.set_report_reply.id = event.u.set_report.id;
            sendUhid(m_fd, reply);
        }
    }
}

Reader::Reader(const std::string& node, bool isWritable)
{
    m_fd = ::open(node.c_str(), (isWritable ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        fail("open " + node);
}

Reader::~Reader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::vector<KeyChange> Reader::nextFrame(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        input_event event{};
        const ssize_t got = ::read(m_fd, &event, sizeof event);
        if (got == static_cast<ssize_t>(sizeof event)) {
            if (event.type == EV_KEY) {
                m_partial.emplace_back(event.code, event.value);
            } else if (event.type == EV_SYN && event.code == SYN_REPORT && !m_partial.empty()) {
                std::vector<KeyChange> frame;
                frame.swap(m_partial);
                return frame;
            }
            continue;
        }
        if (got < 0 && errno == ENODEV) {
            m_isGone = true;
            return {};
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return {};
        pollfd wait{m_fd, POLLIN, 0};
        ::poll(&wait, 1, static_cast<int>(left.count()));
    }
}

std::vector<std::vector<KeyChange>> Reader::frames(std::chrono::milliseconds quiet,
                                                   std::size_t enough)
{
    std::vector<std::vector<KeyChange>> all;
    std::size_t count = 0;
    for (;;) {
        // Once enough arrived, a short silence is enough to know nothing else follows.
        const auto wait = enough != 0 && count >= enough ? std::chrono::milliseconds(150) : quiet;
        auto frame = nextFrame(wait);
        if (frame.empty())
            return all;
        count += frame.size();
        all.push_back(std::move(frame));
    }
}

std::vector<KeyChange> Reader::keys(std::chrono::milliseconds quiet, std::size_t enough)
{
    std::vector<KeyChange> flat;
    for (const auto& frame : frames(quiet, enough))
        flat.insert(flat.end(), frame.begin(), frame.end());
    return flat;
}

std::vector<int> Reader::heldKeys() const
{
    unsigned char bits[KEY_CNT / 8 + 1] = {};
    std::vector<int> held;
    if (::ioctl(m_fd, EVIOCGKEY(sizeof bits), bits) < 0)
        return held;
    for (int code = 0; code < KEY_CNT; ++code) {
        if ((bits[code / 8] & (1 << (code % 8))) != 0)
            held.push_back(code);
    }
    return held;
}

// The /dev/input node of the first event device whose sysfs folder `matches`, or empty.
template <typename Matches> std::string eventNodeWhere(Matches matches)
{
    std::string found;
    if (DIR* entries = ::opendir("/sys/class/input")) {
        while (const dirent* entry = ::readdir(entries)) {
            const std::string name = entry->d_name;
            if (name.rfind("event", 0) == 0 && matches("/sys/class/input/" + name + "/device/"))
                found = "/dev/input/" + name;
        }
        ::closedir(entries);
    }
    return found;
}

template <typename Matches>
std::string waitForEventNode(Matches matches, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        std::string found = eventNodeWhere(matches);
        if (!found.empty() && ::access(found.c_str(), F_OK) == 0)
            return found;
        sleepFor(std::chrono::milliseconds(10));
    }
    return {};
}

auto hasIds(unsigned vendor, unsigned product)
{
    return [vendor, product](const std::string& device) {
        return readHex(device + "id/vendor") == vendor && readHex(device + "id/product") == product;
    };
}

bool nodeExists(unsigned vendor, unsigned product)
{
    return !eventNodeWhere(hasIds(vendor, product)).empty();
}

std::string findNode(unsigned vendor, unsigned product, std::chrono::milliseconds timeout)
{
    return waitForEventNode(hasIds(vendor, product), timeout);
}

std::string findNodeNamed(const std::string& wanted, std::chrono::milliseconds timeout)
{
    return waitForEventNode(
        [&wanted](const std::string& device) {
            std::ifstream file(device + "name");
            std::string name;
            std::getline(file, name);
            return name == wanted;
        },
        timeout);
}

bool waitUntilGrabbed(FakeKeyboard& keyboard, Reader& output)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        keyboard.key(KEY_F24, 1);
        keyboard.key(KEY_F24, 0);
        const auto seen = output.keys(std::chrono::milliseconds(200), 2);
        if (std::find(seen.begin(), seen.end(), KeyChange{KEY_F24, 0}) != seen.end())
            return true;
    }
    return false;
}

pid_t spawn(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const auto& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execv(args[0], args.data());
        std::perror("execv");
        ::_exit(127);
    }
    return pid;
}

int waitExit(pid_t pid, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (Clock::now() >= deadline)
            return -1;
        sleepFor(std::chrono::milliseconds(10));
    }
}

void sleepFor(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

std::string describe(const std::vector<KeyChange>& keys)
{
    std::ostringstream text;
    text << '[';
    for (const auto& [code, value] : keys)
        text << ' ' << code << ':' << value;
    text << " ]";
    return text.str();
}

} // namespace orvane::vmtest
