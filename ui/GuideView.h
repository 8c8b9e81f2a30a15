// SPDX-License-Identifier: GPL-3.0-or-later
// The first-run guide's content: which long press the user wants (applications, function keys or
// desktop shortcuts), applied at once as a whole new mapping, with the table below to adjust it.
//
// Construction: `new GuideView(observablePreferences, services)` (see ViewServices.h). "Finish"
// emits finished(); the window that holds the guide closes itself on it.
#pragma once

#include "ViewServices.h"

#include "model/Preferences.h"

#include <QWidget>

class QPushButton;

namespace orvane::ui {

class KeyMappingView;
class ModeSelector;

class GuideView : public QWidget {
    Q_OBJECT
public:
    GuideView(model::ObservablePreferences& preferences, const ViewServices& services,
              QWidget* parent = nullptr);

    ModeSelector* modes() const { return m_modes; }
    KeyMappingView* table() const { return m_table; }
    QPushButton* finishButton() const { return m_finish; }

    // The three presets; each ends in one write of the whole mapping.
    void applyAppsPreset();
    void applyFunctionKeyPreset();
    void applyHotkeyPreset();

Q_SIGNALS:
    void finished();

protected:
    // Enter that no control below took (a cell opens its picker with it) finishes the guide.
    void keyPressEvent(QKeyEvent* event) override;

private:
    model::ObservablePreferences& m_preferences;
    ViewServices m_services;
    ModeSelector* m_modes;
    KeyMappingView* m_table;
    QPushButton* m_finish;
};

} // namespace orvane::ui
