// SPDX-License-Identifier: GPL-3.0-or-later
// Holds start-up until Orvane may grab the keyboards: when it may not, shows the permission
// dialog modally and polls every half second; the poll ends the modal wait by itself the moment
// access appears, so the user never has to come back to the dialog.
#pragma once

#include "AppPorts.h"

#include "engine/Platform.h"

#include <QDialog>
#include <QPointer>

#include <chrono>
#include <functional>

namespace orvane::app {

class AccessibilityPrompt {
public:
    using DialogFactory = std::function<QDialog*()>;

    AccessibilityPrompt(AccessCheck& access, engine::Log& log, DialogFactory makeDialog,
                        std::chrono::milliseconds interval = std::chrono::milliseconds(500));

    // Returns true once access exists (at once when it already does), false when the user chose
    // to quit from the dialog.
    bool check();

    // The dialog while it is up (tests).
    QDialog* promptDialog() const { return m_promptDialog; }

private:
    AccessCheck& m_access;
    engine::Log& m_log;
    DialogFactory m_makeDialog;
    std::chrono::milliseconds m_interval;
    QPointer<QDialog> m_promptDialog;
};

} // namespace orvane::app
