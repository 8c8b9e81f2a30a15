// SPDX-License-Identifier: GPL-3.0-or-later
// The shortcut editor: modifier check boxes, a key and a description, composed into a keyboard
// shortcut target. It opens as a sheet over the picker's popup and always starts from the same
// preset, whatever the target was before.
#pragma once

#include "engine/KeyNames.h"
#include "model/LaunchTarget.h"

#include <QFrame>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace orvane::ui {

class AddShortcutView : public QFrame {
    Q_OBJECT
public:
    // `write` receives the composed target on "Add Shortcut"; `close` runs after either button.
    AddShortcutView(const engine::KeyboardLayout& layout,
                    std::function<void(const model::LaunchTarget&)> write,
                    std::function<void()> close, QWidget* parent = nullptr);

    // The target "Add Shortcut" would write now.
    model::ShortcutTarget composed() const;

    QCheckBox* controlBox() const { return m_control; }
    QCheckBox* optionBox() const { return m_option; }
    QCheckBox* shiftBox() const { return m_shift; }
    QCheckBox* commandBox() const { return m_command; }
    QComboBox* keyBox() const { return m_key; }
    QLineEdit* descriptionField() const { return m_description; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void add();
    void cancel();

    std::function<void(const model::LaunchTarget&)> m_write;
    std::function<void()> m_close;
    QCheckBox* m_control;
    QCheckBox* m_option;
    QCheckBox* m_shift;
    QCheckBox* m_command;
    QComboBox* m_key;
    QLineEdit* m_description;
    QPushButton* m_cancel;
    QPushButton* m_add;
};

} // namespace orvane::ui
