// SPDX-License-Identifier: GPL-3.0-or-later
// A row of selectable tiles: clicking one highlights it and runs its action, also when it is
// already the highlighted one.
#pragma once

#include <QWidget>

#include <functional>
#include <vector>

namespace orvane::ui {

class ModeSelector : public QWidget {
    Q_OBJECT
public:
    struct Mode {
        QWidget* view; // the tile's picture and label; the selector takes it over
        std::function<void()> onClick;
    };

    explicit ModeSelector(std::vector<Mode> contents, QWidget* parent = nullptr);

    int selected() const { return m_selected; }
    // Highlights tile `index` and runs its action.
    void select(int index);
    QWidget* tile(int index) const;
    int count() const { return static_cast<int>(m_tiles.size()); }

private:
    std::vector<Mode> m_contents;
    std::vector<QWidget*> m_tiles;
    int m_selected = 0;
};

} // namespace orvane::ui
