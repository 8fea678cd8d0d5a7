#pragma once
// The foreground window on X11, through the window manager's _NET_ACTIVE_WINDOW (the
// Extended Window Manager Hints): read from the root window, and asked for by a client
// message, as a pager does, since a plain application's request may be refused as focus
// stealing.

#include <xcb/xcb.h>
#include <QAbstractNativeEventFilter>

#include "platform/Foreground.h"

namespace masumemo::platform {

class X11Foreground final : public Foreground, private QAbstractNativeEventFilter
{
public:
    /// Works on connection (not owned, kept open by its owner) and the root window of its
    /// first screen.
    explicit X11Foreground(xcb_connection_t* connection);
    ~X11Foreground() override;

    WId activeWindow() override;
    bool windowExists(WId w) override;
    bool activateWindow(WId w) override;
    /// Asks for the root window's property changes (keeping the events this connection
    /// already gets there) and hears them through the application's native event filter.
    void watchActiveWindow(std::function<void()> changed) override;

    /// Calls the watcher when event says the active window changed; answers whether it did.
    /// The native event filter feeds every event of the connection here.
    bool handleEvent(const xcb_generic_event_t* event);

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    xcb_atom_t activeAtom();

    std::function<void()> m_changed;
    bool m_filtering = false;

    xcb_connection_t* m_connection;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_activeAtom = XCB_ATOM_NONE;
};

}  // namespace masumemo::platform
