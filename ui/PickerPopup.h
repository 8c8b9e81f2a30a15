// SPDX-License-Identifier: GPL-3.0-or-later
// The picker's popup: the "Open/Switch App" and "Simulate Keyboard Shortcut" rows, then every
// key of the catalogue, in a scrolling list that works with the pointer and the keyboard alike.
#pragma once

#include "model/LaunchTarget.h"

#include <QFrame>

#include <functional>
#include <vector>

class QScrollArea;

namespace orvane::ui {

class AddShortcutView;
class LaunchTargetPicker;

// One row: highlighted blue while it is the picker's hover key.
class PickerRow : public QWidget {
    Q_OBJECT
public:
    PickerRow(LaunchTargetPicker& picker, model::LaunchTarget value, QWidget* content,
              std::function<void()> action, QWidget* parent = nullptr);

    const model::LaunchTarget& value() const { return m_value; }
    bool isHighlighted() const;
    void activate() { m_action(); }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    LaunchTargetPicker& m_picker;
    model::LaunchTarget m_value;
    std::function<void()> m_action;
};

class PickerPopup : public QFrame {
    Q_OBJECT
public:
    explicit PickerPopup(LaunchTargetPicker& picker);

    const std::vector<PickerRow*>& rows() const { return m_rows; }
    // The row of the "key" target of `key`.
    PickerRow* keyRow(model::CustomKey key) const;
    // Moves the keyboard focus `step` rows up or down, staying inside the list.
    void moveFocus(PickerRow* from, int step);

    // The shortcut editor as a sheet over the rows; the rows cannot be used meanwhile.
    AddShortcutView* showSheet();
    void closeSheet();
    AddShortcutView* sheet() const { return m_sheet; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    LaunchTargetPicker& m_picker;
    QScrollArea* m_scroll;
    std::vector<PickerRow*> m_rows;
    QWidget* m_sheetLayer = nullptr;
    AddShortcutView* m_sheet = nullptr;
};

} // namespace orvane::ui
