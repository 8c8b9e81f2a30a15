// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl run: grabs the keyboards and runs the real engine, without any window, until SIGINT
// or SIGTERM (or the panic chord Backspace + Escape + Enter).
#include "Commands.h"
#include "EngineOptions.h"

#include "platform/linux/input/InputBackend.h"
#include "platform/linux/system/LinuxSystem.h"

#include <csignal>
#include <iostream>
#include <mutex>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace orvane::ctl {

namespace {

constexpr std::string_view usage =
    "usage: orvanectl run [--mapping FILE] [--delay SECONDS] [--include-virtual] [--device NAME]\n"
    "                   [--realtime] [--verbose]\n";

struct RunOptions {
    EngineOptions engine;
    bool includeVirtual = false;
    std::string onlyDevice;
    bool isRealtime = false;
    bool isVerbose = false;
};

std::optional<RunOptions> parseOptions(Args args)
{
    RunOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const OptionTaken taken = takeEngineOption(args, i, options.engine, "run");
        if (taken == OptionTaken::badValue)
            return std::nullopt;
        if (taken == OptionTaken::yes)
            continue;
        if (args[i] == "--include-virtual") {
            options.includeVirtual = true;
        } else if (args[i] == "--device" && i + 1 < args.size()) {
            options.onlyDevice = args[++i];
        } else if (args[i] == "--realtime" || args[i] == "--no-realtime") {
            options.isRealtime =
                args[i] == "--realtime"; // the second is the default, kept for scripts
        } else if (args[i] == "--verbose") {
            options.isVerbose = true;
        } else {
            std::cerr << usage;
            return std::nullopt;
        }
    }
    return options;
}

// Log lines on standard error, one whole line per write; debug lines only when asked for.
class StderrLog final : public engine::Log {
public:
    explicit StderrLog(bool isVerbose) : m_isVerbose(isVerbose) {}
    void write(Level level, std::string_view category, std::string_view text) override
    {
        if (level == Level::debug && !m_isVerbose)
            return;
        const std::lock_guard lock(m_mutex);
        std::cerr << "orvane [" << category << "] " << text << std::endl;
    }

private:
    bool m_isVerbose;
    std::mutex m_mutex;
};

} // namespace

int runCommand(Args args)
{
    const auto options = parseOptions(args);
    if (!options)
        return exitUsage;
    // Without --mapping or --delay, what the user stored, with this machine's defaults.
    platform::LinuxSystem system;
    const model::TopRow topRow = system.topRow();
    const auto resolved = resolveEngineOptions(options->engine, system.defaultKeyMapping(), "run");
    if (!resolved)
        return exitUsage;

    // The signals are taken as events by this thread; the input thread inherits the mask and
    // never sees them.
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&signals, signal);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    const platform::UniqueFd signalFd(::signalfd(-1, &signals, SFD_CLOEXEC));

    StderrLog log(options->isVerbose);
    // Made after the signals are blocked: its desktop thread must not take them either.
    engine::Workspace& workspace = system.workspace(log);
    platform::InputBackend::Options backendOptions;
    backendOptions.policy.includeVirtual = options->includeVirtual;
    backendOptions.policy.onlyName = options->onlyDevice;
    backendOptions.isRealtime = options->isRealtime;
    platform::InputBackend backend(workspace, log, topRow, backendOptions);
    if (const auto error = backend.start(resolved->mapping, resolved->delay)) {
        if (error == std::errc::device_or_resource_busy) {
            std::cerr << "orvanectl run: Orvane is already running for this user and holds the "
                         "keyboards; stop it first.\n";
            return exitFailed;
        }
        std::cerr << "orvanectl run: cannot create the output keyboard (/dev/uinput): "
                  << error.message() << "\n'orvanectl doctor' tells how to grant access.\n";
        return exitFailed;
    }
    log.write(engine::Log::Level::info, "Input", "running; SIGINT or SIGTERM stops");

    std::array<pollfd, 2> waits{{{signalFd.get(), POLLIN, 0}, {backend.stoppedFd(), POLLIN, 0}}};
    while (::poll(waits.data(), waits.size(), -1) < 0 && errno == EINTR) {
    }
    if ((waits[0].revents & POLLIN) != 0) {
        signalfd_siginfo info{};
        [[maybe_unused]] const auto got = ::read(signalFd.get(), &info, sizeof info);
        log.write(engine::Log::Level::info, "Input",
                  "stopping on signal " + std::to_string(info.ssi_signo));
    }
    backend.stop();
    backend.wait();
    const auto reason = backend.stopReason();
    const bool isFailure = reason == platform::InputBackend::StopReason::outputLost ||
                           reason == platform::InputBackend::StopReason::failed;
    return isFailure ? exitFailed : exitOk;
}

} // namespace orvane::ctl
