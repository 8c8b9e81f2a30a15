// SPDX-License-Identifier: GPL-3.0-or-later
// The key mapping table: twelve rows F1 to F12, each with its key cap and a picker for the short
// press, the long press and the press with fn. Every edit is written straight to the settings;
// the table keeps no copy and shows every change made elsewhere at once.
#pragma once

#include "LaunchTargetPicker.h"
#include "MappingPresets.h"
#include "ViewServices.h"

#include "model/Preferences.h"

#include <QWidget>

#include <array>
#include <vector>

class QGridLayout;
class QScrollArea;
class QTimer;

namespace orvane::ui {

class KeyMappingColumnEditor;

class KeyMappingView : public QWidget {
    Q_OBJECT
public:
    static constexpr int keyColumnWidth = 120;
    static constexpr int actionColumnWidth = 200;

    KeyMappingView(model::ObservablePreferences& preferences, const ViewServices& services,
                   QWidget* parent = nullptr);

    // Rows shown: the function keys paired with the stored entries, up to the shorter list.
    int rowCount() const { return static_cast<int>(m_pickers.size()); }
    LaunchTargetPicker* picker(int row, Column column) const;
    KeyMappingColumnEditor* columnEditor(Column column) const;
    // "Short Press", "Long Press", "Fn + Key".
    static QString columnTitle(Column column);
    QScrollArea* rowsArea() const { return m_rowsArea; }

    // Re-reads the stored mapping; rows are rebuilt only when their number changed.
    void refresh();

private:
    void showMapping(const model::KeyMapping& mapping);
    void rebuildRows(std::size_t count);
    void writeCell(std::size_t row, Column column, const model::LaunchTarget& target);

    model::ObservablePreferences& m_preferences;
    ViewServices m_services;
    model::Subject<model::KeyMapping>::Subscription m_changes;
    std::array<KeyMappingColumnEditor*, 3> m_editors{};
    QScrollArea* m_rowsArea = nullptr;
    QTimer* m_rebuild = nullptr;
    QWidget* m_rows = nullptr;
    std::vector<std::array<LaunchTargetPicker*, 3>> m_pickers;
};

} // namespace orvane::ui
