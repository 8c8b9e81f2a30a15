// SPDX-License-Identifier: GPL-3.0-or-later
// The session's top-level windows, as far as Orvane needs them to toggle an application: which one
// is active, what application each belongs to, and how to hide or raise one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvane::platform {

using WindowId = std::uint32_t;

// What a window says about the application that owns it; any field may be empty.
struct WindowIdentity {
    std::string gtkApplicationId; // _GTK_APPLICATION_ID
    std::string kdeDesktopFile;   // _KDE_NET_WM_DESKTOP_FILE
    std::string wmInstance;       // WM_CLASS, first string
    std::string wmClass;          // WM_CLASS, second string
};

// Used on one thread only (the workspace's desktop thread).
class WindowSource {
public:
    virtual ~WindowSource() = default;
    // Becomes readable when something arrived that takeEvents() should look at.
    virtual int eventFd() const = 0;
    // Reads what arrived without blocking; true when the active window may have changed.
    virtual bool takeEvents() = 0;
    // False once the connection to the session is gone for good.
    virtual bool isConnected() const = 0;
    virtual std::optional<WindowId> activeWindow() = 0;
    // The managed top-level windows, oldest first.
    virtual std::vector<WindowId> clientWindows() = 0;
    virtual WindowIdentity identity(WindowId window) = 0;
    virtual void iconify(WindowId window) = 0;
    virtual void activate(WindowId window) = 0;
};

} // namespace orvane::platform
