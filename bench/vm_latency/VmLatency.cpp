// Latency of key events through Orvane, against the bare forwarder, in one VM boot: a fake
// keyboard writes, a reader of the output device waits for the event, one at a time. Prints median
// and p99 for pass-through letters (both programs) and for a mapped short press (Orvane), and
// Orvane's CPU time and context switches over an idle second. Asserts nothing.
// Usage (inside the VM): vm_latency BARE_FORWARDER ORVANECTL [EVENTS-PER-ROUND] [ROUNDS]
#include "tests/vm/VmSupport.h"

#include <linux/input.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace orvane::vmtest;
using namespace std::chrono_literals;

namespace {

void report(const char* label, std::vector<double> us)
{
    if (us.empty()) {
        std::printf("%-40s no samples\n", label);
        return;
    }
    std::sort(us.begin(), us.end());
    const auto at = [&](double p) {
        return us[std::min(us.size() - 1,
                           static_cast<std::size_t>(p * static_cast<double>(us.size())))];
    };
    std::printf("%-40s n=%zu median=%.1fus p99=%.1fus max=%.1fus\n", label, us.size(), at(0.5),
                at(0.99), us.back());
}

double elapsedUs(Clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// Letters, press and release alternately; each timed from the write to its arrival.
std::vector<double> letters(FakeKeyboard& keyboard, Reader& output, int count)
{
    const int keys[] = {KEY_A, KEY_S, KEY_D, KEY_F, KEY_J, KEY_K, KEY_L};
    std::vector<double> us;
    for (int i = 0; i < count; ++i) {
        const int code = keys[(i / 2) % 7];
        const auto start = Clock::now();
        keyboard.key(code, i % 2 == 0 ? 1 : 0);
        if (output.nextFrame(2000ms).empty())
            std::printf("lost a letter\n");
        else
            us.push_back(elapsedUs(start));
    }
    return us;
}

// F1 pressed and released (short press, mapped to brightness down by default): timed from the
// release to the arrival of the mapped key's press, and to its release.
void shortPresses(FakeKeyboard& keyboard, Reader& output, int count)
{
    std::vector<double> first;
    std::vector<double> last;
    for (int i = 0; i < count; ++i) {
        keyboard.key(KEY_F1, 1);
        const auto start = Clock::now();
        keyboard.key(KEY_F1, 0);
        const auto down = output.nextFrame(2000ms);
        first.push_back(elapsedUs(start));
        const auto up = output.nextFrame(2000ms);
        last.push_back(elapsedUs(start));
        if (down != std::vector<KeyChange>{{KEY_BRIGHTNESSDOWN, 1}} ||
            up != std::vector<KeyChange>{{KEY_BRIGHTNESSDOWN, 0}})
            std::printf("unexpected output for a short press: %s %s\n", describe(down).c_str(),
                        describe(up).c_str());
    }
    report("orvane short press, release->mapped down", first);
    report("orvane short press, release->mapped up", last);
}

struct Usage {
    long ticks = 0;
    long switches = 0;
};

Usage usage(pid_t pid)
{
    Usage result;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14 || i == 15)
            result.ticks += std::stol(field);
    }
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* entries = ::opendir(tasks.c_str())) {
        while (const dirent* entry = ::readdir(entries)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream status(tasks + "/" + entry->d_name + "/status");
            while (std::getline(status, line)) {
                if (line.find("ctxt_switches:") != std::string::npos)
                    result.switches += std::stol(line.substr(line.find(':') + 1));
            }
        }
        ::closedir(entries);
    }
    return result;
}

std::vector<double> measureForwarder(const std::string& program, FakeKeyboard& keyboard, int count)
{
    std::vector<double> us;
    const pid_t pid = spawn({program, keyboard.node()});
    const std::string node = findNodeNamed("bare forwarder", 10s);
    if (node.empty()) {
        std::printf("the bare forwarder made no output device\n");
    } else {
        Reader output(node);
        if (waitUntilGrabbed(keyboard, output))
            us = letters(keyboard, output, count);
    }
    ::kill(pid, SIGTERM);
    waitExit(pid, 5s);
    report("bare forwarder, letters", us);
    return us;
}

// One round of Orvane: letters; in the first round also short presses and the idle check.
std::vector<double> measureOrvane(const std::string& program, FakeKeyboard& keyboard, int count,
                                  bool isFirst)
{
    std::vector<double> us;
    const pid_t orvane = spawn({program, "run", "--include-virtual"});
    const std::string node = findNodeNamed("Orvane virtual keyboard", 20s);
    if (node.empty()) {
        std::printf("orvanectl run made no output device\n");
        return us;
    }
    Reader output(node);
    if (!waitUntilGrabbed(keyboard, output)) {
        std::printf("orvanectl run did not forward\n");
        return us;
    }
    us = letters(keyboard, output, count);
    report("orvane, letters", us);
    if (isFirst) {
        shortPresses(keyboard, output, count / 4);
        sleepFor(200ms);
        const Usage before = usage(orvane);
        sleepFor(1000ms);
        const Usage after = usage(orvane);
        std::printf("orvane idle for 1 s: cpu=%ld ticks (1 tick = %ld ms), context switches=%ld\n",
                    after.ticks - before.ticks, 1000 / ::sysconf(_SC_CLK_TCK),
                    after.switches - before.switches);
    }
    ::kill(orvane, SIGTERM);
    waitExit(orvane, 5s);
    return us;
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s BARE_FORWARDER ORVANECTL [EVENTS] [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int count = argc > 3 ? std::atoi(argv[3]) : 1000;
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 4;
    try {
        // Rounds alternate between the two programs, so that both meet the same drift of the
        // emulated machine; the pooled figures are the ones to compare.
        FakeKeyboard keyboard("Orvane bench keyboard");
        std::vector<double> bare;
        std::vector<double> orvane;
        for (int round = 0; round < rounds; ++round) {
            const auto b = measureForwarder(argv[1], keyboard, count);
            bare.insert(bare.end(), b.begin(), b.end());
            const auto o = measureOrvane(argv[2], keyboard, count, round == 0);
            orvane.insert(orvane.end(), o.begin(), o.end());
        }
        report("pooled: bare forwarder, letters", bare);
        report("pooled: orvane, letters", orvane);
    } catch (const std::exception& error) {
        std::printf("failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
