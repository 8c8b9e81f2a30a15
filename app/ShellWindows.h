// The factories of the shell's windows: Preferences, About and Guide. Each builds a new top-level
// window with its title, its 480 by 300 content area (larger when the content needs it, never
// resizable by the user) and its content.
#pragma once

#include "AppPorts.h"

#include <functional>

class QWidget;

namespace orvane::app {

class WindowFrames;

// The preferences content, with a row below it whose button quits Orvane: without a tray the
// preferences are the one way in, so they must also be a way out.
QWidget* makePreferencesWindow(const ContentFactory& content, WindowFrames& frames,
                               std::function<void()> quit);
QWidget* makeAboutWindow(WindowFrames& frames);
// Centred; its frame is not kept: it is shown on the first run only.
QWidget* makeGuideWindow(const ContentFactory& content);

} // namespace orvane::app
