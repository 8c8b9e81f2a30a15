// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux workspace: desktop file ids, which application a window belongs to, the toggle with
// a scripted window source, and applications really started through GIO and by path.
#include "platform/linux/UniqueFd.h"
#include "platform/linux/desktop/workspace/DesktopAppIndex.h"
#include "platform/linux/desktop/workspace/DesktopThread.h"
#include "platform/linux/desktop/workspace/LinuxWorkspace.h"

#include "engine/LaunchTargetExecutor.h"
#include "engine/TaskQueue.h"
#include "support/Fakes.h"
#include "support/Subprocess.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <sstream>
#include <sys/eventfd.h>
#include <thread>

namespace orvane::platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using test::waitFor;

// A window manager that the test scripts: which window is active, what each one says, and what
// the workspace asked it to do.
class ScriptedWindows final : public WindowSource {
public:
    int eventFd() const override { return m_fd.get(); }
    bool takeEvents() override
    {
        std::uint64_t count = 0;
        return ::read(m_fd.get(), &count, sizeof count) == sizeof count;
    }
    bool isConnected() const override { return true; }
    std::optional<WindowId> activeWindow() override
    {
        const std::lock_guard lock(m_mutex);
        return m_active;
    }
    std::vector<WindowId> clientWindows() override
    {
        const std::lock_guard lock(m_mutex);
        std::vector<WindowId> ids;
        for (const auto& entry : m_windows)
            ids.push_back(entry.first);
        return ids;
    }
    WindowIdentity identity(WindowId window) override
    {
        std::unique_lock lock(m_mutex);
        m_released.wait(lock, [&] { return !m_isBlocked; });
        const auto it = m_windows.find(window);
        return it == m_windows.end() ? WindowIdentity{} : it->second;
    }
    void iconify(WindowId window) override
    {
        const std::lock_guard lock(m_mutex);
        m_iconified.push_back(window);
    }
    void activate(WindowId window) override
    {
        const std::lock_guard lock(m_mutex);
        m_activated.push_back(window);
    }

    void addWindow(WindowId window, WindowIdentity identity)
    {
        const std::lock_guard lock(m_mutex);
        m_windows[window] = std::move(identity);
    }
    // Makes `window` active and tells the workspace, as the window manager's property change does.
    void activateFromOutside(std::optional<WindowId> window)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_active = window;
        }
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(m_fd.get(), &one, sizeof one);
    }
    // While blocked, every question about a window waits: a display that hangs.
    void setBlocked(bool isBlocked)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_isBlocked = isBlocked;
        }
        m_released.notify_all();
    }
    std::vector<WindowId> iconified()
    {
        const std::lock_guard lock(m_mutex);
        return m_iconified;
    }
    std::vector<WindowId> activated()
    {
        const std::lock_guard lock(m_mutex);
        return m_activated;
    }

private:
    UniqueFd m_fd{::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)};
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_isBlocked = false;
    std::optional<WindowId> m_active;
    std::map<WindowId, WindowIdentity> m_windows;
    std::vector<WindowId> m_iconified;
    std::vector<WindowId> m_activated;
};

TEST(DesktopFileId, FollowsTheApplicationsFolders)
{
    const std::vector<fs::path> dirs{"/home/u/.local/share/applications",
                                     "/usr/share/applications"};
    struct Row {
        const char* name;
        const char* path;
        std::optional<std::string> id;
    };
    const Row rows[] = {
        {"top level", "/usr/share/applications/org.gnome.Nautilus.desktop",
         "org.gnome.Nautilus.desktop"},
        {"subfolder joins with a dash", "/usr/share/applications/kde4/kate.desktop",
         "kde4-kate.desktop"},
        {"user folder", "/home/u/.local/share/applications/x.desktop", "x.desktop"},
        {"dots in the path are resolved", "/usr/share/applications/../applications/a.desktop",
         "a.desktop"},
        {"elsewhere: the file name", "/home/u/Desktop/tool.desktop", "tool.desktop"},
        {"a folder that only starts the same", "/usr/share/applications-old/b.desktop",
         "b.desktop"},
        {"an executable has none", "/usr/bin/xterm", std::nullopt},
        {"a relative path has none", "applications/a.desktop", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(desktopFileId(row.path, dirs), row.id);
    }
}

// GIO watches the applications folders of the process's XDG data directories, which GLib reads
// once, at its first use: the index is checked in a process of its own, started with the test's
// folders as its data directories.
TEST(DesktopAppIndex, FindsTheApplicationOfAWindow)
{
    const char* root = std::getenv("ORVANE_TEST_DATA_ROOT");
    if (root == nullptr) {
        const test::TempDir home;
        const auto* self = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string filter =
            std::string("--gtest_filter=") + self->test_suite_name() + "." + self->name();
        const auto child = test::run({"/proc/self/exe", filter},
                                     {{"ORVANE_TEST_DATA_ROOT", home.path().string()},
                                      {"XDG_DATA_HOME", (home.path() / "user").string()},
                                      {"XDG_DATA_DIRS", (home.path() / "system").string()}});
        EXPECT_EQ(child.exitCode, 0) << child.out << child.err;
        EXPECT_NE(child.out.find("[  PASSED  ] 1 test."), std::string::npos) << child.out;
        return;
    }
    const fs::path home = root;
    const fs::path user = home / "user" / "applications";
    const fs::path system = home / "system" / "applications";
    fs::create_directories(user);
    fs::create_directories(system / "vendor");
    const auto entry = [](const std::string& extra) {
        return "[Desktop Entry]\nType=Application\nName=X\nExec=true\n" + extra;
    };
    test::writeText(system / "org.example.Editor.desktop", entry(""));
    test::writeText(system / "browser.desktop", entry("StartupWMClass=Navigator\n"));
    test::writeText(user / "browser.desktop", entry("StartupWMClass=MyBrowser\n"));
    test::writeText(system / "vendor" / "term.desktop", entry(""));
    test::writeText(system / "gimp.desktop", entry(""));
    test::writeText(system / "broken.desktop", "not a key file [[[");
    DesktopAppIndex index({user, system});
    // The index is used on a desktop thread, whose main loop brings GIO's change notices.
    DesktopThread thread;
    const auto applicationOf = [&](const WindowIdentity& window) {
        std::optional<std::string> id;
        thread.post([&] { id = index.applicationOf(window); });
        thread.flush();
        return id;
    };

    struct Row {
        const char* name;
        WindowIdentity window;
        std::optional<std::string> id;
    };
    const Row rows[] = {
        {"GTK application id",
         {"org.example.Editor", "", "editor", "Editor"},
         "org.example.Editor.desktop"},
        {"KDE desktop file as a path",
         {"", "/usr/share/applications/gimp.desktop", "", ""},
         "gimp.desktop"},
        {"KDE desktop file as a name", {"", "gimp", "", ""}, "gimp.desktop"},
        {"StartupWMClass of the user's file wins", {"", "", "x", "MyBrowser"}, "browser.desktop"},
        {"the system file's StartupWMClass is shadowed",
         {"", "", "x", "Navigator"},
         "Navigator.desktop"},
        {"WM_CLASS lower-cased", {"", "", "gimp-2.10", "Gimp"}, "gimp.desktop"},
        {"WM_CLASS in a subfolder's id",
         {"", "", "vendor-term", "VendorTerm"},
         "vendor-term.desktop"},
        {"unknown: the window's own name", {"", "", "xclock", "XClock"}, "XClock.desktop"},
        {"a window that says nothing", {}, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(applicationOf(row.window), row.id);
    }

    // An application installed while Orvane runs is found without a restart.
    test::writeText(user / "late.desktop", entry("StartupWMClass=LateWindow\n"));
    EXPECT_TRUE(test::waitFor([&] {
        return applicationOf({"", "", "", "LateWindow"}) == "late.desktop";
    }));
}

class Workspace : public ::testing::Test {
protected:
    Workspace()
    {
        fs::create_directories(apps);
        windows->addWindow(1, {"", "", "files", "Files"});
        windows->addWindow(2, {"org.example.Editor", "", "", ""});
        windows->addWindow(3, {"", "", "files", "Files"});
    }

    fs::path writeDesktopFile(const std::string& name, const std::string& exec)
    {
        fs::path file = apps / name;
        test::writeText(file, "[Desktop Entry]\nType=Application\nName=Test\nExec=" + exec + "\n");
        return file;
    }
    // Runs the executor bound to `path` as a key press does, and waits for the desktop thread.
    void press(const fs::path& path)
    {
        const auto executor = engine::makeExecutor(model::AppTarget{path.string()}, context);
        executor->press();
        queue.drain();
        workspace.flush();
    }

    test::TempDir dir;
    fs::path apps = dir.path() / "applications";
    ScriptedWindows* windows = new ScriptedWindows; // owned by the workspace
    test::RecordingLog log;
    LinuxWorkspace workspace{log, std::unique_ptr<WindowSource>(windows), {apps}};
    engine::TaskQueue queue;
    test::RecordingPoster poster;
    engine::ExecutorContext context{queue, poster, workspace, &log};
};

TEST_F(Workspace, FollowsTheActiveWindow)
{
    writeDesktopFile("files.desktop", "true");
    struct Row {
        const char* name;
        std::optional<WindowId> active;
        std::optional<std::string> frontmost;
    };
    const Row rows[] = {
        {"a window of a known application", 1, "files.desktop"},
        {"another application", 2, "org.example.Editor.desktop"},
        {"no active window", std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        windows->activateFromOutside(row.active);
        EXPECT_TRUE(waitFor([&] { return workspace.frontmostApplicationId() == row.frontmost; }));
    }
}

TEST_F(Workspace, KeyTogglesBetweenRaiseAndHide)
{
    const fs::path files = writeDesktopFile("files.desktop", "true");
    windows->activateFromOutside(2);
    ASSERT_TRUE(waitFor([&] { return workspace.frontmostApplicationId().has_value(); }));

    press(files); // running but behind: its newest window comes to the front, nothing starts
    EXPECT_EQ(windows->activated(), std::vector<WindowId>{3});
    EXPECT_TRUE(windows->iconified().empty());

    windows->activateFromOutside(3);
    ASSERT_TRUE(waitFor([&] { return workspace.frontmostApplicationId() == "files.desktop"; }));
    press(files); // in front: every window of it is hidden, no other
    EXPECT_EQ(windows->iconified(), (std::vector<WindowId>{1, 3}));
    EXPECT_TRUE(log.lines.empty() || log.lines.back().level != engine::Log::Level::error);
}

TEST_F(Workspace, KeyStartsAnApplicationThatDoesNotRun)
{
    const fs::path marker = dir.path() / "started";
    const fs::path app = writeDesktopFile("fresh.desktop", "touch " + marker.string());
    windows->activateFromOutside(2);
    press(app);
    EXPECT_TRUE(waitFor([&] { return fs::exists(marker); }));
    EXPECT_TRUE(windows->activated().empty());
}

TEST_F(Workspace, TypingNeverWaitsForAHungDisplay)
{
    const fs::path app = writeDesktopFile("files.desktop", "true");
    windows->setBlocked(true); // the desktop thread stalls on its first question
    windows->activateFromOutside(1);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 3; ++i) {
        const auto executor = engine::makeExecutor(model::AppTarget{app.string()}, context);
        executor->press();
        queue.drain(); // what the input thread runs
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    windows->setBlocked(false);
    EXPECT_TRUE(waitFor([&] { return workspace.frontmostApplicationId() == "files.desktop"; }));
}

// The three ways of starting something: GIO for a .desktop file, and a plain executable.
TEST(WorkspaceLaunch, StartsApplicationsDetachedFromOrvane)
{
    const test::TempDir dir;
    const fs::path apps = dir.path() / "applications";
    fs::create_directories(apps);
    // What the started program sees: its blocked signals and its session.
    const auto report = [](const fs::path& out) {
        return "sh -c \"grep SigBlk /proc/self/status > " + out.string() +
               ".tmp; cat /proc/self/stat >> " + out.string() + ".tmp; mv " + out.string() +
               ".tmp " + out.string() + "\"";
    };
    const fs::path fromDesktop = dir.path() / "from-desktop";
    test::writeText(apps / "report.desktop", "[Desktop Entry]\nType=Application\nName=Report\n"
                                             "Exec=" +
                                                 report(fromDesktop) + "\n");
    const fs::path script = dir.path() / "report.sh";
    const fs::path fromScript = dir.path() / "from-script";
    test::writeText(script, "#!/bin/sh\nexec " + report(fromScript) + "\n");
    fs::permissions(script, fs::perms::owner_all);

    // Orvane runs with its stop signals blocked (orvanectl run takes them through a signalfd).
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &stop, &previous);
    {
        test::RecordingLog log;
        LinuxWorkspace workspace(log, nullptr, {apps});
        const auto noError = [](const std::string& error) { ADD_FAILURE() << error; };
        workspace.openApplication((apps / "report.desktop").string(), noError);
        workspace.openApplication(script.string(), noError);
        workspace.flush();
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);

    for (const fs::path& out : {fromDesktop, fromScript}) {
        SCOPED_TRACE(out.filename().string());
        ASSERT_TRUE(waitFor([&] { return fs::exists(out); }));
        const std::string seen = test::readText(out);
        EXPECT_NE(seen.find("SigBlk:\t0000000000000000"), std::string::npos) << seen;
        // /proc/PID/stat: pid (comm) state ppid pgrp session ...
        std::istringstream fields(seen.substr(seen.rfind(')') + 2));
        std::string state;
        long parent = 0;
        long group = 0;
        long session = 0;
        fields >> state >> parent >> group >> session;
        EXPECT_NE(session, static_cast<long>(::getsid(0))) << seen;
    }
}

TEST(WorkspaceLaunch, FailuresGiveTheErrorLine)
{
    const test::TempDir dir;
    const fs::path noExec = dir.path() / "no-exec.desktop";
    test::writeText(noExec, "[Desktop Entry]\nType=Application\nName=Broken\n");
    const fs::path missingProgram = dir.path() / "missing-program.desktop";
    test::writeText(missingProgram, "[Desktop Entry]\nType=Application\nName=Gone\n"
                                    "Exec=/nonexistent/orvane-test-program\n");
    const fs::path plain = dir.path() / "notes.txt";
    test::writeText(plain, "not a program");
    struct Row {
        const char* name;
        std::string path;
        std::string error;
    };
    const Row rows[] = {
        {"nothing there", (dir.path() / "gone.desktop").string(), "no such file"},
        {"a desktop file without Exec", noExec.string(), "Exec"},
        {"its program is missing", missingProgram.string(), "program is not installed"},
        {"a file that is not a program", plain.string(), "neither a .desktop file nor"},
        {"a relative path", "apps/x.desktop", "not an absolute path"},
    };
    test::RecordingLog log;
    LinuxWorkspace workspace(log, nullptr, {dir.path()});
    engine::TaskQueue queue;
    test::RecordingPoster poster;
    const engine::ExecutorContext context{queue, poster, workspace, &log};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        log.lines.clear();
        engine::makeExecutor(model::AppTarget{row.path}, context)->press();
        queue.drain();
        workspace.flush();
        ASSERT_EQ(log.lines.size(), 1u);
        EXPECT_EQ(log.lines[0].text.rfind("ERROR: cannot open " + row.path + ": ", 0), 0u)
            << log.lines[0].text;
        EXPECT_NE(log.lines[0].text.find(row.error), std::string::npos) << log.lines[0].text;
    }
}

} // namespace
} // namespace orvane::platform
