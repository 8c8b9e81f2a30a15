// SPDX-License-Identifier: GPL-3.0-or-later
// Tells its owner when a window closes: an event filter on the window, which it lives inside.
#pragma once

#include <QEvent>
#include <QObject>

#include <functional>
#include <utility>

namespace orvane::app {

class NotifyCloseWindowDelegate final : public QObject {
public:
    NotifyCloseWindowDelegate(QObject* window, std::function<void()> onClose)
        : QObject(window), m_onClose(std::move(onClose))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The shell's windows never refuse to close, so a close event is the close.
        if (watched == parent() && event->type() == QEvent::Close && m_onClose) {
            auto onClose = std::exchange(m_onClose, nullptr); // once per window
            onClose();
        }
        return false;
    }

private:
    std::function<void()> m_onClose;
};

} // namespace orvane::app
