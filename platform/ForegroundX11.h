#pragma once
// The foreground window on X11, through the window manager's _NET_ACTIVE_WINDOW (the
// Extended Window Manager Hints): read from the root window, and asked for by a client
// message, as a pager does, since a plain application's request may be refused as focus
// stealing.

#include <xcb/xcb.h>

#include "platform/Foreground.h"

namespace masumemo::platform {

class X11Foreground final : public Foreground
{
public:
    /// Works on connection (not owned, kept open by its owner) and the root window of its
    /// first screen.
    explicit X11Foreground(xcb_connection_t* connection);

    WId activeWindow() override;
    bool windowExists(WId w) override;
    bool activateWindow(WId w) override;

private:
    xcb_atom_t activeAtom();

    xcb_connection_t* m_connection;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_activeAtom = XCB_ATOM_NONE;
};

}  // namespace masumemo::platform
