// SPDX-License-Identifier: GPL-3.0-or-later
// The windows of an X11 session whose window manager follows EWMH (_NET_ACTIVE_WINDOW,
// _NET_CLIENT_LIST), read and driven through xcb.
#pragma once

#include "WindowSource.h"

#include <memory>

struct xcb_connection_t;

namespace orvane::platform {

class X11Windows final : public WindowSource {
public:
    // Null when the session cannot tell which window is active: no X11 display, a Wayland session
    // (whose X server sees only its own clients), or a window manager without EWMH.
    static std::unique_ptr<X11Windows> connect();
    ~X11Windows() override;
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;

    int eventFd() const override;
    bool takeEvents() override;
    bool isConnected() const override;
    std::optional<WindowId> activeWindow() override;
    std::vector<WindowId> clientWindows() override;
    WindowIdentity identity(WindowId window) override;
    void iconify(WindowId window) override;
    void activate(WindowId window) override;

    struct Atoms {
        std::uint32_t activeWindow = 0;
        std::uint32_t clientList = 0;
        std::uint32_t supported = 0;
        std::uint32_t gtkApplicationId = 0;
        std::uint32_t kdeDesktopFile = 0;
        std::uint32_t wmChangeState = 0;
    };

private:
    X11Windows(xcb_connection_t* connection, std::uint32_t root, const Atoms& atoms);
    std::vector<std::uint32_t> rootList(std::uint32_t property, std::uint32_t type);
    void sendToRoot(WindowId window, std::uint32_t type, std::uint32_t data0, std::uint32_t data1);

    xcb_connection_t* m_connection;
    std::uint32_t m_root;
    Atoms m_atoms;
};

} // namespace orvane::platform
