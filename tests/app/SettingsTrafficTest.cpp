// SPDX-License-Identifier: GPL-3.0-or-later
// What one edit in the preferences costs the settings file: how often it is opened for reading
// (by any thread), how often a new file is renamed into place, and how often the keyboards are
// surveyed for fn. The parts are the program's own: the settings file in a temporary folder, the
// shell following every setting, the watcher of outside changes and the preferences view.
#include "ShellFixture.h"

#include "app/SettingsWatcher.h"
#include "platform/linux/input/InputAccess.h"
#include "ui/KeyMappingView.h"
#include "ui/PickerPopup.h"
#include "ui/PreferencesView.h"
#include "ui/ViewServices.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QSlider>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>

namespace orvane::test {
namespace {

// Counts what happens to one file name in a folder, through inotify: every process and thread
// that opens the file is seen, Orvane's own included. Opens are watched as well as closes,
// although only closes are counted: inotify folds an event into the one before it when both are
// the same, so back-to-back reads would otherwise count once.
class FileTraffic {
public:
    FileTraffic(const std::filesystem::path& folder, std::string name)
        : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), m_name(std::move(name))
    {
        if (m_fd >= 0)
            m_watch =
                ::inotify_add_watch(m_fd, folder.c_str(), IN_OPEN | IN_CLOSE_NOWRITE | IN_MOVED_TO);
    }
    FileTraffic(const FileTraffic&) = delete;
    FileTraffic& operator=(const FileTraffic&) = delete;
    ~FileTraffic()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool isWatching() const { return m_fd >= 0 && m_watch >= 0; }

    // Opens for reading (each ends in a close that wrote nothing) and renames into place, from
    // the start of the watch until this call, which ends it.
    struct Counts {
        int reads = 0;
        int replacements = 0;
    };
    Counts finish()
    {
        ::inotify_rm_watch(m_fd, m_watch);
        Counts counts;
        alignas(inotify_event) std::array<char, std::size_t{64} * 1024> buffer{};
        for (;;) {
            const ssize_t got = ::read(m_fd, buffer.data(), buffer.size());
            if (got <= 0)
                return counts;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
                if (event->len > 0 && m_name == event->name) {
                    counts.reads += (event->mask & IN_CLOSE_NOWRITE) != 0 ? 1 : 0;
                    counts.replacements += (event->mask & IN_MOVED_TO) != 0 ? 1 : 0;
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int m_fd;
    int m_watch = -1;
    std::string m_name;
};

class NoFavorites final : public model::FavoriteApps {
public:
    std::vector<std::string> dockAppPaths() const override { return {}; }
};

class NoApps final : public model::InstalledApps {
public:
    std::vector<model::InstalledApp> installedApps() const override { return {}; }
    std::optional<model::InstalledApp> describe(const std::string&) const override
    {
        return std::nullopt;
    }
};

class NoLayout final : public engine::KeyboardLayout {
public:
    std::optional<std::string> translate(std::uint16_t) const override { return std::nullopt; }
};

// The running program with its preferences window open and settled.
class SettingsTraffic : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(shell.preferences.instance().firstRun.set(false));
        shell.delegate().applicationDidFinishLaunching();
        watcher = shell.watchSettings();
        view = std::make_unique<ui::PreferencesView>(shell.preferences, services);
        view->resize(900, 700);
        view->show();
        QTest::qWait(400); // whatever the start-up wrote has been looked at
        traffic = std::make_unique<FileTraffic>(shell.settingsPath().parent_path(),
                                                shell.settingsPath().filename().string());
        ASSERT_TRUE(traffic->isWatching());
        surveys = 0;
        shell.journal.clear();
    }

    void TearDown() override
    {
        view.reset();
        watcher.reset();
    }

    // What the edit cost, once the watcher has had time to look at the change.
    FileTraffic::Counts settle()
    {
        QTest::qWait(500);
        const auto counts = traffic->finish();
        std::cout << "[ traffic  ] reads " << counts.reads << ", writes " << counts.replacements
                  << ", fn surveys " << surveys << '\n';
        return counts;
    }

    Shell shell;
    NoFavorites favorites;
    NoApps apps;
    NoLayout layout;
    int surveys = 0;
    const ui::ViewServices services{
        .launchAtLogin = shell.launchAtLogin,
        .favoriteApps = favorites,
        .installedApps = apps,
        .keyboardLayout = layout,
        .topRowKeys = model::defaultTopRowKeys(),
        .hasFnKey =
            [this] {
                ++surveys;
                return platform::surveyInputAccess().hasFnKey;
            },
        .desktop = "GNOME",
    };
    std::unique_ptr<app::SettingsWatcher> watcher;
    std::unique_ptr<ui::PreferencesView> view;
    std::unique_ptr<FileTraffic> traffic;
};

// Presses the slider's handle, moves it `steps` times to the right, each move a new value, and
// lets go: what a mouse drag does.
void dragSlider(QSlider& slider, int steps)
{
    const int handle = slider.style()->pixelMetric(QStyle::PM_SliderLength, nullptr, &slider);
    const int x = QStyle::sliderPositionFromValue(slider.minimum(), slider.maximum(),
                                                  slider.value(), slider.width() - handle) +
                  handle / 2;
    const QPoint start(x, slider.height() / 2);
    const auto send = [&slider](QEvent::Type type, QPoint at, Qt::MouseButton button,
                                Qt::MouseButtons held) {
        QMouseEvent event(type, at, slider.mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(&slider, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    for (int step = 1; step <= steps; ++step)
        send(QEvent::MouseMove, start + QPoint(step * 6, 0), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + QPoint(steps * 6, 0), Qt::LeftButton, Qt::NoButton);
}

TEST_F(SettingsTraffic, OneCellEditIsOneWrite)
{
    ui::LaunchTargetPicker* cell = view->table()->picker(0, ui::Column::shortPress);
    cell->openPopup();
    QTest::mouseClick(cell->popup()->keyRow(model::CustomKey::f5), Qt::LeftButton);
    const auto counts = settle();

    const model::LaunchTarget f5 = model::KeyTarget{model::CustomKey::f5};
    EXPECT_EQ(shell.preferences.instance().keyMapping.get()[0].shortPress, f5);
    ASSERT_FALSE(shell.monitor.mappings.empty());
    EXPECT_EQ(shell.monitor.mappings.back()[0].shortPress, f5);
    EXPECT_EQ(count(shell.journal, "monitor: setKeyMapping"), 1) << "the change reaches it once";
    EXPECT_EQ(counts.replacements, 1);
    // The table reads the mapping it changes, the store reads it again under its lock, the cell
    // shows what it holds; nobody reads back the write.
    EXPECT_LE(counts.reads, 3);
    EXPECT_EQ(surveys, 0) << "a write is no reason to look at the keyboards again";
}

TEST_F(SettingsTraffic, SliderDragWritesOnceWhenLetGo)
{
    QSlider& slider = *view->delaySlider();
    const QSignalSpy moves(&slider, &QSlider::valueChanged);
    const int before = slider.value();

    dragSlider(slider, 10);
    const auto counts = settle();

    ASSERT_EQ(moves.count(), 10) << "each move of the drag is a new value";
    const double stored = shell.preferences.instance().longPressDelay.get();
    EXPECT_EQ(stored, slider.value() / 1000.0);
    EXPECT_GT(slider.value(), before);
    EXPECT_EQ(shell.monitor.delays.back(), stored) << "the monitor follows the stored value";
    EXPECT_EQ(view->delayLabel()->text(), ui::PreferencesView::delayText(stored));
    EXPECT_EQ(counts.replacements, 1);
    EXPECT_EQ(counts.reads, 1) << "the store's own read under its lock, nothing more";
    EXPECT_EQ(surveys, 0);
}

} // namespace
} // namespace orvane::test
