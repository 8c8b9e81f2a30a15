// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 window source against a real X server (Xvfb), with the test playing the EWMH window
// manager: it keeps the root window's properties and receives the requests Orvane sends.
#include "platform/linux/desktop/workspace/X11Windows.h"
#include "platform/linux/desktop/workspace/LinuxWorkspace.h"

#include "support/Fakes.h"
#include "support/Subprocess.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <thread>

extern char** environ;

namespace orvane::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// An Xvfb server on a display number it picks itself; stopped when the object goes.
class VirtualDisplay {
public:
    VirtualDisplay()
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        const std::string fd = std::to_string(fds[1]);
        std::vector<std::string> args{"Xvfb", "-displayfd", fd,  "-nolisten",
                                      "tcp",  "-screen",    "0", "320x240x24"};
        std::vector<char*> argv;
        argv.reserve(args.size() + 1);
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const bool isStarted =
            ::posix_spawnp(&m_pid, "Xvfb", nullptr, nullptr, argv.data(), environ) == 0;
        ::close(fds[1]);
        pollfd wait{fds[0], POLLIN, 0};
        std::string number;
        char c = 0;
        while (isStarted && ::poll(&wait, 1, 10000) == 1 && ::read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(fds[0]);
        if (!number.empty())
            m_name = ":" + number;
    }
    ~VirtualDisplay()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    const std::string& name() const { return m_name; } // empty when it did not start

private:
    pid_t m_pid = -1;
    std::string m_name;
};

// The window manager's side of the protocol, as far as the test needs it.
class TestWindowManager {
public:
    explicit TestWindowManager(const std::string& display)
        : m_connection(xcb_connect(display.c_str(), nullptr)),
          m_root(xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root)
    {
        // Requests to the window manager are sent to the root with this mask.
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }
    ~TestWindowManager() { xcb_disconnect(m_connection); }

    std::uint32_t atom(const std::string& name)
    {
        const auto cookie =
            xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(name.size()), name.data());
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(m_connection, cookie, nullptr);
        const std::uint32_t result = reply->atom;
        std::free(reply);
        return result;
    }
    std::uint32_t createWindow(const std::string& wmClass, const std::string& gtkId)
    {
        const std::uint32_t window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        setText(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, wmClass);
        if (!gtkId.empty())
            setText(window, atom("_GTK_APPLICATION_ID"), atom("UTF8_STRING"), gtkId);
        return window;
    }
    void setRootList(const std::string& property, std::uint32_t type,
                     const std::vector<std::uint32_t>& values)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root, atom(property), type, 32,
                            static_cast<std::uint32_t>(values.size()), values.data());
        xcb_flush(m_connection);
    }
    // The next request sent to the window manager, within a few seconds.
    std::optional<xcb_client_message_event_t> nextRequest()
    {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (std::chrono::steady_clock::now() < deadline) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const bool isRequest = (event->response_type & 0x7F) == XCB_CLIENT_MESSAGE;
                xcb_client_message_event_t message{};
                if (isRequest)
                    std::memcpy(&message, event, sizeof message);
                std::free(event);
                if (isRequest)
                    return message;
            }
            pollfd wait{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            ::poll(&wait, 1, 50);
        }
        return std::nullopt;
    }

private:
    void setText(std::uint32_t window, std::uint32_t property, std::uint32_t type,
                 const std::string& text)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, property, type, 8,
                            static_cast<std::uint32_t>(text.size()), text.data());
    }

    xcb_connection_t* m_connection;
    std::uint32_t m_root;
};

// Sets a variable for the test's duration (nullptr: unsets it).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

using test::waitFor;

TEST(X11Windows, FollowsAndDrivesAnEwmhWindowManager)
{
    const VirtualDisplay display;
    if (display.name().empty())
        GTEST_SKIP() << "Xvfb (package xvfb) is needed for this test and did not start";
    const ScopedEnv displayVariable("DISPLAY", display.name().c_str());
    const ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    const ScopedEnv session("XDG_SESSION_TYPE", "x11");
    TestWindowManager manager(display.name());
    EXPECT_EQ(X11Windows::connect(), nullptr)
        << "no _NET_SUPPORTED: nobody keeps the active window";

    const std::uint32_t files = manager.createWindow(std::string("files\0Files\0", 12), "");
    const std::uint32_t editor =
        manager.createWindow(std::string("editor\0Editor\0", 14), "org.example.Editor");
    manager.setRootList("_NET_SUPPORTED", XCB_ATOM_ATOM,
                        {manager.atom("_NET_ACTIVE_WINDOW"), manager.atom("_NET_CLIENT_LIST")});
    manager.setRootList("_NET_CLIENT_LIST", XCB_ATOM_WINDOW, {files, editor});
    manager.setRootList("_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW, {files});

    {
        // Where the session cannot tell, the source is not used at all.
        const ScopedEnv waylandToo("WAYLAND_DISPLAY", "wayland-0");
        EXPECT_EQ(X11Windows::connect(), nullptr) << "a Wayland session";
    }

    const test::TempDir dir;
    const fs::path apps = dir.path() / "applications";
    const std::string entry = "[Desktop Entry]\nType=Application\nName=X\nExec=true\n";
    test::writeText(apps / "files.desktop", entry);
    test::writeText(apps / "org.example.Editor.desktop", entry);
    test::RecordingLog log;
    LinuxWorkspace workspace(log, X11Windows::connect(), {apps});

    EXPECT_TRUE(waitFor([&] { return workspace.frontmostApplicationId() == "files.desktop"; }));
    manager.setRootList("_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW, {editor});
    EXPECT_TRUE(waitFor(
        [&] { return workspace.frontmostApplicationId() == "org.example.Editor.desktop"; }));

    EXPECT_TRUE(workspace.hideRunningApplication("org.example.Editor.desktop"));
    const auto hide = manager.nextRequest();
    ASSERT_TRUE(hide);
    EXPECT_EQ(hide->type, manager.atom("WM_CHANGE_STATE"));
    EXPECT_EQ(hide->window, editor);
    EXPECT_EQ(hide->data.data32[0], 3u); // IconicState

    workspace.openApplication((apps / "files.desktop").string(),
                              [](const std::string& error) { ADD_FAILURE() << error; });
    const auto raise = manager.nextRequest();
    ASSERT_TRUE(raise);
    EXPECT_EQ(raise->type, manager.atom("_NET_ACTIVE_WINDOW"));
    EXPECT_EQ(raise->window, files);
    workspace.flush();
}

} // namespace
} // namespace orvane::platform
