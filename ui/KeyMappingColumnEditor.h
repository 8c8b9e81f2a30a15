// SPDX-License-Identifier: GPL-3.0-or-later
// The "Set all to..." menu above an action column: fills the whole column with the favourite
// applications, the keyboard's own top-row keys, or F1 to F12.
#pragma once

#include "MappingPresets.h"
#include "ViewServices.h"

#include "model/Preferences.h"

#include <QToolButton>

namespace orvane::ui {

class KeyMappingColumnEditor : public QToolButton {
    Q_OBJECT
public:
    KeyMappingColumnEditor(model::ObservablePreferences& preferences, Column column,
                           const ViewServices& services, QWidget* parent = nullptr);

    // The three menu items' actions.
    void fillWithApps();
    void fillWithSpecialKeys();
    void fillWithFunctionKeys();

private:
    model::ObservablePreferences& m_preferences;
    Column m_column;
    ViewServices m_services;
};

} // namespace orvane::ui
