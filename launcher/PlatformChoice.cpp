#include "PlatformChoice.h"

namespace masumemo::launcher {

const char* displayPlatform(const DisplayEnvironment& env, bool needsWindows)
{
    if (env.platformChosen) {
        return nullptr;
    }
    if (!needsWindows) {
        // An export or a check runs the same with or without a desktop.
        return env.x11 ? nullptr : "offscreen";
    }
    // Under Wayland, windows go through XWayland when there is one, so that the focus can be
    // handed back; the compositor shares the clipboard with Wayland programs.
    return env.wayland && env.x11 ? "xcb" : nullptr;
}

}  // namespace masumemo::launcher
