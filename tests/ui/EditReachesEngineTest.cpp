// SPDX-License-Identifier: GPL-3.0-or-later
// An edit made in the table reaches the keyboard: it is stored in the real settings file and
// published, and the engine built from it (monitor and executors, as the running program and
// `orvanectl replay` build them) does the new thing on the very next key press.
#include "UiWorld.h"

#include "support/Fakes.h"

#include "engine/KeyboardMonitor.h"
#include "engine/TaskQueue.h"
#include "platform/linux/desktop/SettingsFile.h"
#include "ui/AddShortcutView.h"
#include "ui/KeyMappingView.h"
#include "ui/PickerPopup.h"

#include <QPushButton>
#include <QTemporaryDir>

using namespace orvane;
using model::CustomKey;

namespace {

// The engine as the program runs it: a monitor whose executors post into a recorder.
struct Engine {
    explicit Engine(const model::KeyMapping& mapping, double delay)
        : monitor(clock, model::defaultTopRowKeys())
    {
        apply(mapping);
        monitor.setLongPressDelay(delay);
    }

    void apply(const model::KeyMapping& mapping)
    {
        monitor.setExecutors(mapping, engine::ExecutorContext{queue, poster, workspace});
    }

    // Presses and releases a key with virtual code `code`, held for `seconds`; a hold longer
    // than the delay repeats once before the release, as a keyboard's auto-repeat does.
    void tap(std::int64_t code, double seconds)
    {
        struct Step {
            std::uint32_t type;
            std::int64_t autorepeat;
            double at;
        };
        std::vector<Step> steps{{engine::eventType::keyDown, 0, 0.0}};
        if (seconds > std::chrono::duration<double>(monitor.longPressDelay()).count())
            steps.push_back({engine::eventType::keyDown, 1, seconds - 0.01});
        steps.push_back({engine::eventType::keyUp, 0, seconds});
        for (const Step& step : steps) {
            clock.setSeconds(start + step.at);
            engine::KeyEvent event;
            event.type = step.type;
            event.autorepeat = step.autorepeat;
            event.keyCode = code;
            QCOMPARE(monitor.handleEvent(event), engine::Verdict::swallow);
            queue.drain();
        }
        start += seconds + 1;
    }

    // (type, code) of the events posted so far, then forgets them.
    std::vector<std::pair<std::uint32_t, std::int64_t>> takePosted()
    {
        std::vector<std::pair<std::uint32_t, std::int64_t>> seen;
        for (const auto& event : poster.posted) {
            if (event.userData != engine::postedEventMarker)
                return {}; // unmarked: would loop through the monitor again
            seen.emplace_back(event.type, event.keyCode);
        }
        poster.posted.clear();
        return seen;
    }

    test::FakeClock clock;
    engine::TaskQueue queue;
    test::RecordingPoster poster;
    test::FakeWorkspace workspace;
    engine::KeyboardMonitor monitor;
    double start = 0;
};

using Posted = std::vector<std::pair<std::uint32_t, std::int64_t>>;
constexpr std::uint32_t down = engine::eventType::keyDown;
constexpr std::uint32_t up = engine::eventType::keyUp;

} // namespace

class EditReachesEngineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aCellEditChangesTheNextKeyPress()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const std::filesystem::path file = folder.filePath("orvane/settings.json").toStdString();
        const auto defaults = model::defaultKeyMapping(model::defaultTopRowKeys(), {});

        platform::SettingsFile store(file);
        model::ObservablePreferences preferences(store, defaults);
        test::UiWorld world; // services only; the settings are the file's
        ui::KeyMappingView table(preferences, world.services);

        // The running program: built from the stored settings, following every published change.
        Engine running(preferences.instance().keyMapping.get(), 0.2);
        const auto follow = preferences.instance().keyMapping.publisher().subscribe(
            [&](const model::KeyMapping& mapping) { running.apply(mapping); });
        running.tap(122, 0.05); // F1, short: brightness down is a system-defined event
        QCOMPARE(running.takePosted().size(), std::size_t{2});

        // F1's short press becomes F5; F3's long press becomes Super+L.
        ui::LaunchTargetPicker* f1 = table.picker(0, ui::Column::shortPress);
        f1->openPopup();
        QTest::mouseClick(f1->popup()->keyRow(CustomKey::f5), Qt::LeftButton);
        ui::LaunchTargetPicker* f3 = table.picker(2, ui::Column::longPress);
        f3->openPopup();
        f3->popup()->rows()[1]->activate();
        QTest::mouseClick(f3->shortcutEditor()->addButton(), Qt::LeftButton);

        running.tap(122, 0.05);
        QCOMPARE(running.takePosted(), (Posted{{down, 96}, {up, 96}}));
        running.tap(99, 0.5); // F3 held past the delay
        const Posted seen = running.takePosted();
        QVERIFY2(std::find(seen.begin(), seen.end(), std::pair{down, std::int64_t{37}}) !=
                     seen.end(),
                 "the long press sends L");

        // A program started afterwards reads the same from the file.
        platform::SettingsFile reread(file);
        model::Preferences stored(reread, defaults);
        Engine fresh(stored.keyMapping.get(), stored.longPressDelay.get());
        fresh.tap(122, 0.05);
        QCOMPARE(fresh.takePosted(), (Posted{{down, 96}, {up, 96}}));
        fresh.tap(99, 0.5);
        QCOMPARE(fresh.takePosted(), seen);
    }
};

ORVANE_UI_TEST_MAIN(EditReachesEngineTest)
#include "EditReachesEngineTest.moc"
