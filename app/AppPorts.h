// SPDX-License-Identifier: GPL-3.0-or-later
// What the shell needs from the rest of the program, as small interfaces: main.cpp passes the
// real ones, tests pass recording stand-ins.
#pragma once

#include "model/LaunchTarget.h"

#include <QString>

#include <functional>
#include <system_error>

class QWidget;

namespace orvane::app {

// The keyboard monitor as the shell drives it. Mapping and delay given before start are what it
// starts with; later ones reach the running monitor without waiting for it.
class KeyboardMonitorControl {
public:
    virtual ~KeyboardMonitorControl() = default;
    virtual void setKeyMapping(model::KeyMapping mapping) = 0;
    virtual void setLongPressDelay(double seconds) = 0;
    // std::errc::device_or_resource_busy: another Orvane of this user holds the keyboards.
    virtual std::error_code start() = 0;
};

// Whether Orvane may grab the keyboards and create its output keyboard ("trusted").
class AccessCheck {
public:
    virtual ~AccessCheck() = default;
    virtual bool isTrusted() = 0;
};

// Modal messages; each returns once the user has dismissed it.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void alert(const QString& text) = 0;
    virtual void error(const QString& title, const QString& text) = 0;
};

// Builds the content of a window inside `parent`.
using ContentFactory = std::function<QWidget*(QWidget* parent)>;

} // namespace orvane::app
