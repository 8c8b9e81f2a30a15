// SPDX-License-Identifier: GPL-3.0-or-later
// The preferences: the two switches, the delay slider's bounds and text, and the fn note.
#include "UiWorld.h"

#include "ui/KeyMappingView.h"
#include "ui/PreferencesView.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>

using namespace orvane;

class PreferencesViewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theSliderSpansExactlyTheDelayRangeAndWritesEveryValue()
    {
        test::UiWorld world;
        ui::PreferencesView view(world.preferences, world.services);
        test::WriteCounter<double> writes(world.preferences.instance().longPressDelay);
        QSlider* slider = view.delaySlider();
        QCOMPARE(slider->minimumWidth(), 250);
        QCOMPARE(slider->maximumWidth(), 250);
        slider->setValue(slider->minimum());
        QCOMPARE(world.preferences.instance().longPressDelay.get(), 0.05);
        QCOMPARE(view.delayLabel()->text(), QStringLiteral("0.1 s"));
        slider->setValue(slider->maximum());
        QCOMPARE(world.preferences.instance().longPressDelay.get(), 2.0);
        QCOMPARE(view.delayLabel()->text(), QStringLiteral("2.0 s"));
        slider->setValue(slider->maximum() + 500); // no further than 2.0
        slider->setValue(slider->minimum() - 500); // no lower than 0.05
        QCOMPARE(world.preferences.instance().longPressDelay.get(), 0.05);
        // Dragging writes each intermediate value.
        QTest::keyClick(slider, Qt::Key_Right);
        QTest::keyClick(slider, Qt::Key_Right);
        QCOMPARE(writes.values, (std::vector<double>{0.05, 2.0, 0.05, 0.06, 0.07}));
    }

    void theDelayTextReadsTheStoredValue()
    {
        struct Case {
            double stored;
            const char* text;
        };
        for (const Case& c :
             {Case{0.2, "0.2 s"}, Case{0.35, "0.3 s"}, Case{1.25, "1.2 s"}, Case{3.0, "3.0 s"}}) {
            test::UiWorld world;
            world.preferences.instance().longPressDelay.set(c.stored);
            ui::PreferencesView view(world.preferences, world.services);
            QCOMPARE(view.delayLabel()->text(), QString::fromLatin1(c.text));
            // A value outside the slider's range is shown, never rewritten by the slider.
            QCOMPARE(world.preferences.instance().longPressDelay.get(), c.stored);
        }
        QCOMPARE(ui::PreferencesView::delayText(0.05), QStringLiteral("0.1 s"));
    }

    void theSwitchesWriteThroughAndReadTheLoginItemsAfresh()
    {
        test::UiWorld world;
        ui::PreferencesView view(world.preferences, world.services);
        QVERIFY(!view.launchAtLoginSwitch()->isChecked());
        QVERIFY(view.menuBarIconSwitch()->isChecked());
        QTest::mouseClick(view.launchAtLoginSwitch(), Qt::LeftButton);
        QCOMPARE(world.loginItems.requests, std::vector<bool>{true});
        QTest::mouseClick(view.menuBarIconSwitch(), Qt::LeftButton);
        QCOMPARE(world.store.entries.at("showMenuBarIcon"), std::string("false"));

        // Changed outside Orvane: shown the next time the view is drawn.
        world.loginItems.enabled = false;
        view.refresh();
        QVERIFY(!view.launchAtLoginSwitch()->isChecked());

        // Refused by the system: the switch shows what really holds.
        world.loginItems.refuse = true;
        QTest::mouseClick(view.launchAtLoginSwitch(), Qt::LeftButton);
        QVERIFY(!view.launchAtLoginSwitch()->isChecked());
    }

    void theFnNoteShowsOnlyWithoutAKeyboardThatReportsFn()
    {
        for (const bool hasFn : {true, false}) {
            test::UiWorld world;
            world.hasFn = hasFn;
            ui::PreferencesView view(world.preferences, world.services);
            view.show();
            QCOMPARE(view.fnNote()->isVisible(), !hasFn);
            QVERIFY(view.fnNote()->text().contains("Fn + Key"));
        }
    }

    void aDragShowsEveryValueAndWritesOnceWhenLetGo()
    {
        test::UiWorld world;
        ui::PreferencesView view(world.preferences, world.services);
        test::WriteCounter<double> writes(world.preferences.instance().longPressDelay);
        QSlider* slider = view.delaySlider();
        slider->setSliderDown(true); // as a press on the handle does
        for (const int value : {300, 450, 1250}) {
            slider->setSliderPosition(value);
            QCOMPARE(view.delayLabel()->text(), ui::PreferencesView::delayText(value / 1000.0));
        }
        QVERIFY(writes.values.empty());
        slider->setSliderDown(false);
        QCOMPARE(writes.values, std::vector<double>{1.25});
        QCOMPARE(world.preferences.instance().longPressDelay.get(), 1.25);

        // Pressed and let go without moving: nothing to store.
        slider->setSliderDown(true);
        slider->setSliderDown(false);
        QCOMPARE(writes.values.size(), std::size_t{1});
    }

    void theKeyboardsAreSurveyedWhenShownNotOnWrites()
    {
        test::UiWorld world;
        ui::PreferencesView view(world.preferences, world.services);
        view.show();
        QCOMPARE(world.fnSurveys, 1);
        auto& settings = world.preferences.instance();
        settings.longPressDelay.set(0.5);
        settings.showMenuBarIcon.set(false);
        settings.keyMapping.set(world.defaultMapping);
        QTest::mouseClick(view.launchAtLoginSwitch(), Qt::LeftButton);
        QCOMPARE(world.fnSurveys, 1);
        QCOMPARE(view.delayLabel()->text(), QStringLiteral("0.5 s"));
        QVERIFY(!view.menuBarIconSwitch()->isChecked());
        view.hide();
        view.show();
        QCOMPARE(world.fnSurveys, 2);
    }

    void theTableIsTheStoredMapping()
    {
        test::UiWorld world;
        ui::PreferencesView view(world.preferences, world.services);
        QCOMPARE(view.table()->rowCount(), 12);
        QVERIFY(view.table()->minimumHeight() >= 400);
    }
};

ORVANE_UI_TEST_MAIN(PreferencesViewTest)
#include "PreferencesViewTest.moc"
