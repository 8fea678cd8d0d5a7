#include "PlatformChoice.h"

namespace masumemo::launcher {

const char* displayPlatform(const DisplayEnvironment& env, bool needsWindows)
{
    if (!needsWindows) {
        // An export or a check runs the same with or without a desktop, and must not depend on
        // one: a DISPLAY naming a server that is gone (cron, ssh) would abort it.
        return "offscreen";
    }
    if (env.platformChosen) {
        return nullptr;
    }
    // Under Wayland, windows go through XWayland when there is one, so that the focus can be
    // handed back; the compositor shares the clipboard with Wayland programs.
    return env.wayland && env.x11 ? "xcb" : nullptr;
}

}  // namespace masumemo::launcher
