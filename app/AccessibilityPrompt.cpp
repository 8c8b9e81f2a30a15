// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibilityPrompt.h"

#include <QDialog>
#include <QTimer>

#include <memory>
#include <utility>

namespace orvane::app {

AccessibilityPrompt::AccessibilityPrompt(AccessCheck& access, engine::Log& log,
                                         DialogFactory makeDialog,
                                         std::chrono::milliseconds interval)
    : m_access(access), m_log(log), m_makeDialog(std::move(makeDialog)), m_interval(interval)
{
}

bool AccessibilityPrompt::check()
{
    if (m_access.isTrusted())
        return true;
    // Said in the log too, for a session whose screen nobody watches.
    m_log.write(engine::Log::Level::info, "Access",
                "no access to the keyboards or /dev/uinput yet; waiting for it ('orvanectl "
                "doctor' tells what is missing)");

    const std::unique_ptr<QDialog> dialog(m_makeDialog());
    m_promptDialog = dialog.get();
    QTimer timer;
    timer.setInterval(m_interval);
    bool isTrusted = false;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!m_access.isTrusted())
            return;
        isTrusted = true;
        timer.stop();
        dialog->accept();
    });
    timer.start();
    dialog->exec();
    timer.stop();
    m_promptDialog = nullptr;
    if (isTrusted)
        m_log.write(engine::Log::Level::info, "Access", "access granted");
    return isTrusted;
}

} // namespace orvane::app
