// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlWatcher.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <mutex>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace orvane::platform {

namespace {

// The file the input thread of this thread is about to block on. Initial-exec TLS in the program
// itself, so reading it from a signal handler is safe.
constinit thread_local int t_interruptibleFd = -1;

// A real-time signal nothing else in Orvane, Qt or GLib uses; glibc keeps the first ones for
// itself and SIGRTMIN already counts past them.
int attentionSignal() noexcept
{
    return SIGRTMIN + 4;
}

void onAttention(int /*signal*/) noexcept
{
    const int savedErrno = errno;
    if (const int fd = t_interruptibleFd; fd >= 0) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0)
            ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    }
    errno = savedErrno;
}

// Without SA_RESTART: the blocking read must return (EINTR) rather than start over.
bool installHandler() noexcept
{
    static std::once_flag once;
    static bool isInstalled = false;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_handler = onAttention;
        sigemptyset(&action.sa_mask);
        isInstalled = ::sigaction(attentionSignal(), &action, nullptr) == 0;
    });
    return isInstalled;
}

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

} // namespace

std::error_code ControlWatcher::start(std::span<const int> fds)
{
    if (!installHandler())
        return lastError();
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, attentionSignal());
    ::pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);

    m_epoll = UniqueFd(::epoll_create1(EPOLL_CLOEXEC));
    m_quit = UniqueFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!m_epoll || !m_quit)
        return lastError();
    const auto watch = [this](int fd) {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = fd;
        return ::epoll_ctl(m_epoll.get(), EPOLL_CTL_ADD, fd, &event) == 0;
    };
    if (!watch(m_quit.get()))
        return lastError();
    for (const int fd : fds) {
        if (!watch(fd))
            return lastError();
    }
    m_target = ::pthread_self();
    m_isQuitting = false;
    m_attention = false;
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error& error) {
        return error.code();
    }
    return {};
}

void ControlWatcher::stop() noexcept
{
    if (!m_thread.joinable())
        return;
    m_isQuitting = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(m_quit.get(), &one, sizeof one);
    m_attention = false;
    m_attention.notify_all();
    m_thread.join();
}

void ControlWatcher::served() noexcept
{
    m_attention.store(false, std::memory_order_release);
    m_attention.notify_all();
}

void ControlWatcher::setInterruptibleFd(int fd) noexcept
{
    t_interruptibleFd = fd;
}

void ControlWatcher::run() noexcept
{
    // Never interrupted itself: the signal is for the input thread only.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, attentionSignal());
    ::pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    ::pthread_setname_np(::pthread_self(), "orvane-watch");
    std::array<epoll_event, 4> ready{};
    while (!m_isQuitting) {
        const int count =
            ::epoll_wait(m_epoll.get(), ready.data(), static_cast<int>(ready.size()), -1);
        if (count < 0 && errno != EINTR)
            return;
        if (count <= 0 || m_isQuitting)
            continue;
        m_attention = true;
        if (m_isQuitting) // `stop` may have lowered the flag just before it was raised
            return;
        ::pthread_kill(m_target, attentionSignal());
        m_attention.wait(true);
    }
}

} // namespace orvane::platform
