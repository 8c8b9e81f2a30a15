// SPDX-License-Identifier: GPL-3.0-or-later
#include "X11Windows.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace orvane::platform {

namespace {

// Property values are read up to these sizes; anything longer is cut, never trusted in full.
constexpr std::uint32_t maxTextWords = 256;   // 1 KiB of text
constexpr std::uint32_t maxListWords = 16384; // windows or atoms
constexpr std::uint32_t iconicState = 3;      // ICCCM WM_CHANGE_STATE
constexpr std::uint32_t sourceIsPager = 2;    // EWMH: the request comes from a pager-like tool

struct ReplyDeleter {
    void operator()(void* reply) const noexcept { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, ReplyDeleter>;

bool canTellActiveWindow()
{
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* session = std::getenv("XDG_SESSION_TYPE");
    if (display == nullptr || *display == '\0')
        return false;
    // Under Wayland the X server knows only the X clients, so its active window can be stale.
    return (wayland == nullptr || *wayland == '\0') &&
           (session == nullptr || std::string_view(session) != "wayland");
}

std::optional<X11Windows::Atoms> internAtoms(xcb_connection_t* connection)
{
    constexpr std::array<std::string_view, 6> names{
        "_NET_ACTIVE_WINDOW",  "_NET_CLIENT_LIST",         "_NET_SUPPORTED",
        "_GTK_APPLICATION_ID", "_KDE_NET_WM_DESKTOP_FILE", "WM_CHANGE_STATE"};
    std::array<xcb_intern_atom_cookie_t, names.size()> cookies{};
    for (std::size_t i = 0; i < names.size(); ++i)
        cookies[i] = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(names[i].size()),
                                     names[i].data());
    std::array<std::uint32_t, names.size()> atoms{};
    for (std::size_t i = 0; i < names.size(); ++i) {
        const Reply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection, cookies[i], nullptr));
        if (!reply)
            return std::nullopt;
        atoms[i] = reply->atom;
    }
    return X11Windows::Atoms{atoms[0], atoms[1], atoms[2], atoms[3], atoms[4], atoms[5]};
}

std::string textOf(xcb_get_property_reply_t* reply)
{
    if (reply == nullptr || reply->format != 8)
        return {};
    const auto* data = static_cast<const char*>(xcb_get_property_value(reply));
    return {data, static_cast<std::size_t>(std::max(0, xcb_get_property_value_length(reply)))};
}

} // namespace

std::unique_ptr<X11Windows> X11Windows::connect()
{
    if (!canTellActiveWindow())
        return nullptr;
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    const auto fail = [connection] {
        xcb_disconnect(connection);
        return nullptr;
    };
    if (xcb_connection_has_error(connection) != 0)
        return fail();
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    const auto atoms = internAtoms(connection);
    if (screens.rem == 0 || !atoms)
        return fail();
    std::unique_ptr<X11Windows> windows(new X11Windows(connection, screens.data->root, *atoms));
    const auto supported = windows->rootList(atoms->supported, XCB_ATOM_ATOM);
    if (std::find(supported.begin(), supported.end(), atoms->activeWindow) == supported.end())
        return nullptr; // no EWMH window manager: nobody keeps _NET_ACTIVE_WINDOW
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection, windows->m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    return windows;
}

X11Windows::X11Windows(xcb_connection_t* connection, std::uint32_t root, const Atoms& atoms)
    : m_connection(connection), m_root(root), m_atoms(atoms)
{
}

X11Windows::~X11Windows()
{
    xcb_disconnect(m_connection);
}

int X11Windows::eventFd() const
{
    return xcb_get_file_descriptor(m_connection);
}

bool X11Windows::isConnected() const
{
    return xcb_connection_has_error(m_connection) == 0;
}

bool X11Windows::takeEvents()
{
    bool isChanged = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
            const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(event);
            isChanged |= notify->window == m_root && notify->atom == m_atoms.activeWindow;
        }
        std::free(event);
    }
    return isChanged;
}

std::vector<std::uint32_t> X11Windows::rootList(std::uint32_t property, std::uint32_t type)
{
    const auto cookie = xcb_get_property(m_connection, 0, m_root, property, type, 0, maxListWords);
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(m_connection, cookie, nullptr));
    if (!reply || reply->format != 32 || reply->type != type)
        return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const auto count = static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4;
    return {values, values + count};
}

std::optional<WindowId> X11Windows::activeWindow()
{
    const auto windows = rootList(m_atoms.activeWindow, XCB_ATOM_WINDOW);
    if (windows.empty() || windows.front() == XCB_WINDOW_NONE)
        return std::nullopt;
    return windows.front();
}

std::vector<WindowId> X11Windows::clientWindows()
{
    return rootList(m_atoms.clientList, XCB_ATOM_WINDOW);
}

WindowIdentity X11Windows::identity(WindowId window)
{
    // All three requests leave before the first answer is awaited: one round trip, not three.
    const auto ask = [&](std::uint32_t property) {
        return xcb_get_property(m_connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0,
                                maxTextWords);
    };
    const auto gtk = ask(m_atoms.gtkApplicationId);
    const auto kde = ask(m_atoms.kdeDesktopFile);
    const auto wmClass = ask(XCB_ATOM_WM_CLASS);
    const auto text = [&](xcb_get_property_cookie_t cookie) {
        const Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(m_connection, cookie, nullptr));
        return textOf(reply.get());
    };
    WindowIdentity identity;
    identity.gtkApplicationId = text(gtk);
    identity.kdeDesktopFile = text(kde);
    // WM_CLASS holds two NUL-terminated strings: instance, then class.
    const std::string classes = text(wmClass);
    const std::size_t split = classes.find('\0');
    identity.wmInstance = classes.substr(0, split);
    if (split != std::string::npos)
        identity.wmClass = classes.substr(split + 1, classes.find('\0', split + 1) - split - 1);
    return identity;
}

void X11Windows::sendToRoot(WindowId window, std::uint32_t type, std::uint32_t data0,
                            std::uint32_t data1)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    message.data.data32[0] = data0;
    message.data.data32[1] = data1;
    xcb_send_event(m_connection, 0, m_root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(m_connection);
}

void X11Windows::iconify(WindowId window)
{
    sendToRoot(window, m_atoms.wmChangeState, iconicState, 0);
}

void X11Windows::activate(WindowId window)
{
    sendToRoot(window, m_atoms.activeWindow, sourceIsPager, XCB_CURRENT_TIME);
}

} // namespace orvane::platform
