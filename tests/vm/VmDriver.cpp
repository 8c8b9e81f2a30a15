// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end checks of `orvanectl run` under a real kernel: run inside the VM harness with the path
// of orvanectl as argument. A fake keyboard made through uinput plays the user; a reader of
// Orvane's output keyboard plays the desktop. Prints one FAIL line per broken check; the exit
// status is 0 only when every check held.
#include "VmSupport.h"

#include "model/DefaultKeyMapping.h"
#include "model/JsonCoding.h"

#include <linux/input.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvane::vmtest;
using namespace std::chrono_literals;

namespace {

int failures = 0;

void check(bool isTrue, const std::string& what)
{
    if (!isTrue) {
        std::printf("FAIL %s\n", what.c_str());
        ++failures;
    }
}

constexpr unsigned outputVendor = 0x4f52;
constexpr unsigned outputProduct = 0x5641;
constexpr std::string_view mappingPath = "/tmp/mapping.json";
constexpr std::string_view openedDesktopFile = "/tmp/marker.desktop";
constexpr std::string_view openedScript = "/tmp/marker.sh";

// Position 0 (F1 / brightness down), 1 (F2 / brightness up) and 10 (F11 / sound down) get actions
// that differ from the keys themselves, so an original event that leaks out is told apart.
void writeMapping()
{
    using namespace orvane::model;
    KeyMapping mapping = defaultKeyMapping(defaultTopRowKeys(), {});
    mapping[0] = {KeyTarget{CustomKey::soundMute}, KeyTarget{CustomKey::f5},
                  KeyTarget{CustomKey::f6}};
    mapping[1] = {ShortcutTarget{{Shortcut::Key{40}, modifier::command | modifier::shift}, "K"},
                  KeyTarget{CustomKey::f5}, KeyTarget{CustomKey::illuminationUp}};
    mapping[10] = {KeyTarget{CustomKey::play}, KeyTarget{CustomKey::f7}, KeyTarget{CustomKey::f8}};
    // Position 3 (F4) opens applications: a desktop file on a short press, an executable with fn.
    // Position 4 (F5) names one that does not exist.
    mapping[3] = {AppTarget{std::string(openedDesktopFile)}, KeyTarget{CustomKey::f5},
                  AppTarget{std::string(openedScript)}};
    mapping[4] = {AppTarget{"/tmp/not-installed.desktop"}, KeyTarget{CustomKey::f5},
                  KeyTarget{CustomKey::f6}};
    std::ofstream(std::string(openedDesktopFile))
        << "[Desktop Entry]\nType=Application\nName=Marker\n"
           "Exec=/bin/sh -c \"echo > /tmp/opened-desktop-file\"\n";
    std::ofstream(std::string(openedScript)) << "#!/bin/sh\necho > /tmp/opened-script\n";
    ::chmod(std::string(openedScript).c_str(), 0755);
    std::ofstream(std::string(mappingPath)) << json::toText(json::encode(mapping));
}

class Orvane {
public:
    explicit Orvane(std::string program, std::vector<std::string> extraArgs = {},
                    std::string mapping = std::string(mappingPath))
        : m_program(std::move(program)), m_extraArgs(std::move(extraArgs)),
          m_mapping(std::move(mapping))
    {
    }
    ~Orvane() { kill(SIGKILL); }

    // Starts `orvanectl run` and waits for its output keyboard; false when it never appeared.
    bool start()
    {
        std::vector<std::string> args = {m_program, "run", "--include-virtual", "--delay", "0.3"};
        if (!m_mapping.empty()) {
            args.emplace_back("--mapping");
            args.push_back(m_mapping);
        }
        args.insert(args.end(), m_extraArgs.begin(), m_extraArgs.end());
        m_pid = spawn(args);
        m_output = findNode(outputVendor, outputProduct, 20s);
        return !m_output.empty();
    }
    const std::string& output() const { return m_output; }
    pid_t pid() const { return m_pid; }
    void kill(int signal)
    {
        if (m_pid > 0)
            ::kill(m_pid, signal);
    }
    int wait(std::chrono::milliseconds timeout)
    {
        const int status = waitExit(m_pid, timeout);
        if (status >= 0)
            m_pid = -1;
        return status;
    }

private:
    std::string m_program;
    std::vector<std::string> m_extraArgs;
    std::string m_mapping;
    pid_t m_pid = -1;
    std::string m_output;
};

std::string held(const Reader& reader)
{
    std::string text;
    for (const int code : reader.heldKeys())
        text += std::to_string(code) + " ";
    return "[ " + text + "]";
}

struct Step {
    int code;
    int value;
    int pauseMs = 20;
};

struct PressCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<KeyChange> expected;
};

void checkPresses(FakeKeyboard& keyboard, Reader& output)
{
    const std::vector<PressCase> cases = {
        {"short press of F1", {{KEY_F1, 1}, {KEY_F1, 0}}, {{KEY_MUTE, 1}, {KEY_MUTE, 0}}},
        {"short press of the top-row key of position 0",
         {{KEY_BRIGHTNESSDOWN, 1}, {KEY_BRIGHTNESSDOWN, 0}},
         {{KEY_MUTE, 1}, {KEY_MUTE, 0}}},
        {"short press of a media key",
         {{KEY_VOLUMEDOWN, 1}, {KEY_VOLUMEDOWN, 0}},
         {{KEY_PLAYPAUSE, 1}, {KEY_PLAYPAUSE, 0}}},
        {"fn with an F-key",
         {{KEY_FN, 1}, {KEY_F1, 1}, {KEY_F1, 0}, {KEY_FN, 0}},
         {{KEY_FN, 1}, {KEY_F6, 1}, {KEY_F6, 0}, {KEY_FN, 0}}},
        {"fn with a top-row key",
         {{KEY_FN, 1}, {KEY_VOLUMEDOWN, 1}, {KEY_VOLUMEDOWN, 0}, {KEY_FN, 0}},
         {{KEY_FN, 1}, {KEY_F8, 1}, {KEY_F8, 0}, {KEY_FN, 0}}},
        {"fn with a top-row key that posts a media key",
         {{KEY_FN, 1}, {KEY_BRIGHTNESSUP, 1}, {KEY_BRIGHTNESSUP, 0}, {KEY_FN, 0}},
         {{KEY_FN, 1}, {KEY_KBDILLUMUP, 1}, {KEY_KBDILLUMUP, 0}, {KEY_FN, 0}}},
        {"another key typed during a long press: the long action's key is still released",
         {{KEY_F1, 1, 400}, {KEY_F1, 2}, {KEY_A, 1}, {KEY_A, 0}, {KEY_F1, 0}},
         {{KEY_F5, 1}, {KEY_A, 1}, {KEY_A, 0}, {KEY_F5, 0}}},
        {"another key typed during an fn press: the fn action's key is still released",
         {{KEY_FN, 1}, {KEY_F1, 1}, {KEY_A, 1}, {KEY_A, 0}, {KEY_F1, 0}, {KEY_FN, 0}},
         {{KEY_FN, 1}, {KEY_F6, 1}, {KEY_A, 1}, {KEY_A, 0}, {KEY_F6, 0}, {KEY_FN, 0}}},
        {"shift held: the mapped key passes unchanged",
         {{KEY_LEFTSHIFT, 1}, {KEY_F1, 1}, {KEY_F1, 0}, {KEY_LEFTSHIFT, 0}},
         {{KEY_LEFTSHIFT, 1}, {KEY_F1, 1}, {KEY_F1, 0}, {KEY_LEFTSHIFT, 0}}},
        {"a key passed with shift is released although its repeat opened a press",
         {{KEY_LEFTSHIFT, 1}, {KEY_F1, 1}, {KEY_LEFTSHIFT, 0}, {KEY_F1, 2}, {KEY_F1, 0}},
         {{KEY_LEFTSHIFT, 1},
          {KEY_F1, 1},
          {KEY_LEFTSHIFT, 0},
          {KEY_F1, 0},
          {KEY_MUTE, 1},
          {KEY_MUTE, 0}}},
    };
    for (const auto& row : cases) {
        for (const auto& step : row.steps) {
            keyboard.key(step.code, step.value);
            sleepFor(std::chrono::milliseconds(step.pauseMs));
        }
        const auto seen = output.keys(1000ms, row.expected.size());
        check(seen == row.expected, std::string(row.name) + ": expected " + describe(row.expected) +
                                        ", got " + describe(seen));
        check(output.heldKeys().empty(), std::string(row.name) + ": a key stays held");
    }
}

void checkShortcutFrames(FakeKeyboard& keyboard, Reader& output)
{
    keyboard.key(KEY_F2, 1);
    sleepFor(20ms);
    keyboard.key(KEY_F2, 0);
    const auto frames = output.frames(1000ms, 6);
    std::vector<KeyChange> flat;
    bool isOnePerFrame = true;
    for (const auto& frame : frames) {
        flat.insert(flat.end(), frame.begin(), frame.end());
        isOnePerFrame = isOnePerFrame && frame.size() == 1;
    }
    const std::vector<KeyChange> expected = {{KEY_LEFTSHIFT, 1}, {KEY_LEFTMETA, 1},
                                             {KEY_K, 1},         {KEY_K, 0},
                                             {KEY_LEFTMETA, 0},  {KEY_LEFTSHIFT, 0}};
    check(flat == expected, "shortcut: expected " + describe(expected) + ", got " + describe(flat));
    check(isOnePerFrame, "shortcut: every key change in a frame of its own");
}

void checkLongPress(FakeKeyboard& keyboard, Reader& output)
{
    // Held for 0.7 s with a repeat every 50 ms; the delay is 0.3 s.
    keyboard.key(KEY_F1, 1);
    int repeats = 0;
    const auto start = Clock::now();
    while (Clock::now() - start < 700ms) {
        sleepFor(50ms);
        keyboard.key(KEY_F1, 2);
        ++repeats;
    }
    keyboard.key(KEY_F1, 0);
    const auto seen = output.keys(1000ms);
    const bool isShaped = seen.size() >= 3 && seen.front() == KeyChange{KEY_F5, 1} &&
                          seen.back() == KeyChange{KEY_F5, 0} &&
                          std::all_of(seen.begin() + 1, seen.end() - 1, [](const KeyChange& k) {
                              return k == KeyChange{KEY_F5, 2};
                          });
    check(isShaped, "long press: expected F5 down, F5 repeats, F5 up; got " + describe(seen));
    check(seen.size() < static_cast<std::size_t>(repeats) + 2,
          "long press: more repeats out than went in: " + describe(seen));
    check(output.heldKeys().empty(), "long press: a key stays held");
}

void checkPassThrough(FakeKeyboard& keyboard, Reader& output, int count)
{
    // Letters, modifiers and repeats in a random order that a keyboard could produce; each must
    // come out unchanged, in order, one for one.
    const std::vector<int> keys = {
        KEY_A, KEY_S,     KEY_D,         KEY_J,          KEY_K,        KEY_L,       KEY_Q,
        KEY_Z, KEY_SPACE, KEY_LEFTSHIFT, KEY_RIGHTSHIFT, KEY_LEFTCTRL, KEY_LEFTALT, KEY_LEFTMETA};
    std::mt19937 random(4);
    std::vector<bool> isDown(keys.size(), false);
    int lost = 0;
    int wrong = 0;
    for (int i = 0; i < count; ++i) {
        const std::size_t index = random() % keys.size();
        const int value = !isDown[index] ? 1 : (random() % 3 == 0 ? 0 : 2);
        isDown[index] = value != 0;
        keyboard.key(keys[index], value);
        const auto frame = output.nextFrame(2000ms);
        if (frame.empty())
            ++lost;
        else if (frame != std::vector<KeyChange>{{keys[index], value}})
            ++wrong;
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (isDown[i])
            keyboard.key(keys[i], 0);
    }
    output.keys(300ms);
    check(lost == 0 && wrong == 0, "pass-through of " + std::to_string(count) +
                                       " events: " + std::to_string(lost) + " lost, " +
                                       std::to_string(wrong) + " wrong");
    check(output.heldKeys().empty(), "pass-through: a key stays held");
}

// The fake keyboard's device was told to light this LED (within two seconds).
bool ledReaches(FakeKeyboard& keyboard, int code)
{
    const auto deadline = Clock::now() + 2s;
    while (Clock::now() < deadline) {
        input_event event{};
        if (::read(keyboard.fd(), &event, sizeof event) != static_cast<ssize_t>(sizeof event))
            sleepFor(5ms);
        else if (event.type == EV_LED && event.code == code && event.value == 1)
            return true;
    }
    return false;
}

// Lights an LED on the output keyboard, as a desktop does.
void lightLed(Reader& output, int code, int value)
{
    input_event led[2]{};
    led[0].type = EV_LED;
    led[0].code = static_cast<__u16>(code);
    led[0].value = value;
    led[1].type = EV_SYN;
    check(::write(output.fd(), led, sizeof led) == static_cast<ssize_t>(sizeof led),
          "LED: write an LED to the output keyboard");
}

void checkLeds(FakeKeyboard& keyboard, Reader& output)
{
    lightLed(output, LED_CAPSL, 1);
    check(ledReaches(keyboard, LED_CAPSL),
          "LED: Caps Lock written to the output reaches the grabbed keyboard");
}

void checkSynDropped(FakeKeyboard& keyboard, Reader& output, Orvane& orvane)
{
    // Two held keys, then Orvane stalls while far more events than the kernel buffers arrive; one
    // held key is released among them, the other stays held throughout and must not be pressed
    // again by the resync.
    keyboard.key(KEY_A, 1);
    keyboard.key(KEY_K, 1);
    output.keys(500ms, 2);
    orvane.kill(SIGSTOP);
    keyboard.key(KEY_A, 0);
    for (int i = 0; i < 400; ++i) {
        keyboard.key(KEY_S + i % 3, 1);
        keyboard.key(KEY_S + i % 3, 0);
    }
    keyboard.key(KEY_D, 1); // one key pressed at the end: it must be held, the rest not
    orvane.kill(SIGCONT);
    const auto seen = output.keys(1500ms);
    const auto held = output.heldKeys();
    check(held == std::vector<int>{KEY_D, KEY_K},
          "SYN_DROPPED: only D and K should be held after the resync, held: " + ::held(output));
    check(std::find(seen.begin(), seen.end(), KeyChange{KEY_K, 1}) == seen.end(),
          "SYN_DROPPED: K, held throughout, was pressed again: " + describe(seen));
    keyboard.key(KEY_D, 0);
    keyboard.key(KEY_K, 0);
    output.keys(500ms, 2);
    check(output.heldKeys().empty(), "SYN_DROPPED: D and K released");
}

// Typed faster than Orvane reads (it is stopped meanwhile): the two keyboards' events wait
// together and must still be handled in the order they were typed, fn and Shift held on `first`
// counting for F1 on `second`.
void checkTypedInOrder(Orvane& orvane, Reader& output, FakeKeyboard& first, FakeKeyboard& second,
                       const std::string& label)
{
    const std::vector<std::pair<FakeKeyboard*, KeyChange>> typed = {
        {&first, {KEY_FN, 1}},  {&second, {KEY_F1, 1}},       {&second, {KEY_F1, 0}},
        {&first, {KEY_FN, 0}},  {&first, {KEY_LEFTSHIFT, 1}}, {&second, {KEY_F1, 1}},
        {&second, {KEY_F1, 0}}, {&first, {KEY_LEFTSHIFT, 0}}};
    orvane.kill(SIGSTOP);
    for (const auto& [device, change] : typed)
        device->key(change.first, change.second);
    orvane.kill(SIGCONT);
    const std::vector<KeyChange> merged = {{KEY_FN, 1}, {KEY_F6, 1},        {KEY_F6, 0},
                                           {KEY_FN, 0}, {KEY_LEFTSHIFT, 1}, {KEY_F1, 1},
                                           {KEY_F1, 0}, {KEY_LEFTSHIFT, 0}};
    const auto both = output.keys(1000ms, merged.size());
    check(both == merged, label + ": expected " + describe(merged) + ", got " + describe(both));
}

void checkRemovalAndHotplug(Reader& output, FakeKeyboard& keyboard, Orvane& orvane)
{
    // A letter and a long press (its F5 is held on the output) in progress when the keyboard goes.
    keyboard.key(KEY_A, 1);
    keyboard.key(KEY_F1, 1);
    sleepFor(400ms);
    keyboard.key(KEY_F1, 2);
    const auto before = output.keys(1000ms, 2);
    check(before == std::vector<KeyChange>{{KEY_A, 1}, {KEY_F5, 1}},
          "removal: before, expected A and F5 down, got " + describe(before));
    keyboard.destroy();
    const auto after = output.keys(1000ms, 2);
    check(output.heldKeys().empty(),
          "removal: keys stay held on the output after the keyboard went: " + held(output) +
              ", seen " + describe(after));

    // The kernel's console resets Caps, Num and Scroll Lock of all keyboards now and then (in the
    // VM, where it owns the screen); the Compose LED is the desktop's alone.
    lightLed(output, LED_COMPOSE, 1);
    sleepFor(100ms);
    FakeKeyboard plugged("Orvane test keyboard, plugged in later");
    check(waitUntilGrabbed(plugged, output), "hotplug: a keyboard plugged in later is grabbed");
    Reader direct(plugged.node());
    plugged.key(KEY_B, 1);
    plugged.key(KEY_B, 0);
    const auto seen = output.keys(1000ms, 2);
    check(seen == std::vector<KeyChange>{{KEY_B, 1}, {KEY_B, 0}},
          "hotplug: its keys come out, got " + describe(seen));
    check(direct.keys(200ms).empty(), "hotplug: nobody else reads the grabbed keyboard");
    check(ledReaches(plugged, LED_COMPOSE),
          "hotplug: the keyboard plugged in later shows the LEDs the desktop lit");

    // Two keyboards merge into one output, and a modifier held on one counts for the other.
    FakeKeyboard second("Orvane second test keyboard");
    check(waitUntilGrabbed(second, output), "two keyboards: the second is grabbed as well");
    checkTypedInOrder(orvane, output, plugged, second, "two keyboards");
}

// Stops Orvane with `signal` while a key is held; afterwards nothing is held and the keyboard is
// free again.
void checkStop(const std::string& program, int signal, const char* name)
{
    FakeKeyboard keyboard("Orvane test keyboard");
    Orvane orvane(program);
    check(orvane.start(), std::string(name) + ": the output keyboard appears");
    if (orvane.output().empty())
        return;
    Reader output(orvane.output());
    check(waitUntilGrabbed(keyboard, output), std::string(name) + ": the keyboard is grabbed");
    keyboard.key(KEY_A, 1);
    check(output.keys(1000ms, 1) == std::vector<KeyChange>{{KEY_A, 1}},
          std::string(name) + ": A comes out");
    if (signal == 0) { // the panic chord
        keyboard.key(KEY_BACKSPACE, 1);
        keyboard.key(KEY_ESC, 1);
        keyboard.key(KEY_ENTER, 1);
    } else {
        orvane.kill(signal);
    }
    const int status = orvane.wait(10s);
    const int expected = signal == SIGKILL ? 128 + SIGKILL : 0;
    check(status == expected, std::string(name) + ": exit status " + std::to_string(status) +
                                  ", expected " + std::to_string(expected));
    // Read to the end: the reader sees every release, then the device goes.
    std::vector<int> down;
    for (int i = 0; i < 50 && !output.isGone(); ++i) {
        for (const auto& [code, value] : output.keys(100ms)) {
            if (value == 1)
                down.push_back(code);
            else if (value == 0)
                std::erase(down, code);
        }
    }
    check(output.isGone(), std::string(name) + ": the output keyboard is gone");
    check(down.empty(),
          std::string(name) + ": keys left held on the output: " + std::to_string(down.size()));
    Reader direct(keyboard.node());
    keyboard.key(KEY_A, 0);
    check(!direct.keys(500ms, 1).empty(), std::string(name) + ": the keyboard is free again");
}

// A key held when Orvane starts: the keyboard is grabbed only after the key is up, so the desktop
// sees that release and the key does not stick.
void checkHeldAtStart(const std::string& program)
{
    FakeKeyboard keyboard("Orvane test keyboard");
    Reader direct(keyboard.node());
    keyboard.key(KEY_A, 1);
    direct.keys(300ms, 1);
    Orvane orvane(program);
    check(orvane.start(), "held at start: the output keyboard appears");
    if (orvane.output().empty())
        return;
    Reader output(orvane.output());
    sleepFor(1500ms); // longer than the notice: Orvane must still not grab while A is down
    keyboard.key(KEY_A, 0);
    check(direct.keys(1000ms, 1) == std::vector<KeyChange>{{KEY_A, 0}},
          "held at start: the release reaches the desktop's reader of the keyboard");
    check(waitUntilGrabbed(keyboard, output), "held at start: grabbed once the key is up");
    check(output.heldKeys().empty(), "held at start: nothing held on the output");
    orvane.kill(SIGTERM);
    check(orvane.wait(10s) == 0, "held at start: orvanectl run exits with status 0");
}

// doctor, in a system where it can run: exit status 0 and the fake keyboard named for a grab.
void checkDoctor(const std::string& program)
{
    FakeKeyboard keyboard("Orvane doctor keyboard");
    const pid_t pid = spawn({"/bin/sh", "-c", program + " doctor --include-virtual > /tmp/doctor"});
    check(waitExit(pid, 20s) == 0, "doctor: exit status 0 where Orvane can run");
    std::ifstream report("/tmp/doctor");
    const std::string text((std::istreambuf_iterator<char>(report)),
                           std::istreambuf_iterator<char>());
    const auto at = text.find("'Orvane doctor keyboard'");
    check(at != std::string::npos && text.find("grab:", at) != std::string::npos &&
              text.find("/dev/uinput can be opened") != std::string::npos &&
              text.find("KEY_FN") != std::string::npos,
          "doctor: names the keyboard to grab, uinput and KEY_FN:\n" + text);
}

// Keys bound to applications: orvanectl run opens them (through GIO for a desktop file, by path
// for an executable) with no display at all, and one that cannot be opened never holds up typing.
void checkOpensApplications(Reader& output)
{
    FakeKeyboard keyboard("Orvane application keyboard"); // the first one was removed above
    if (!waitUntilGrabbed(keyboard, output)) {
        check(false, "applications: the keyboard is grabbed");
        return;
    }
    const auto appears = [](const char* path) {
        for (const auto deadline = Clock::now() + 5s; Clock::now() < deadline; sleepFor(20ms)) {
            if (::access(path, F_OK) == 0)
                return true;
        }
        return false;
    };
    keyboard.key(KEY_F4, 1);
    keyboard.key(KEY_F4, 0);
    check(appears("/tmp/opened-desktop-file"), "applications: F4 opens the desktop file");
    keyboard.key(KEY_FN, 1);
    keyboard.key(KEY_F4, 1);
    keyboard.key(KEY_F4, 0);
    keyboard.key(KEY_FN, 0);
    check(appears("/tmp/opened-script"), "applications: fn+F4 starts the executable");
    output.keys(300ms); // fn's own changes
    keyboard.key(KEY_F5, 1);
    keyboard.key(KEY_F5, 0);
    keyboard.key(KEY_A, 1);
    keyboard.key(KEY_A, 0);
    const auto typed = output.keys(500ms, 2);
    check(typed == std::vector<KeyChange>{{KEY_A, 1}, {KEY_A, 0}},
          "applications: typing goes on after one could not be opened: " + describe(typed));
}

// A second `orvanectl run` while one runs says so and exits, rather than sitting idle with no
// keyboard to grab.
void checkSecondInstance(const std::string& program)
{
    const std::string errors = "/tmp/second-run.err";
    const pid_t pid = spawn({"/bin/sh", "-c", program + " run --include-virtual 2>" + errors});
    const int status = waitExit(pid, 20s);
    if (status < 0) { // still running: it must not disturb the checks that follow
        ::kill(pid, SIGKILL);
        waitExit(pid, 5s);
    }
    check(status == 1, "second instance: exit status 1");
    std::ifstream report(errors);
    const std::string text((std::istreambuf_iterator<char>(report)),
                           std::istreambuf_iterator<char>());
    check(text.find("already running") != std::string::npos,
          "second instance: says Orvane is already running:\n" + text);
}

// With one keyboard grabbed, the input thread sleeps in a blocking read on it; the mapping, the
// LEDs, a loss of events, a second keyboard and the stop must reach it all the same.
void checkOneKeyboard(const std::string& program)
{
    constexpr const char* name = "Orvane lone test keyboard";
    FakeKeyboard keyboard(name);
    Orvane orvane(program, {"--device", name});
    if (!orvane.start()) {
        check(false, "one keyboard: orvanectl run created no output keyboard");
        return;
    }
    Reader output(orvane.output(), true);
    if (!waitUntilGrabbed(keyboard, output)) {
        check(false, "one keyboard: the keyboard was never grabbed");
        return;
    }
    checkPassThrough(keyboard, output, 2000);
    checkPresses(keyboard, output);
    checkLongPress(keyboard, output);
    checkLeds(keyboard, output);
    checkSynDropped(keyboard, output, orvane);

    // A second keyboard of the same name joins, and the two keyboards' events come out in the order
    // they were typed; then it goes, and the first one is alone again.
    {
        FakeKeyboard second(name);
        check(waitUntilGrabbed(second, output), "one keyboard: a second one plugged in is grabbed");
        checkTypedInOrder(orvane, output, keyboard, second, "one keyboard, then two");
    }
    output.keys(300ms);
    keyboard.key(KEY_J, 1);
    keyboard.key(KEY_J, 0);
    const auto alone = output.keys(1000ms, 2);
    check(alone == std::vector<KeyChange>{{KEY_J, 1}, {KEY_J, 0}},
          "one keyboard again: its keys come out, got " + describe(alone));

    // Unplugged while a key is held: the key is released on the output; one plugged in later is
    // grabbed, and SIGTERM ends the blocking read on it with a key held.
    keyboard.key(KEY_A, 1);
    output.keys(500ms, 1);
    keyboard.destroy();
    output.keys(500ms, 1);
    check(output.heldKeys().empty(), "one keyboard: unplugged with a key held leaves it held");
    FakeKeyboard replugged(name);
    check(waitUntilGrabbed(replugged, output), "one keyboard: plugged in again, it is grabbed");
    replugged.key(KEY_S, 1);
    output.keys(500ms, 1);
    orvane.kill(SIGTERM);
    check(orvane.wait(10s) == 0, "one keyboard: SIGTERM ends the blocking read, status 0");
    check(output.heldKeys().empty(), "one keyboard: SIGTERM with a key held leaves it held");
}

// HID keyboards as the kernel's own drivers present them, under the mapping a new user gets (no
// --mapping, nothing stored): at
// every position a short press does what the key did without Orvane, a long press and a press with
// fn give the position's function key. Each keyboard's row comes from its own scan codes.
struct HidModel {
    const char* what;
    unsigned vendor;
    unsigned product;
    const char* name;
    bool hasFn; // hid-generic reports no fn: the keyboard's firmware keeps it
};
constexpr std::array<HidModel, 5> hidModels{{
    {"Magic Keyboard (2021)", 0x05ac, 0x029c, "Apple Inc. Magic Keyboard", true},
    {"Magic Keyboard (2015)", 0x05ac, 0x0267, "Apple Inc. Magic Keyboard", true},
    {"aluminium keyboard", 0x05ac, 0x0220, "Apple Inc. Apple Keyboard", true},
    {"MacBook keyboard", 0x05ac, 0x0262, "Apple Inc. Apple Internal Keyboard / Trackpad", true},
    {"desktop keyboard whose row sends F1-F12", 0x046d, 0xc31c, "Logitech USB Keyboard", false},
}};
constexpr unsigned hidF1 = 0x3a;
constexpr unsigned hidA = 0x04;
constexpr std::array<int, 12> functionKeyCodes{KEY_F1, KEY_F2, KEY_F3, KEY_F4,  KEY_F5,  KEY_F6,
                                               KEY_F7, KEY_F8, KEY_F9, KEY_F10, KEY_F11, KEY_F12};

void tap(UhidKeyboard& keyboard, unsigned usage, bool fn)
{
    keyboard.report(usage, fn);
    keyboard.report(0, fn);
}

std::vector<KeyChange> withoutFn(std::vector<KeyChange> keys)
{
    std::erase_if(keys, [](const KeyChange& key) { return key.first == KEY_FN; });
    return keys;
}

// What the kernel sends at each position without fn, read before Orvane grabs the keyboard.
std::array<int, 12> ownKeys(UhidKeyboard& keyboard)
{
    std::array<int, 12> own{};
    Reader direct(keyboard.node());
    tap(keyboard, hidA, false); // the first report after binding may be lost
    direct.keys(300ms);
    for (std::size_t i = 0; i < own.size(); ++i) {
        tap(keyboard, hidF1 + static_cast<unsigned>(i), false);
        const auto seen = direct.keys(500ms, 2);
        own[i] = seen.size() == 2 && seen[0].second == 1 ? seen[0].first : -1;
    }
    return own;
}

bool waitUntilGrabbed(UhidKeyboard& keyboard, Reader& output)
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        tap(keyboard, hidA, false);
        const auto seen = output.keys(200ms, 2);
        if (std::find(seen.begin(), seen.end(), KeyChange{KEY_A, 0}) != seen.end())
            return true;
    }
    return false;
}

void checkHidRow(UhidKeyboard& keyboard, bool hasFn, bool withLongPresses,
                 const std::array<int, 12>& own, Reader& output, const std::string& label)
{
    for (std::size_t i = 0; i < own.size(); ++i) {
        const auto usage = hidF1 + static_cast<unsigned>(i);
        const int fkey = functionKeyCodes[i];
        const std::string at = label + ", F" + std::to_string(i + 1);
        tap(keyboard, usage, false);
        const auto shortPress = output.keys(1000ms, 2);
        check(own[i] > 0 && shortPress == std::vector<KeyChange>{{own[i], 1}, {own[i], 0}},
              at + ": a short press gives the key's own " + std::to_string(own[i]) + ", got " +
                  describe(shortPress));

        if (withLongPresses) {
            keyboard.report(usage, false);
            sleepFor(600ms); // past the 0.3 s delay, with the kernel's repeats
            keyboard.report(0, false);
            auto longPress = output.keys(1000ms, 2);
            std::erase_if(longPress, [](const KeyChange& key) { return key.second == 2; });
            check(longPress == std::vector<KeyChange>{{fkey, 1}, {fkey, 0}},
                  at + ": a long press gives F" + std::to_string(i + 1) + ", got " +
                      describe(longPress));
        }

        if (!hasFn)
            continue;
        keyboard.report(0, true);
        tap(keyboard, usage, true);
        keyboard.report(0, false);
        const auto fnPress = withoutFn(output.keys(1000ms, 4));
        check(fnPress == std::vector<KeyChange>{{fkey, 1}, {fkey, 0}},
              at + ": a press with fn gives F" + std::to_string(i + 1) + ", got " +
                  describe(fnPress));
    }
}

void checkHidKeyboards(const std::string& program, const char* fnmode)
{
    const std::string label = std::string(" (fnmode ") + fnmode + ")";
    std::ofstream("/sys/module/hid_apple/parameters/fnmode") << fnmode;
    std::vector<std::array<int, 12>> own;
    for (const HidModel& model : hidModels) {
        UhidKeyboard keyboard(model.vendor, model.product, model.name);
        check(!keyboard.node().empty(), std::string(model.what) + label + ": no event node");
        own.push_back(keyboard.node().empty() ? std::array<int, 12>{} : ownKeys(keyboard));
    }
    // A new user: nothing stored, so the mapping is this machine's default one.
    ::mkdir("/tmp/new-user", 0700);
    ::setenv("HOME", "/tmp/new-user", 1);
    ::unsetenv("XDG_CONFIG_HOME");
    Orvane orvane(program, {}, "");
    if (!orvane.start()) {
        check(false, "HID keyboards" + label + ": orvanectl run created no output keyboard");
        return;
    }
    Reader output(orvane.output(), true);
    for (std::size_t m = 0; m < hidModels.size(); ++m) {
        UhidKeyboard keyboard(hidModels[m].vendor, hidModels[m].product, hidModels[m].name);
        if (!waitUntilGrabbed(keyboard, output)) {
            check(false, std::string(hidModels[m].what) + label + ": never grabbed");
            continue;
        }
        // fnmode changes what the keys send, not how long a press is: long presses once.
        checkHidRow(keyboard, hidModels[m].hasFn, fnmode == std::string_view("1"), own[m], output,
                    hidModels[m].what + label);
    }
    // An Apple keyboard and a PC keyboard at once: each keeps its own row.
    UhidKeyboard apple(hidModels[0].vendor, hidModels[0].product, hidModels[0].name);
    UhidKeyboard pc(hidModels[4].vendor, hidModels[4].product, hidModels[4].name);
    check(waitUntilGrabbed(apple, output) && waitUntilGrabbed(pc, output),
          "two HID keyboards" + label + ": both grabbed");
    tap(apple, hidF1, false);
    tap(pc, hidF1, false);
    const auto both = output.keys(1000ms, 4);
    const std::vector<KeyChange> expected = {
        {own[0][0], 1}, {own[0][0], 0}, {own[4][0], 1}, {own[4][0], 0}};
    check(both == expected, "two HID keyboards" + label +
                                ": F1 of each gives its own key: expected " + describe(expected) +
                                ", got " + describe(both));
    orvane.kill(SIGTERM);
    check(orvane.wait(10s) == 0, "HID keyboards" + label + ": orvanectl run exits with status 0");
}

void checkHidKeyboards(const std::string& program)
{
    checkHidKeyboards(program, "1");
    checkHidKeyboards(program, "2");
}

// A PC laptop whose row comes from three devices, taught once through `orvanectl toprow learn`
// (one key typed wrong and stepped back, one that sends nothing skipped); then, under the mapping a
// new user gets, every long press gives its position's function key and every short press the
// key's own code. The brightness device sends press and release together: no long press there.
void checkTaughtRow(const std::string& program)
{
    ::setenv("HOME", "/tmp/new-user", 1);
    FakeKeyboard laptop("Orvane laptop keyboard");
    FakeKeyboard video("Video Bus");
    FakeKeyboard extra("ThinkPad Extra Buttons");
    struct Position {
        FakeKeyboard* device;
        int code;
        bool isInstant;
    };
    const std::array<std::optional<Position>, 12> row{{
        Position{&laptop, KEY_MUTE, false},
        Position{&laptop, KEY_VOLUMEDOWN, false},
        Position{&laptop, KEY_VOLUMEUP, false},
        Position{&laptop, KEY_MICMUTE, false},
        Position{&video, KEY_BRIGHTNESSDOWN, true},
        Position{&video, KEY_BRIGHTNESSUP, true},
        Position{&extra, KEY_SWITCHVIDEOMODE, false},
        Position{&extra, KEY_WLAN, false},
        std::nullopt, // handled in the firmware
        Position{&extra, KEY_BLUETOOTH, false},
        Position{&extra, KEY_KEYBOARD, false},
        Position{&extra, KEY_FAVORITES, false},
    }};
    const auto press = [](FakeKeyboard& device, int code, bool isInstant) {
        device.key(code, 1);
        if (!isInstant)
            sleepFor(40ms);
        device.key(code, 0);
        sleepFor(40ms);
    };
    const pid_t learn =
        spawn({"/bin/sh", "-c", program + " toprow learn --include-virtual > /tmp/learn 2>&1"});
    const auto said = [](const char* text) {
        std::ifstream file("/tmp/learn");
        const std::string all((std::istreambuf_iterator<char>(file)),
                              std::istreambuf_iterator<char>());
        return all.find(text) != std::string::npos;
    };
    for (int i = 0; i < 100 && !said("Press the twelve"); ++i)
        sleepFor(100ms);
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i == 2) { // a slip, taken back
            press(laptop, KEY_A, false);
            press(laptop, KEY_BACKSPACE, false);
        }
        if (row[i])
            press(*row[i]->device, row[i]->code, row[i]->isInstant);
        else
            press(laptop, KEY_SPACE, false);
    }
    check(waitExit(learn, 20s) == 0 && said("Stored in") && said("no long press"),
          "toprow learn: the row is stored and the brightness device marked");
    if (!said("Stored in"))
        return;

    Orvane orvane(program, {}, "");
    if (!orvane.start()) {
        check(false, "taught row: orvanectl run created no output keyboard");
        return;
    }
    Reader output(orvane.output(), true);
    for (FakeKeyboard* device : {&laptop, &video, &extra})
        check(waitUntilGrabbed(*device, output), "taught row: every device of the row is grabbed");
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (!row[i])
            continue;
        auto& [device, code, isInstant] = *row[i];
        const std::string at = "taught row, F" + std::to_string(i + 1);
        press(*device, code, isInstant);
        const auto shortPress = output.keys(1000ms, 2);
        check(shortPress == std::vector<KeyChange>{{code, 1}, {code, 0}},
              at + ": a short press gives the key's own, got " + describe(shortPress));
        if (isInstant)
            continue;
        device->key(code, 1);
        for (int repeat = 0; repeat < 10; ++repeat) {
            sleepFor(50ms);
            device->key(code, 2);
        }
        device->key(code, 0);
        auto longPress = output.keys(1000ms, 2);
        std::erase_if(longPress, [](const KeyChange& key) { return key.second == 2; });
        const int fkey = functionKeyCodes[i];
        check(longPress == std::vector<KeyChange>{{fkey, 1}, {fkey, 0}},
              at + ": a long press gives F" + std::to_string(i + 1) + ", got " +
                  describe(longPress));
    }
    orvane.kill(SIGTERM);
    check(orvane.wait(10s) == 0, "taught row: orvanectl run exits with status 0");
}

int runAll(const std::string& program)
{
    writeMapping();
    {
        FakeKeyboard keyboard("Orvane test keyboard");
        Orvane orvane(program);
        if (!orvane.start()) {
            std::printf("FAIL orvanectl run created no output keyboard\n");
            return 1;
        }
        Reader output(orvane.output(), true);
        if (!waitUntilGrabbed(keyboard, output)) {
            std::printf("FAIL the fake keyboard was never grabbed\n");
            return 1;
        }
        checkPassThrough(keyboard, output, 10000);
        checkPresses(keyboard, output);
        checkShortcutFrames(keyboard, output);
        checkLongPress(keyboard, output);
        checkLeds(keyboard, output);
        checkSynDropped(keyboard, output, orvane);
        checkRemovalAndHotplug(output, keyboard, orvane);
        checkSecondInstance(program);
        checkOpensApplications(output);
        orvane.kill(SIGTERM);
        check(orvane.wait(10s) == 0, "SIGTERM: orvanectl run exits with status 0");
    }
    checkOneKeyboard(program);
    checkStop(program, SIGTERM, "SIGTERM with a key held");
    checkStop(program, SIGKILL, "SIGKILL with a key held");
    checkStop(program, 0, "panic chord");
    checkHeldAtStart(program);
    checkDoctor(program);
    checkHidKeyboards(program);
    checkTaughtRow(program);
    return failures;
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PATH-TO-ORVANECTL\n", argv[0]);
        return 2;
    }
    // GIO finds its launch helper here rather than where GLib is installed on the host.
    if (::access("/test/gio-launch-desktop", X_OK) == 0)
        ::setenv("GIO_LAUNCH_DESKTOP", "/test/gio-launch-desktop", 1);
    try {
        runAll(argv[1]);
    } catch (const std::exception& error) {
        std::printf("FAIL %s\n", error.what());
        ++failures;
    }
    std::printf(failures == 0 ? "VM TESTS OK\n" : "VM TESTS FAILED: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
