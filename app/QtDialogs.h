// SPDX-License-Identifier: GPL-3.0-or-later
// Modal messages as plain message boxes.
#pragma once

#include "AppPorts.h"

namespace orvane::app {

class QtDialogs final : public Dialogs {
public:
    void alert(const QString& text) override;
    void error(const QString& title, const QString& text) override;
};

} // namespace orvane::app
