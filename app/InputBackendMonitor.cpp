// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputBackendMonitor.h"

#include <utility>

namespace orvane::app {

InputBackendMonitor::InputBackendMonitor(engine::Workspace& workspace, engine::Log& log,
                                         const model::TopRow& topRow,
                                         std::function<void(StopReason)> onStopped)
    : m_backend(workspace, log, topRow, {}), m_onStopped(std::move(onStopped))
{
}

void InputBackendMonitor::setKeyMapping(model::KeyMapping mapping)
{
    if (m_isStarted)
        m_backend.setKeyMapping(std::move(mapping));
    else
        m_mapping = std::move(mapping);
}

void InputBackendMonitor::setLongPressDelay(double seconds)
{
    if (m_isStarted)
        m_backend.setLongPressDelay(seconds);
    else
        m_delay = seconds;
}

std::error_code InputBackendMonitor::start()
{
    if (const auto error = m_backend.start(m_mapping, m_delay))
        return error;
    m_isStarted = true;
    m_stopped = std::make_unique<QSocketNotifier>(m_backend.stoppedFd(), QSocketNotifier::Read);
    QObject::connect(m_stopped.get(), &QSocketNotifier::activated, [this] {
        m_stopped->setEnabled(false);
        m_backend.wait();
        if (m_onStopped)
            m_onStopped(m_backend.stopReason());
    });
    return {};
}

} // namespace orvane::app
