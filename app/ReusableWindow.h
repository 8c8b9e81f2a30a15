// SPDX-License-Identifier: GPL-3.0-or-later
// A holder that builds its window on first use, brings the same window forward while it is open,
// and forgets it once it closes, so that the next showing builds it afresh with current settings.
#pragma once

#include "Diagnostics.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace orvane::app {

class NotifyCloseWindowDelegate;

class ReusableWindow final : public QObject {
public:
    ReusableWindow(std::function<QWidget*()> createWindow, Console& console,
                   QObject* parent = nullptr);
    ~ReusableWindow() override;

    void show();
    // The open window, or null.
    QWidget* window() const { return m_window; }

private:
    QPointer<QWidget> m_window;
    QPointer<NotifyCloseWindowDelegate> m_windowDelegate;
    std::function<QWidget*()> m_createWindow;
    Console& m_console;
};

} // namespace orvane::app
