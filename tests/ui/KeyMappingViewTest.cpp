// SPDX-License-Identifier: GPL-3.0-or-later
// The key mapping table over the settings store: rows, write-through of one cell, the three
// column fills with their entry-by-entry writes, and lists of unusual length.
#include "UiWorld.h"

#include "ui/KeyMappingColumnEditor.h"
#include "ui/KeyMappingView.h"
#include "ui/PickerPopup.h"

#include <QMenu>
#include <QToolButton>

using namespace orvane;
using model::CustomKey;
using ui::Column;

namespace {

// The file manager and three favourites.
const std::vector<std::string> threeApps{"/apps/files.desktop", "/apps/mail.desktop",
                                         "/apps/web.desktop", "/apps/music.desktop"};

model::KeyMapping mappingOf(std::size_t entries)
{
    model::KeyMapping mapping;
    for (std::size_t i = 0; i < entries; ++i) {
        // Entries past the twelfth carry a key no fill writes.
        const CustomKey key = i < 12 ? model::functionKeys()[i] : CustomKey::f20;
        mapping.push_back({model::KeyTarget{key}, model::KeyTarget{key}, model::KeyTarget{key}});
    }
    return mapping;
}

} // namespace

class KeyMappingViewTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twelveRowsFromF1ToF12ShowTheStoredTargets()
    {
        test::UiWorld world;
        ui::KeyMappingView table(world.preferences, world.services);
        QCOMPARE(table.rowCount(), 12);
        QVERIFY(table.picker(12, Column::fn) == nullptr);
        const auto mapping = world.stored();
        QCOMPARE(table.picker(0, Column::shortPress)->shownText(),
                 QStringLiteral("key:brightnessDown"));
        QCOMPARE(table.picker(11, Column::fn)->shownText(), QStringLiteral("key:f12"));
        QVERIFY(!world.hasStoredMapping()); // showing writes nothing
    }

    void editingOneCellRewritesTheWholeListOnce()
    {
        test::UiWorld world;
        ui::KeyMappingView table(world.preferences, world.services);
        test::WriteCounter<model::KeyMapping> writes(world.preferences.instance().keyMapping);
        ui::LaunchTargetPicker* cell = table.picker(4, Column::longPress);
        cell->openPopup();
        cell->popup()->keyRow(CustomKey::play)->activate();
        QCOMPARE(writes.values.size(), std::size_t{1});
        auto expected = world.defaultMapping;
        expected[4].longPress = model::KeyTarget{CustomKey::play};
        QCOMPARE(world.stored().size(), std::size_t{12});
        for (std::size_t i = 0; i < 12; ++i) {
            QCOMPARE(world.stored()[i].shortPress, expected[i].shortPress);
            QCOMPARE(world.stored()[i].longPress, expected[i].longPress);
            QCOMPARE(world.stored()[i].fn, expected[i].fn);
        }
        QCOMPARE(cell->shownText(), QStringLiteral("key:play"));
    }

    void aChangeMadeElsewhereShowsAtOnce()
    {
        test::UiWorld world;
        ui::KeyMappingView table(world.preferences, world.services);
        auto mapping = world.stored();
        mapping[2].fn = model::KeyTarget{CustomKey::launchpad};
        world.preferences.instance().keyMapping.set(mapping);
        QCOMPARE(table.picker(2, Column::fn)->shownText(), QStringLiteral("key:launchpad"));
    }

    void keyFillsWriteEveryEntrySeparatelyAndTouchOnlyTheirColumn()
    {
        struct Case {
            const char* name;
            Column column;
            bool special;
        };
        for (const Case& c : {Case{"special keys, short press", Column::shortPress, true},
                              Case{"function keys, fn", Column::fn, false},
                              Case{"function keys, long press", Column::longPress, false}}) {
            test::UiWorld world(threeApps);
            auto before = world.stored();
            for (auto& config : before) // every column different from what the fill writes
                config.shortPress = config.longPress = config.fn = model::KeyTarget{CustomKey::f20};
            world.preferences.instance().keyMapping.set(before);
            ui::KeyMappingView table(world.preferences, world.services);
            test::WriteCounter<model::KeyMapping> writes(world.preferences.instance().keyMapping);
            auto* editor = table.columnEditor(c.column);
            c.special ? editor->fillWithSpecialKeys() : editor->fillWithFunctionKeys();
            QVERIFY2(writes.values.size() == 12, c.name);
            const auto& keys = c.special ? model::defaultTopRowKeys() : model::functionKeys();
            const auto after = world.stored();
            for (std::size_t i = 0; i < 12; ++i) {
                for (Column other : {Column::shortPress, Column::longPress, Column::fn}) {
                    const auto expected = other == c.column ? test::keyTarget(keys[i])
                                                            : ui::targetAt(before[i], other);
                    QVERIFY2(ui::targetAt(after[i], other) == expected, c.name);
                }
                // The k-th write changed entry k only.
                QVERIFY2(ui::targetAt(writes.values[i][i], c.column) == test::keyTarget(keys[i]),
                         c.name);
                if (i + 1 < 12)
                    QVERIFY2(ui::targetAt(writes.values[i][i + 1], c.column) ==
                                 test::keyTarget(CustomKey::f20),
                             c.name);
            }
        }
    }

    void theSpecialKeysFillUsesTheKeyboardsOwnTopRow()
    {
        test::UiWorld world;
        world.services.topRowKeys[6] = CustomKey::previous;
        ui::KeyMappingView table(world.preferences, world.services);
        table.columnEditor(Column::shortPress)->fillWithSpecialKeys();
        QCOMPARE(world.stored()[0].shortPress, test::keyTarget(CustomKey::brightnessDown));
        QCOMPARE(world.stored()[6].shortPress, test::keyTarget(CustomKey::previous));
        QCOMPARE(world.stored()[11].shortPress, test::keyTarget(CustomKey::soundUp));
    }

    void appsFillTakesTheFavouritesReadNowAndLeavesTheRest()
    {
        test::UiWorld world;
        ui::KeyMappingView table(world.preferences, world.services);
        world.favorites.paths = threeApps; // the file manager and three favourites, added later
        test::WriteCounter<model::KeyMapping> writes(world.preferences.instance().keyMapping);
        table.columnEditor(Column::fn)->fillWithApps();
        QCOMPARE(writes.values.size(), std::size_t{4});
        const auto after = world.stored();
        for (std::size_t i = 0; i < 12; ++i)
            QCOMPARE(after[i].fn, i < 4 ? model::LaunchTarget{model::AppTarget{threeApps[i]}}
                                        : world.defaultMapping[i].fn);
        QCOMPARE(table.picker(0, Column::fn)->shownText(), QStringLiteral("app:files.desktop"));
    }

    void appsFillWithoutFavouritesChangesNothing()
    {
        test::UiWorld world;
        ui::KeyMappingView table(world.preferences, world.services);
        table.columnEditor(Column::longPress)->fillWithApps();
        QVERIFY(!world.hasStoredMapping());
    }

    void theColumnMenuOffersTheThreeFills()
    {
        test::UiWorld world;
        ui::KeyMappingView table(world.preferences, world.services);
        QMenu* menu = table.columnEditor(Column::shortPress)->menu();
        QStringList items;
        for (QAction* action : menu->actions())
            items << action->text();
        QCOMPARE(items, (QStringList{"Apps", "Special keys", "F1, F2, etc."}));
        QCOMPARE(table.columnEditor(Column::shortPress)->text(), QStringLiteral("Set all to..."));
        QVERIFY(table.columnEditor(Column::shortPress)->maximumWidth() <= 100);
    }

    void aShortListShowsItsRowsAndAnyLongerListKeepsItsTail()
    {
        test::UiWorld world;
        world.preferences.instance().keyMapping.set(mappingOf(5));
        ui::KeyMappingView table(world.preferences, world.services);
        QCOMPARE(table.rowCount(), 5);
        table.columnEditor(Column::fn)->fillWithSpecialKeys();
        QCOMPARE(world.stored().size(), std::size_t{5});

        world.preferences.instance().keyMapping.set(mappingOf(14));
        QTRY_COMPARE(table.rowCount(), 12);
        table.picker(0, Column::shortPress)->openPopup();
        table.picker(0, Column::shortPress)->popup()->keyRow(CustomKey::dictation)->activate();
        table.columnEditor(Column::longPress)->fillWithFunctionKeys();
        const auto after = world.stored();
        QCOMPARE(after.size(), std::size_t{14});
        QCOMPARE(after[0].shortPress, test::keyTarget(CustomKey::dictation));
        // Entries past the twelfth are neither dropped nor filled past the key lists' end.
        QCOMPARE(after[12].longPress, test::keyTarget(CustomKey::f20));
        QCOMPARE(after[13].shortPress, test::keyTarget(CustomKey::f20));
    }

    void tabWalksTheCellsRowByRow()
    {
        test::UiWorld world;
        ui::KeyMappingView table(world.preferences, world.services);
        table.show();
        table.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&table));
        table.picker(0, Column::shortPress)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), table.picker(0, Column::longPress));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), table.picker(1, Column::shortPress));
    }
};

ORVANE_UI_TEST_MAIN(KeyMappingViewTest)
#include "KeyMappingViewTest.moc"
