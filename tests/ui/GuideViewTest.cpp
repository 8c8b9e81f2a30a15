// SPDX-License-Identifier: GPL-3.0-or-later
// The first-run guide: nothing is written until a tile is clicked, each preset is built from the
// default mapping and written once, and a tile discards earlier edits.
#include "UiWorld.h"

#include "ui/GuideView.h"
#include "ui/KeyMappingView.h"
#include "ui/LaunchTargetPicker.h"
#include "ui/ModeSelector.h"
#include "ui/PickerPopup.h"

#include <QPushButton>
#include <QSignalSpy>

using namespace orvane;
using model::CustomKey;

namespace {

const std::vector<std::string> finderAndTwo{"/apps/files.desktop", "/apps/mail.desktop",
                                            "/apps/web.desktop"};

model::LaunchTarget shortcut(std::int64_t key, std::uint64_t modifiers, const char* description)
{
    return model::ShortcutTarget{model::Shortcut{{key}, modifiers}, description};
}

} // namespace

class GuideViewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void openingHighlightsAppsAndWritesNothing()
    {
        test::UiWorld world(finderAndTwo);
        ui::GuideView guide(world.preferences, world.services);
        guide.show();
        QCOMPARE(guide.modes()->selected(), 0);
        QCOMPARE(guide.modes()->count(), 3);
        QVERIFY(!world.hasStoredMapping());
        QCOMPARE(guide.modes()->tile(0)->cursor().shape(), Qt::OpenHandCursor);
    }

    void theFunctionKeyPresetLongPressesF1ToF12()
    {
        test::UiWorld world(finderAndTwo);
        ui::GuideView guide(world.preferences, world.services);
        test::WriteCounter<model::KeyMapping> writes(world.preferences.instance().keyMapping);
        QTest::mouseClick(guide.modes()->tile(1), Qt::LeftButton);
        QCOMPARE(guide.modes()->selected(), 1);
        QCOMPARE(writes.values.size(), std::size_t{1});
        const auto stored = world.stored();
        QCOMPARE(stored.size(), std::size_t{12});
        for (std::size_t i = 0; i < 12; ++i) {
            QCOMPARE(stored[i].shortPress, test::keyTarget(model::defaultTopRowKeys()[i]));
            QCOMPARE(stored[i].longPress, test::keyTarget(model::functionKeys()[i]));
            QCOMPARE(stored[i].fn, test::keyTarget(model::functionKeys()[i]));
        }
    }

    void theHotkeyPresetUsesTheDesktopsOwnShortcuts()
    {
        namespace m = model::modifier;
        struct Case {
            const char* desktop;
            model::LaunchTarget f1;
            model::LaunchTarget f4;
        };
        const Case cases[] = {
            {"ubuntu:GNOME", shortcut(109, m::option, "Toggle maximized"),
             shortcut(122, m::option, "Show or hide the Activities overview")},
            {"KDE", shortcut(116, m::command, "Toggle maximized"),
             shortcut(122, m::option, "Show or hide the application launcher")},
        };
        for (const Case& c : cases) {
            test::UiWorld world(finderAndTwo);
            world.services.desktop = c.desktop;
            ui::GuideView guide(world.preferences, world.services);
            test::WriteCounter<model::KeyMapping> writes(world.preferences.instance().keyMapping);
            QTest::mouseClick(guide.modes()->tile(2), Qt::LeftButton);
            QTest::mouseClick(guide.modes()->tile(2), Qt::LeftButton);
            QCOMPARE(writes.values.size(), std::size_t{2}); // twice clicked, twice written
            QCOMPARE(writes.values[0].size(), writes.values[1].size());
            const auto stored = world.stored();
            QCOMPARE(stored[0].longPress, c.f1);
            // No default binding takes a screenshot without the Print key: F2 keeps its default.
            QCOMPARE(stored[1].longPress, world.defaultMapping[1].longPress);
            QCOMPARE(stored[2].longPress, shortcut(37, m::command, "Lock screen"));
            QCOMPARE(stored[3].longPress, c.f4);
            for (std::size_t i = 4; i < 12; ++i)
                QCOMPARE(stored[i].longPress, world.defaultMapping[i].longPress);
            QCOMPARE(stored[0].shortPress, world.defaultMapping[0].shortPress);
        }
    }

    void theAppsPresetReadsTheFavouritesAgain()
    {
        test::UiWorld world(finderAndTwo);
        ui::GuideView guide(world.preferences, world.services);
        QTest::mouseClick(guide.modes()->tile(1), Qt::LeftButton);
        QTest::mouseClick(guide.modes()->tile(0), Qt::LeftButton);
        auto stored = world.stored();
        for (std::size_t i = 0; i < 12; ++i)
            QCOMPARE(stored[i].longPress,
                     i < 3 ? model::LaunchTarget{model::AppTarget{finderAndTwo[i]}}
                           : test::keyTarget(model::functionKeys()[i]));
        world.favorites.paths.emplace_back("/apps/new.desktop"); // the dock changed since
        QTest::mouseClick(guide.modes()->tile(0), Qt::LeftButton);
        QCOMPARE(world.stored()[3].longPress,
                 model::LaunchTarget{model::AppTarget{"/apps/new.desktop"}});
    }

    void aTileDiscardsEarlierEditsInTheTable()
    {
        test::UiWorld world(finderAndTwo);
        ui::GuideView guide(world.preferences, world.services);
        ui::LaunchTargetPicker* cell = guide.table()->picker(7, ui::Column::shortPress);
        cell->openPopup();
        cell->popup()->keyRow(CustomKey::launchpad)->activate();
        QCOMPARE(world.stored()[7].shortPress, test::keyTarget(CustomKey::launchpad));
        QTest::mouseClick(guide.modes()->tile(1), Qt::LeftButton);
        QCOMPARE(world.stored()[7].shortPress, world.defaultMapping[7].shortPress);
        QCOMPARE(cell->shownText(), QStringLiteral("key:play"));
    }

    void tilesWorkFromTheKeyboard()
    {
        test::UiWorld world(finderAndTwo);
        ui::GuideView guide(world.preferences, world.services);
        guide.show();
        guide.modes()->tile(2)->setFocus();
        QTest::keyClick(guide.modes()->tile(2), Qt::Key_Space);
        QCOMPARE(guide.modes()->selected(), 2);
        QVERIFY(world.hasStoredMapping());
    }

    void finishAsksTheWindowToCloseAndChangesNothing()
    {
        test::UiWorld world(finderAndTwo);
        ui::GuideView guide(world.preferences, world.services);
        QSignalSpy finished(&guide, &ui::GuideView::finished);
        QTest::mouseClick(guide.finishButton(), Qt::LeftButton);
        QCOMPARE(finished.count(), 1);
        QVERIFY(!world.hasStoredMapping());
    }

    void enterFinishesUnlessACellTakesIt()
    {
        struct Case {
            const char* name;
            int key;
            bool onCell; // else on a tile
            int finishes;
        };
        const Case cases[] = {
            {"Return on a tile", Qt::Key_Return, false, 1},
            {"keypad Enter on a tile", Qt::Key_Enter, false, 1},
            {"Return on a cell opens its picker", Qt::Key_Return, true, 0},
        };
        for (const Case& c : cases) {
            test::UiWorld world(finderAndTwo);
            ui::GuideView guide(world.preferences, world.services);
            guide.show();
            QSignalSpy finished(&guide, &ui::GuideView::finished);
            ui::LaunchTargetPicker* cell = guide.table()->picker(0, ui::Column::shortPress);
            QWidget* focus = c.onCell ? static_cast<QWidget*>(cell) : guide.modes()->tile(1);
            focus->setFocus();
            QTest::keyClick(focus, static_cast<Qt::Key>(c.key),
                            c.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            QVERIFY2(finished.count() == c.finishes, c.name);
            QVERIFY2((cell->popup() != nullptr) == c.onCell, c.name);
            QVERIFY2(!world.hasStoredMapping(), c.name);
            if (cell->popup() != nullptr)
                cell->closePopup();
        }
    }
};

ORVANE_UI_TEST_MAIN(GuideViewTest)
#include "GuideViewTest.moc"
