// SPDX-License-Identifier: GPL-3.0-or-later
// The shortcut editor as a sheet over the picker: it starts from its preset every time, "Add
// Shortcut" writes exactly what the controls show, "Cancel" writes nothing.
#include "UiWorld.h"

#include "ui/AddShortcutView.h"
#include "ui/LaunchTargetPicker.h"
#include "ui/ShortcutPresets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

using namespace orvane;
namespace m = model::modifier;

namespace {

struct Sheet {
    Sheet()
        : picker(ui::TargetBinding{[this] { return target; },
                                   [this](const model::LaunchTarget& value) {
                                       target = value;
                                       writes.push_back(value);
                                   }},
                 world.services)
    {
        picker.show();
    }

    ui::AddShortcutView* open()
    {
        if (!picker.popup())
            picker.openPopup();
        picker.popup()->rows()[1]->activate();
        return picker.shortcutEditor();
    }

    test::UiWorld world;
    model::LaunchTarget target = model::KeyTarget{model::CustomKey::f2};
    std::vector<model::LaunchTarget> writes;
    ui::LaunchTargetPicker picker;
};

} // namespace

class ShortcutEditorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addShortcutAtOnceStoresThePreset()
    {
        Sheet sheet;
        ui::AddShortcutView* editor = sheet.open();
        QVERIFY(editor != nullptr);
        QTest::mouseClick(editor->addButton(), Qt::LeftButton);
        QCOMPARE(sheet.writes.size(), std::size_t{1});
        QCOMPARE(sheet.target, model::LaunchTarget{ui::editorStartingShortcut()});
        // Super+L, "Lock screen": the same default on GNOME and Plasma.
        const auto& written = std::get<model::ShortcutTarget>(sheet.target);
        QCOMPARE(written.shortcut.key.rawValue, std::int64_t{37});
        QCOMPARE(written.shortcut.modifiers, m::command);
        QCOMPARE(written.description, std::string("Lock screen"));
        QVERIFY(sheet.picker.shortcutEditor() == nullptr);
        QVERIFY2(sheet.picker.popup() != nullptr, "the popup stays open after the sheet");
    }

    void theControlsComposeTheStoredShortcut()
    {
        struct Case {
            const char* name;
            std::array<bool, 4> boxes; // Ctrl, Alt, Shift, Super
            std::int64_t key;
            QString description;
            std::uint64_t modifiers;
        };
        const Case cases[] = {
            {"all four",
             {true, true, true, true},
             40,
             "K",
             m::control | m::option | m::shift | m::command},
            {"none", {false, false, false, false}, 0, "A alone", 0},
            {"empty description", {false, true, false, false}, 122, "", m::option},
        };
        for (const Case& c : cases) {
            Sheet sheet;
            ui::AddShortcutView* editor = sheet.open();
            const std::array boxes{editor->controlBox(), editor->optionBox(), editor->shiftBox(),
                                   editor->commandBox()};
            for (std::size_t i = 0; i < boxes.size(); ++i)
                boxes[i]->setChecked(c.boxes[i]);
            editor->keyBox()->setCurrentIndex(
                editor->keyBox()->findData(QVariant::fromValue<qlonglong>(c.key)));
            editor->descriptionField()->setText(c.description);
            QTest::keyClick(editor->descriptionField(), Qt::Key_Return);
            QVERIFY2(sheet.writes.empty(), c.name); // Return only edits the description
            QTest::mouseClick(editor->addButton(), Qt::LeftButton);
            QCOMPARE(sheet.target,
                     model::LaunchTarget(model::ShortcutTarget{
                         model::Shortcut{{c.key}, c.modifiers}, c.description.toStdString()}));
        }
    }

    void cancelAfterChangingEverythingLeavesTheTarget()
    {
        Sheet sheet;
        ui::AddShortcutView* editor = sheet.open();
        editor->controlBox()->setChecked(true);
        editor->optionBox()->setChecked(true);
        editor->keyBox()->setCurrentIndex(3);
        editor->descriptionField()->setText("changed");
        QTest::mouseClick(editor->cancelButton(), Qt::LeftButton);
        QVERIFY(sheet.writes.empty());
        QCOMPARE(sheet.target, model::LaunchTarget{model::KeyTarget{model::CustomKey::f2}});
    }

    void everyOpeningStartsFromThePresetAgain()
    {
        Sheet sheet;
        ui::AddShortcutView* editor = sheet.open();
        editor->shiftBox()->setChecked(true);
        editor->descriptionField()->setText("other");
        QTest::mouseClick(editor->addButton(), Qt::LeftButton);
        editor = sheet.open();
        QCOMPARE(editor->composed(), ui::editorStartingShortcut());
    }

    void escapeClosesTheSheetButNotThePopup()
    {
        Sheet sheet;
        ui::AddShortcutView* editor = sheet.open();
        QTest::keyClick(editor->descriptionField(), Qt::Key_Escape);
        QVERIFY(sheet.picker.shortcutEditor() == nullptr);
        QVERIFY(sheet.picker.popup() != nullptr);
        QVERIFY(sheet.writes.empty());
    }

    void theKeyboardStaysInsideTheSheetWhileItIsOpen()
    {
        Sheet sheet;
        int appChoosers = 0;
        sheet.picker.setAppChooser([&appChoosers](QWidget*) {
            ++appChoosers;
            return std::optional<std::string>();
        });
        ui::AddShortcutView* editor = sheet.open();
        QWidget* popup = sheet.picker.popup();
        // Round and round with Tab and Shift+Tab: never onto the rows under the sheet.
        QVERIFY(editor->isAncestorOf(popup->focusWidget()));
        for (const auto modifier : {Qt::NoModifier, Qt::ShiftModifier}) {
            for (int i = 0; i < 25; ++i) {
                QTest::keyClick(popup->focusWidget(), Qt::Key_Tab, modifier);
                QVERIFY2(editor->isAncestorOf(popup->focusWidget()),
                         qPrintable(popup->focusWidget()->metaObject()->className()));
            }
        }
        // Enter or Space on the rows, as a stray key would reach them, picks nothing.
        const auto& rows = sheet.picker.popup()->rows();
        for (ui::PickerRow* row : {rows[0], rows[1], rows[5]}) {
            QTest::keyClick(row, Qt::Key_Return);
            QTest::keyClick(row, Qt::Key_Space);
        }
        QCOMPARE(appChoosers, 0);
        QVERIFY(sheet.writes.empty());
        QVERIFY(sheet.picker.shortcutEditor() == editor);

        // Once it closes, the rows answer again.
        QTest::keyClick(editor->descriptionField(), Qt::Key_Escape);
        QVERIFY(sheet.picker.shortcutEditor() == nullptr);
        QTest::keyClick(sheet.picker.popup()->rows()[5], Qt::Key_Return);
        QCOMPARE(sheet.writes.size(), std::size_t{1});
    }

    void theKeyPopUpOffersOnlyNamedKeysInTheFixedOrder()
    {
        Sheet sheet;
        ui::AddShortcutView* editor = sheet.open();
        QComboBox* keys = editor->keyBox();
        const auto& selectable = engine::selectableKeys(sheet.world.layout);
        QCOMPARE(keys->count(), static_cast<int>(selectable.size()));
        for (int i = 0; i < keys->count(); ++i) {
            QVERIFY(!keys->itemText(i).isEmpty());
            QCOMPARE(keys->itemData(i).toLongLong(), selectable[static_cast<std::size_t>(i)].first);
        }
        // The test layout names few letters: "C" (code 8) has no name and is not offered.
        QCOMPARE(keys->findData(QVariant::fromValue<qlonglong>(8)), -1);
    }
};

ORVANE_UI_TEST_MAIN(ShortcutEditorTest)
#include "ShortcutEditorTest.moc"
