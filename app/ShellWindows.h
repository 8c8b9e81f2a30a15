// SPDX-License-Identifier: GPL-3.0-or-later
// The factories of the shell's windows: Preferences, About and Guide. Each builds a new top-level
// window with its title and its content, which scrolls when the window is smaller than it. The
// windows open at the content's size within the screen the user works on, can be resized down to
// a 480 by 300 content area (or the screen, where that is smaller), close with Escape or Ctrl+W,
// and Ctrl+Q in any of them quits Orvane.
#pragma once

#include "AppPorts.h"

#include <functional>

class QWidget;

namespace orvane::app {

class WindowFrames;

// The preferences content, with a row below it whose button quits Orvane: without a tray the
// preferences are the one way in, so they must also be a way out. The row stays visible however
// small the window gets.
QWidget* makePreferencesWindow(const ContentFactory& content, WindowFrames& frames,
                               std::function<void()> quit);
QWidget* makeAboutWindow(WindowFrames& frames, std::function<void()> quit);
// Centred; its frame is not kept: it is shown on the first run only.
QWidget* makeGuideWindow(const ContentFactory& content, std::function<void()> quit);

} // namespace orvane::app
