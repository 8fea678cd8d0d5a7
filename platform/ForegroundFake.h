#pragma once
// A foreground that tests drive: they say which window is active and which exist, and read
// back what was asked of it.

#include <QList>
#include <QSet>

#include "platform/Foreground.h"

namespace masumemo::platform {

class FakeForeground final : public Foreground
{
public:
    /// The window reported as active (0 for none).
    WId active = 0;
    /// Windows that exist (the active one too, when it should).
    QSet<WId> existing;
    /// Whether an activation request takes effect at once (a window manager may refuse).
    bool honourActivation = true;
    /// Every window that was asked to come to the front, in order.
    QList<WId> activationRequests;
    /// How often activeWindow() was read.
    int activeReads = 0;
    /// What watchActiveWindow was given: a test calls it to say the active window changed.
    std::function<void()> changed;

    WId activeWindow() override
    {
        ++activeReads;
        return active;
    }
    bool windowExists(WId w) override { return w != 0 && existing.contains(w); }
    bool activateWindow(WId w) override
    {
        if (!windowExists(w)) {
            return false;
        }
        activationRequests.append(w);
        if (honourActivation) {
            active = w;
        }
        return true;
    }
    void watchActiveWindow(std::function<void()> handler) override { changed = std::move(handler); }
};

}  // namespace masumemo::platform
