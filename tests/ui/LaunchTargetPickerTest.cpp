// SPDX-License-Identifier: GPL-3.0-or-later
// The picker cell over a plain target: what choosing writes, what it never writes, the hover
// highlight, the application chooser, and the whole of it from the keyboard.
#include "UiWorld.h"

#include "ui/AddShortcutView.h"
#include "ui/ApplicationChooser.h"
#include "ui/LaunchTargetPicker.h"
#include "ui/PickerPopup.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace orvane;
using model::CustomKey;

namespace {

// One cell over one target, recording every write.
struct Cell {
    explicit Cell(model::LaunchTarget initial = model::KeyTarget{CustomKey::f1})
        : target(std::move(initial)),
          picker(ui::TargetBinding{[this] { return target; },
                                   [this](const model::LaunchTarget& value) {
                                       target = value;
                                       writes.push_back(value);
                                   }},
                 world.services)
    {
        picker.resize(200, 44);
        picker.show();
    }

    test::UiWorld world;
    model::LaunchTarget target;
    std::vector<model::LaunchTarget> writes;
    ui::LaunchTargetPicker picker;
};

bool isPlaceholder(const model::LaunchTarget& target)
{
    return target == ui::LaunchTargetPicker::appPlaceholder ||
           target == ui::LaunchTargetPicker::shortcutPlaceholder;
}

} // namespace

class LaunchTargetPickerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void clickingTheCellOpensThePopupWithAllRowsInCatalogueOrder()
    {
        Cell cell;
        QTest::mouseClick(&cell.picker, Qt::LeftButton);
        ui::PickerPopup* popup = cell.picker.popup();
        QVERIFY(popup != nullptr);
        QVERIFY(popup->isVisible());
        const auto& rows = popup->rows();
        QCOMPARE(rows.size(), std::size_t{2 + 38});
        QCOMPARE(rows[0]->value(), ui::LaunchTargetPicker::appPlaceholder);
        QCOMPARE(rows[1]->value(), ui::LaunchTargetPicker::shortcutPlaceholder);
        const auto catalogue = model::keyProps();
        for (std::size_t i = 0; i < catalogue.size(); ++i)
            QCOMPARE(rows[i + 2]->value(), test::keyTarget(catalogue[i].key));
        QCOMPARE(cell.picker.cursor().shape(), Qt::OpenHandCursor);
    }

    void choosingAKeyWritesItOnceAndClosesThePopup()
    {
        Cell cell;
        cell.picker.openPopup();
        QTest::mouseClick(cell.picker.popup()->keyRow(CustomKey::f5), Qt::LeftButton);
        QCOMPARE(cell.writes.size(), std::size_t{1});
        QCOMPARE(cell.target, test::keyTarget(CustomKey::f5));
        QVERIFY(cell.picker.popup() == nullptr);
        QCOMPARE(cell.picker.shownText(), QStringLiteral("key:f5"));
    }

    void theHighlightStaysOnTheLastRowTouchedAcrossOpenings()
    {
        Cell cell;
        cell.picker.openPopup();
        ui::PickerRow* f5 = cell.picker.popup()->keyRow(CustomKey::f5);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(f5, &enter);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(f5, &leave);
        QVERIFY(f5->isHighlighted());
        QCOMPARE(*cell.picker.hoverKey(), test::keyTarget(CustomKey::f5));
        cell.picker.closePopup();
        cell.picker.openPopup();
        QVERIFY(cell.picker.popup()->keyRow(CustomKey::f5)->isHighlighted());
        QVERIFY(!cell.picker.popup()->keyRow(CustomKey::f6)->isHighlighted());
        QVERIFY(cell.writes.empty());
    }

    void placeholdersNeverReachTheTarget()
    {
        // Every way through the two option rows that does not end in a real choice.
        Cell cell;
        cell.picker.setAppChooser([](QWidget*) { return std::nullopt; });
        cell.picker.openPopup();
        for (ui::PickerRow* row :
             {cell.picker.popup()->rows()[0], cell.picker.popup()->rows()[1]}) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
            QCoreApplication::sendEvent(row, &enter);
            QVERIFY(row->isHighlighted());
        }
        cell.picker.popup()->rows()[1]->activate();
        QVERIFY(cell.picker.shortcutEditor() != nullptr);
        QTest::mouseClick(cell.picker.shortcutEditor()->cancelButton(), Qt::LeftButton);
        QVERIFY(cell.picker.shortcutEditor() == nullptr);
        QVERIFY2(cell.picker.popup() != nullptr, "the popup stays open behind the sheet");
        cell.picker.popup()->rows()[0]->activate(); // chooser cancelled
        QVERIFY(cell.picker.popup() == nullptr);
        QVERIFY(cell.writes.empty());
        QCOMPARE(cell.target, test::keyTarget(CustomKey::f1));
        for (const auto& written : cell.writes)
            QVERIFY(!isPlaceholder(written));
    }

    void aChosenApplicationIsWrittenAndShownByItsDesktopName()
    {
        Cell cell;
        const std::string path = "/usr/share/applications/firefox-esr.desktop";
        QWidget* askedWith = nullptr;
        cell.picker.setAppChooser([&](QWidget* parent) {
            askedWith = parent;
            return std::optional(path);
        });
        cell.picker.openPopup();
        cell.picker.popup()->rows()[0]->activate();
        QCOMPARE(cell.writes.size(), std::size_t{1});
        QCOMPARE(cell.target, model::LaunchTarget{model::AppTarget{path}});
        QVERIFY(askedWith != nullptr);
        QVERIFY(cell.picker.popup() == nullptr);
        QCOMPARE(cell.picker.shownText(), QStringLiteral("app:Firefox ESR"));
    }

    void anApplicationTheDesktopDoesNotKnowShowsItsFileName()
    {
        Cell cell(model::AppTarget{"/opt/tools/Some Tool.desktop"});
        QCOMPARE(cell.picker.shownText(), QStringLiteral("app:Some Tool.desktop"));
    }

    void aShortcutShowsItsKeysInLinuxWordsAndItsDescription()
    {
        Cell cell(model::ShortcutTarget{
            model::Shortcut{
                {21}, model::modifier::control | model::modifier::shift | model::modifier::command},
            "Take a screenshot"});
        QCOMPARE(cell.picker.shownText(), QStringLiteral("shortcut:Ctrl+Shift+Super+4"));
    }

    void aScreenReaderHearsWhatTheCellDoesInWords()
    {
        struct Case {
            model::LaunchTarget target;
            QString spoken;
        };
        const Case cases[] = {
            {model::KeyTarget{CustomKey::f5}, QStringLiteral("F5")},
            {model::KeyTarget{CustomKey::brightnessDown}, QStringLiteral("Brightness Down")},
            {model::AppTarget{"/usr/share/applications/firefox-esr.desktop"},
             QStringLiteral("Open Firefox ESR")},
            {model::ShortcutTarget{model::Shortcut{{37}, model::modifier::command}, "Lock screen"},
             QStringLiteral("Shortcut Super+L, Lock screen")},
            {model::ShortcutTarget{model::Shortcut{{37}, model::modifier::command}, ""},
             QStringLiteral("Shortcut Super+L")},
        };
        for (const Case& c : cases) {
            Cell cell(c.target);
            QCOMPARE(cell.picker.accessibleName(), c.spoken);
            QVERIFY(!cell.picker.accessibleName().contains(QLatin1Char(':')));
        }
    }

    void theWholeCellWorksFromTheKeyboard()
    {
        Cell cell(model::KeyTarget{CustomKey::f3});
        cell.picker.setFocus();
        QTest::keyClick(&cell.picker, Qt::Key_Space);
        ui::PickerPopup* popup = cell.picker.popup();
        QVERIFY(popup != nullptr);
        // The popup opens on the current key; arrows move the highlight along the catalogue.
        QVERIFY(popup->keyRow(CustomKey::f3)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QVERIFY(popup->keyRow(CustomKey::f4)->hasFocus());
        QCOMPARE(*cell.picker.hoverKey(), test::keyTarget(CustomKey::f4));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(cell.target, test::keyTarget(CustomKey::f4));
        QVERIFY(cell.picker.popup() == nullptr);

        // Escape closes the popup and changes nothing.
        QTest::keyClick(&cell.picker, Qt::Key_Enter);
        QVERIFY(cell.picker.popup() != nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(cell.picker.popup() == nullptr);
        QCOMPARE(cell.writes.size(), std::size_t{1});
        // A popup that closed itself opens again.
        QTest::keyClick(&cell.picker, Qt::Key_Space);
        QVERIFY(cell.picker.popup() != nullptr);
    }

    void theApplicationListFiltersAndChoosesByName()
    {
        test::FakeInstalledApps apps;
        ui::ApplicationChooser chooser(apps);
        QCOMPARE(chooser.list()->count(), 3);
        QCOMPARE(chooser.list()->item(0)->text(), QStringLiteral("Files")); // sorted by name
        QTest::keyClicks(chooser.searchField(), "fire");
        int shown = 0;
        for (int i = 0; i < chooser.list()->count(); ++i)
            shown += chooser.list()->item(i)->isHidden() ? 0 : 1;
        QCOMPARE(shown, 1);
        QTest::keyClick(chooser.searchField(), Qt::Key_Return);
        QCOMPARE(chooser.chosenPath(),
                 std::optional<std::string>("/usr/share/applications/firefox-esr.desktop"));
    }

    void anEmptySearchResultChoosesNothing()
    {
        test::FakeInstalledApps apps;
        ui::ApplicationChooser chooser(apps);
        QTest::keyClicks(chooser.searchField(), "no such app");
        QTest::keyClick(chooser.searchField(), Qt::Key_Return);
        QVERIFY(!chooser.chosenPath());
    }
};

ORVANE_UI_TEST_MAIN(LaunchTargetPickerTest)
#include "LaunchTargetPickerTest.moc"
