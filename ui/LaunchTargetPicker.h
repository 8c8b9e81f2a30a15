// SPDX-License-Identifier: GPL-3.0-or-later
// One cell of the key mapping table: shows a launch target and replaces it from a popup that
// offers an application, a keyboard shortcut (through the shortcut editor) or any of the 38 keys.
#pragma once

#include "PickerPopup.h"
#include "ViewServices.h"

#include "model/LaunchTarget.h"

#include <QFrame>
#include <QPointer>

#include <functional>
#include <optional>
#include <string>

namespace orvane::ui {

class AddShortcutView;

// Reads and writes the one target a cell edits; the table turns a write into a write of the
// whole stored mapping.
struct TargetBinding {
    std::function<model::LaunchTarget()> get;
    std::function<void(const model::LaunchTarget&)> set;
};

class LaunchTargetPicker : public QFrame {
    Q_OBJECT
public:
    // Stand for the two option rows in `hoverKey`; never written to the target.
    static const model::LaunchTarget appPlaceholder;
    static const model::LaunchTarget shortcutPlaceholder;

    // Asks the user for an application file; nothing when cancelled.
    using AppChooser = std::function<std::optional<std::string>(QWidget* parent)>;

    LaunchTargetPicker(TargetBinding target, const ViewServices& services,
                       QWidget* parent = nullptr);
    ~LaunchTargetPicker() override;

    // Shows the target the binding reads now; cheap when it did not change.
    void refresh();
    // Shows `target`, already read by the caller (the table reads the mapping once for all).
    void showTarget(const model::LaunchTarget& target);

    void openPopup();
    void closePopup();
    // The open popup, or null.
    PickerPopup* popup() const
    {
        return m_popup && m_popup->isVisible() ? m_popup.data() : nullptr;
    }

    // The popup row the pointer (or the keyboard) touched last; it stays highlighted.
    const std::optional<model::LaunchTarget>& hoverKey() const { return m_hoverKey; }
    void setHoverKey(const model::LaunchTarget& row);

    // The popup rows' actions.
    void chooseKey(model::CustomKey key);
    void chooseApp();
    void openShortcutEditor();
    AddShortcutView* shortcutEditor() const;
    // What the shortcut editor's "Add Shortcut" writes; the popup stays open.
    void writeFromEditor(const model::LaunchTarget& target) { write(target); }

    void setAppChooser(AppChooser chooser) { m_appChooser = std::move(chooser); }

    // The label the closed cell shows, for tests: "key:f5", "app:<name>", "shortcut:<text>".
    QString shownText() const { return m_shownText; }

    const ViewServices& services() const { return m_services; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void write(const model::LaunchTarget& target);
    void rebuildLabel(const model::LaunchTarget& target);

    TargetBinding m_target;
    ViewServices m_services;
    std::optional<model::LaunchTarget> m_shown;
    std::optional<model::LaunchTarget> m_hoverKey;
    QPointer<PickerPopup> m_popup;
    QWidget* m_label = nullptr;
    QString m_shownText;
    QString m_spokenText;
    AppChooser m_appChooser;
};

} // namespace orvane::ui
