#pragma once
// Which display platform the program asks Qt for, decided before the application object is made.
// Egaocho gives the focus back to the window used before through X11, which a Wayland session
// offers to X11 programs through XWayland; commands without a window need no display at all.

namespace masumemo::launcher {

struct DisplayEnvironment
{
    bool x11 = false;             ///< DISPLAY is set
    bool wayland = false;         ///< WAYLAND_DISPLAY is set
    bool platformChosen = false;  ///< QT_QPA_PLATFORM is set: the user's choice stands
};

/// "xcb", "offscreen", or nullptr for Qt's own choice. Commands without windows always get
/// "offscreen"; for windows the user's QT_QPA_PLATFORM stands.
const char* displayPlatform(const DisplayEnvironment& env, bool needsWindows);

}  // namespace masumemo::launcher
