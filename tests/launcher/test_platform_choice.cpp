// The display platform asked for before the application object exists.
#include <gtest/gtest.h>

#include <string>

#include "launcher/PlatformChoice.h"

using masumemo::launcher::DisplayEnvironment;
using masumemo::launcher::displayPlatform;

TEST(PlatformChoice, WaylandGoesThroughXWaylandAndHeadlessNeedsNoDisplay)
{
    struct Row
    {
        bool x11, wayland, chosen, windows;
        const char* want;  // nullptr: Qt's own choice
    };
    const Row rows[] = {
        // An X11 desktop: Qt's own choice (xcb) for windows; headless never needs the display,
        // which may name a server that is gone.
        {true, false, false, true, nullptr},
        {true, false, false, false, "offscreen"},
        // A Wayland session with XWayland: windows through X11, so the focus can come back.
        {true, true, false, true, "xcb"},
        {true, true, false, false, "offscreen"},
        // Wayland without XWayland: nothing better to ask for windows; headless is offscreen.
        {false, true, false, true, nullptr},
        {false, true, false, false, "offscreen"},
        // No display at all: headless commands still run; windows get Qt's own answer.
        {false, false, false, false, "offscreen"},
        {false, false, false, true, nullptr},
        // The user's QT_QPA_PLATFORM stands for windows; headless is offscreen whatever it says.
        {true, true, true, true, nullptr},
        {false, false, true, false, "offscreen"},
        {true, false, true, false, "offscreen"},
    };
    for (const Row& r : rows) {
        const char* got = displayPlatform({.x11 = r.x11, .wayland = r.wayland,
                                           .platformChosen = r.chosen},
                                          r.windows);
        const std::string where = std::to_string(r.x11) + std::to_string(r.wayland) +
                                  std::to_string(r.chosen) + std::to_string(r.windows);
        if (r.want == nullptr) {
            EXPECT_EQ(got, nullptr) << where;
        } else {
            ASSERT_NE(got, nullptr) << where;
            EXPECT_STREQ(got, r.want) << where;
        }
    }
}
