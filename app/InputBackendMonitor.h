// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard monitor of the desktop program: the input backend's thread, fed the settings as
// queued calls, so that typing never waits for the GUI thread.
#pragma once

#include "AppPorts.h"

#include "platform/linux/input/InputBackend.h"

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace orvane::app {

class InputBackendMonitor final : public KeyboardMonitorControl {
public:
    using StopReason = platform::InputBackend::StopReason;

    // `onStopped` runs on the GUI thread if the input thread ends by itself (the panic chord, a
    // lost output keyboard).
    InputBackendMonitor(engine::Workspace& workspace, engine::Log& log, const model::TopRow& topRow,
                        std::function<void(StopReason)> onStopped);

    void setKeyMapping(model::KeyMapping mapping) override;
    void setLongPressDelay(double seconds) override;
    std::error_code start() override;

private:
    platform::InputBackend m_backend;
    std::function<void(StopReason)> m_onStopped;
    std::unique_ptr<QSocketNotifier> m_stopped;
    model::KeyMapping m_mapping{};
    double m_delay = 0.2;
    bool m_isStarted = false;
};

} // namespace orvane::app
