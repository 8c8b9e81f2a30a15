// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReusableWindow.h"

#include "NotifyCloseWindowDelegate.h"

#include <utility>

namespace orvane::app {

ReusableWindow::ReusableWindow(std::function<QWidget*()> createWindow, Console& console,
                               QObject* parent)
    : QObject(parent), m_createWindow(std::move(createWindow)), m_console(console)
{
}

ReusableWindow::~ReusableWindow()
{
    delete m_window; // top-level windows have no parent to do it
}

void ReusableWindow::show()
{
    if (m_window == nullptr) {
        m_window = m_createWindow();
        m_window->setAttribute(Qt::WA_QuitOnClose, false);
        const QPointer<ReusableWindow> holder(this);
        Console* console = &m_console;
        m_windowDelegate = new NotifyCloseWindowDelegate(m_window, [holder, console] {
            console->line(std::string(line::closeWindow));
            if (holder == nullptr)
                return;
            if (holder->m_window != nullptr)
                holder->m_window->deleteLater();
            holder->m_window = nullptr;
            holder->m_windowDelegate = nullptr;
        });
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace orvane::app
