// SPDX-License-Identifier: GPL-3.0-or-later
// A menu entry that runs a stored closure when chosen. The shell's entries have no shortcut.
#pragma once

#include <QAction>

#include <functional>
#include <utility>

namespace orvane::app {

class ClosureMenuItem final : public QAction {
public:
    ClosureMenuItem(const QString& title, std::function<void()> actionClosure, QObject* parent)
        : QAction(title, parent), m_actionClosure(std::move(actionClosure))
    {
        connect(this, &QAction::triggered, this, [this] { m_actionClosure(); });
    }

private:
    std::function<void()> m_actionClosure;
};

} // namespace orvane::app
