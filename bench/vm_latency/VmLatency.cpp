// SPDX-License-Identifier: GPL-3.0-or-later
// Latency and CPU of a key event through Orvane against the bare forwarder (the floor for any
// remapper that runs as a process), paired in one VM boot: each program grabs its own fake
// keyboard, both run for the whole measurement, and one letter goes through each path in turn, so
// that both meet the same moment of a noisy host. Prints the medians, their ratio, the CPU time
// and wake-ups per event of each process over the same span, the mapped short press, and the
// wake-ups of an idle Orvane; the last line sums it up. Asserts nothing.
// Usage (inside the VM): vm_latency BARE_FORWARDER ORVANECTL [PAIRS] [realtime]
//   realtime: `run --realtime`, Orvane's input thread in the real-time class rather than the
//   ordinary one the bare forwarder runs in.
#include "tests/vm/VmSupport.h"

#include <linux/input.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <signal.h>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

using namespace orvane::vmtest;
using namespace std::chrono_literals;

namespace {

constexpr const char* forwarderKeyboard = "Orvane bench keyboard (forwarder)";
constexpr const char* orvaneKeyboard = "Orvane bench keyboard (orvane)";
// Longer than any periodic timer of GLib's (its file monitors look for missing folders every 4 s).
constexpr auto idleSpan = std::chrono::milliseconds(5000);

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1,
                           static_cast<std::size_t>(p * static_cast<double>(values.size())))];
}

void report(const char* label, const std::vector<double>& us)
{
    std::printf("%-44s n=%zu median=%.1fus p90=%.1fus p99=%.1fus\n", label, us.size(), median(us),
                percentile(us, 0.9), percentile(us, 0.99));
}

double elapsedUs(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// CPU time and context switches of a process, all its threads together.
struct Usage {
    double cpuUs = 0;
    long voluntary = 0;
    long involuntary = 0;
    long reads = 0;  // read-type system calls, those that found nothing included
    long writes = 0; // write-type system calls
};

// Calls `visit(id, folder)` for every thread of `pid`, with its /proc/<pid>/task/<id> folder.
template <typename Visit> void forEachThread(pid_t pid, Visit visit)
{
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error))
        visit(entry.path().filename().string(), entry.path().string());
}

// The value of the first line of a /proc file that starts with `key`, or 0.
long field(const std::string& line, std::string_view key)
{
    return line.starts_with(key) ? std::stol(line.substr(key.size())) : 0;
}

Usage usage(pid_t pid)
{
    Usage result;
    forEachThread(pid, [&](const std::string&, const std::string& task) {
        std::ifstream schedstat(task + "/schedstat"); // ns on the CPU, ns waiting, slices
        double ns = 0;
        if (schedstat >> ns)
            result.cpuUs += ns / 1000;
        std::ifstream status(task + "/status");
        std::string line;
        while (std::getline(status, line)) {
            result.voluntary += field(line, "voluntary_ctxt_switches:");
            result.involuntary += field(line, "nonvoluntary_ctxt_switches:");
        }
        std::ifstream io(task + "/io");
        while (std::getline(io, line)) {
            result.reads += field(line, "syscr:");
            result.writes += field(line, "syscw:");
        }
    });
    return result;
}

// Context switches of one thread, of either kind.
long switchesOf(const std::string& task)
{
    std::ifstream status(task + "/status");
    long switches = 0;
    std::string line;
    while (std::getline(status, line))
        switches +=
            field(line, "voluntary_ctxt_switches:") + field(line, "nonvoluntary_ctxt_switches:");
    return switches;
}

std::string nameOf(const std::string& task)
{
    std::ifstream comm(task + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

// Each thread's id and context switches, for telling which one woke.
std::string threadSwitches(pid_t pid)
{
    std::string text;
    forEachThread(pid, [&](const std::string& id, const std::string& task) {
        text += id + " (" + nameOf(task) + "): " + std::to_string(switchesOf(task)) + " ";
    });
    return text;
}

// The context switches of the thread of `pid` with this name (the input thread names itself).
long threadNamed(pid_t pid, const std::string& wanted)
{
    long switches = 0;
    forEachThread(pid, [&](const std::string&, const std::string& task) {
        if (nameOf(task) == wanted)
            switches += switchesOf(task);
    });
    return switches;
}

Usage operator-(const Usage& a, const Usage& b)
{
    return {a.cpuUs - b.cpuUs, a.voluntary - b.voluntary, a.involuntary - b.involuntary,
            a.reads - b.reads, a.writes - b.writes};
}

// One program under test: its keyboard, its output and its process.
struct Path {
    const char* label;
    FakeKeyboard& keyboard;
    Reader& output;
    pid_t pid;
    std::vector<double> us;
    int sent = 0;
    int lost = 0;
};

// A letter through `path`, press and release in turn: timed from the write to its arrival.
void letter(Path& path, bool isKept)
{
    static constexpr std::array keys = {KEY_A, KEY_S, KEY_D, KEY_F, KEY_J, KEY_K, KEY_L};
    const int code = keys[static_cast<std::size_t>(path.sent / 2) % keys.size()];
    const int value = path.sent % 2 == 0 ? 1 : 0;
    ++path.sent;
    const auto start = Clock::now();
    path.keyboard.key(code, value);
    const auto frame = path.output.nextFrame(2000ms);
    const double us = elapsedUs(start);
    if (frame != std::vector<KeyChange>{{code, value}})
        ++path.lost;
    else if (isKept)
        path.us.push_back(us);
}

// F1 pressed and released through Orvane (a short press, mapped to brightness down by default):
// timed from the release to the arrival of the mapped key's press. The release is written once
// Orvane has handled the press and gone back to sleep, so that only the release is timed.
bool shortPress(Path& path, std::vector<double>& us)
{
    const long sleeps = usage(path.pid).voluntary;
    path.keyboard.key(KEY_F1, 1);
    const auto deadline = Clock::now() + 100ms;
    while (usage(path.pid).voluntary == sleeps && Clock::now() < deadline)
        std::this_thread::sleep_for(20us);
    const auto start = Clock::now();
    path.keyboard.key(KEY_F1, 0);
    const auto down = path.output.nextFrame(2000ms);
    const double elapsed = elapsedUs(start);
    const auto up = path.output.nextFrame(2000ms);
    if (down != std::vector<KeyChange>{{KEY_BRIGHTNESSDOWN, 1}} ||
        up != std::vector<KeyChange>{{KEY_BRIGHTNESSDOWN, 0}}) {
        std::printf("unexpected output for a short press: %s %s\n", describe(down).c_str(),
                    describe(up).c_str());
        return false;
    }
    us.push_back(elapsed);
    return true;
}

// Whether any thread of `pid` runs in a real-time class.
bool hasRealtimeThread(pid_t pid)
{
    bool isRealtime = false;
    forEachThread(pid, [&](const std::string& id, const std::string&) {
        const int policy = ::sched_getscheduler(std::stoi(id)) & ~SCHED_RESET_ON_FORK;
        isRealtime = isRealtime || policy == SCHED_FIFO || policy == SCHED_RR;
    });
    return isRealtime;
}

// The folders every desktop session has, and the bare VM lacks: without them GLib's file monitors
// (behind the favourite applications) poll for the missing ones, a wake-up no desktop would see.
void makeDesktopFolders()
{
    for (const char* folder : {"/root/.config", "/root/.local/share/applications", "/etc/xdg",
                               "/usr/local/share/applications", "/usr/share/applications"})
        std::filesystem::create_directories(folder);
}

int run(const std::string& forwarderProgram, const std::string& orvaneProgram, int pairs,
        bool isRealtime)
{
    makeDesktopFolders();
    FakeKeyboard forwarderInput(forwarderKeyboard);
    FakeKeyboard orvaneInput(orvaneKeyboard);
    const pid_t forwarder = spawn({forwarderProgram, forwarderInput.node()});
    const std::string forwarderNode = findNodeNamed("bare forwarder", 10s);
    std::vector<std::string> orvaneArgs = {orvaneProgram, "run", "--include-virtual", "--device",
                                           orvaneKeyboard};
    if (isRealtime)
        orvaneArgs.emplace_back("--realtime");
    const pid_t orvane = spawn(orvaneArgs);
    const std::string orvaneNode = findNodeNamed("Orvane virtual keyboard", 20s);
    if (forwarderNode.empty() || orvaneNode.empty()) {
        std::printf("no output device from the %s\n",
                    forwarderNode.empty() ? "bare forwarder" : "orvanectl run");
        return 1;
    }
    Reader forwarderOutput(forwarderNode);
    Reader orvaneOutput(orvaneNode);
    if (!waitUntilGrabbed(forwarderInput, forwarderOutput) ||
        !waitUntilGrabbed(orvaneInput, orvaneOutput)) {
        std::printf("a program under test did not forward its keyboard\n");
        return 1;
    }
    const char* priority = hasRealtimeThread(orvane) ? "real-time" : "normal";
    std::printf("orvane's input thread: %s priority\n", priority);
    Path paths[] = {{"bare forwarder", forwarderInput, forwarderOutput, forwarder, {}},
                    {"orvane", orvaneInput, orvaneOutput, orvane, {}}};
    for (int i = 0; i < 50; ++i) // warm-up: caches, page faults, the first allocations
        for (Path& path : paths)
            letter(path, false);

    // Letters, one through each path in turn; which goes first alternates. CPU time is read in
    // blocks of pairs: a block where the host took the emulated CPU away from the guest charges
    // that time to whichever process ran, so the median block speaks for the usual event.
    constexpr int block = 25;
    const Usage forwarderBefore = usage(forwarder);
    const Usage orvaneBefore = usage(orvane);
    Usage forwarderMark = forwarderBefore;
    Usage orvaneMark = orvaneBefore;
    std::vector<double> forwarderBlocks;
    std::vector<double> orvaneBlocks;
    for (int i = 0; i < pairs; ++i) {
        letter(paths[i % 2], true);
        letter(paths[1 - i % 2], true);
        if ((i + 1) % block == 0) {
            const Usage forwarderNow = usage(forwarder);
            const Usage orvaneNow = usage(orvane);
            forwarderBlocks.push_back((forwarderNow - forwarderMark).cpuUs / block);
            orvaneBlocks.push_back((orvaneNow - orvaneMark).cpuUs / block);
            forwarderMark = forwarderNow;
            orvaneMark = orvaneNow;
        }
    }
    const Usage forwarderSpent = usage(forwarder) - forwarderBefore;
    const Usage orvaneSpent = usage(orvane) - orvaneBefore;
    report("letters, bare forwarder", paths[0].us);
    report("letters, orvane", paths[1].us);
    const double events = pairs;
    for (const auto& [label, spent, blocks] :
         {std::tuple{"bare forwarder", forwarderSpent, forwarderBlocks},
          std::tuple{"orvane", orvaneSpent, orvaneBlocks}})
        std::printf("per event, %s: cpu=%.1fus (median block %.1fus) wake-ups=%.2f "
                    "preempted=%.2f reads=%.2f writes=%.2f\n",
                    label, spent.cpuUs / events, median(blocks),
                    static_cast<double>(spent.voluntary) / events,
                    static_cast<double>(spent.involuntary) / events,
                    static_cast<double>(spent.reads) / events,
                    static_cast<double>(spent.writes) / events);

    // Mapped short presses, paired with forwarder letters in the same way.
    std::vector<double> shortUs;
    std::vector<double> shortFloorUs;
    paths[0].us.swap(shortFloorUs);
    for (int i = 0; i < pairs / 4; ++i) {
        letter(paths[0], true);
        shortPress(paths[1], shortUs);
    }
    paths[0].us.swap(shortFloorUs);
    report("short press, orvane release->mapped down", shortUs);

    // Idle: nothing typed, nothing should run.
    sleepFor(300ms);
    const Usage idleBefore = usage(orvane);
    const std::string threadsBefore = threadSwitches(orvane);
    const long inputBefore = threadNamed(orvane, "orvane-input");
    sleepFor(idleSpan);
    const Usage idle = usage(orvane) - idleBefore;
    const long inputIdle = threadNamed(orvane, "orvane-input") - inputBefore;
    if (idle.voluntary + idle.involuntary != 0)
        std::printf("orvane's threads (id (name): switches) before the idle span: %s, after: %s\n",
                    threadsBefore.c_str(), threadSwitches(orvane).c_str());
    std::printf("orvane idle for %lld s: cpu=%.0fus wake-ups=%ld (preempted %ld)\n",
                static_cast<long long>(idleSpan.count() / 1000), idle.cpuUs,
                idle.voluntary + idle.involuntary, idle.involuntary);

    const int lost = paths[0].lost + paths[1].lost;
    if (lost != 0)
        std::printf("%d letters lost or changed (bare forwarder %d, orvane %d)\n", lost,
                    paths[0].lost, paths[1].lost);
    const double floor = median(paths[0].us);
    std::printf("RESULT %s priority, pairs=%d latency forwarder=%.1fus orvane=%.1fus ratio=%.2f | "
                "cpu/event "
                "forwarder=%.1fus orvane=%.1fus ratio=%.2f (all: %.2f) | short press=%.1fus "
                "(%.2fx forwarder) | idle wake-ups=%ld (input thread %ld)\n",
                priority, pairs, floor, median(paths[1].us), median(paths[1].us) / floor,
                median(forwarderBlocks), median(orvaneBlocks),
                median(orvaneBlocks) / median(forwarderBlocks),
                orvaneSpent.cpuUs / forwarderSpent.cpuUs, median(shortUs),
                median(shortUs) / median(shortFloorUs), idle.voluntary + idle.involuntary,
                inputIdle);

    ::kill(orvane, SIGTERM);
    ::kill(forwarder, SIGTERM);
    waitExit(orvane, 5s);
    waitExit(forwarder, 5s);
    return lost == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s BARE_FORWARDER ORVANECTL [PAIRS] [realtime]\n", argv[0]);
        return 2;
    }
    const int pairs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1450;
    try {
        return run(argv[1], argv[2], pairs, argc > 4 && std::string_view(argv[4]) == "realtime");
    } catch (const std::exception& error) {
        std::printf("failed: %s\n", error.what());
        return 1;
    }
}
