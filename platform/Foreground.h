#pragma once
// The window system's foreground window: which window has the focus, and bringing one back to
// the front. The emoticon window uses it to return the focus to the window the user came from.
//
// On X11 this is the window manager's _NET_ACTIVE_WINDOW; where the window system offers no
// such thing (Wayland, the offscreen platform) every call answers "nothing" and does nothing,
// so callers need no platform tests of their own.

#include <QString>
#include <QWindow>
#include <functional>
#include <memory>

namespace masumemo::platform {

class Foreground
{
public:
    virtual ~Foreground() = default;

    /// The window that has the focus, or 0 when there is none or it cannot be told.
    virtual WId activeWindow() = 0;
    /// Whether w is still a window of the window system (0 never is).
    virtual bool windowExists(WId w) = 0;
    /// Asks the window system to bring w to the front. Answers false, asking nothing, when w no
    /// longer exists or the platform cannot; true means asked, not done: the window manager
    /// decides, and activeWindow() tells afterwards.
    virtual bool activateWindow(WId w) = 0;
    /// From now on calls changed, on the user-interface thread, each time the window system
    /// says the active window changed, so that a short visit to another window is not missed
    /// between two polls. A second call replaces the first. Where the window system says
    /// nothing it is never called; polling still works.
    virtual void watchActiveWindow(std::function<void()> /*changed*/) {}
};

/// Does nothing: for platforms without a foreground window of their own.
class NullForeground final : public Foreground
{
public:
    WId activeWindow() override { return 0; }
    bool windowExists(WId) override { return false; }
    bool activateWindow(WId) override { return false; }
};

/// The implementation for a Qt platform plugin name ("xcb", "wayland", "offscreen", ...): X11
/// when the program runs on it and was built with xcb, otherwise NullForeground.
std::unique_ptr<Foreground> createForeground(const QString& platformName);
/// The implementation for the running application's platform.
std::unique_ptr<Foreground> createForeground();

}  // namespace masumemo::platform
