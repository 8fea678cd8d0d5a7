#pragma once
// Which window the user came from, so that a chosen emoticon can be handed back to it. The
// emoticon window's own window is recorded at its first activation; every tick then remembers
// the last other window that had the focus.

#include <QWindow>

#include "platform/Foreground.h"

namespace masumemo::dictionary {

class ForegroundTracker
{
public:
    /// How often the foreground is read after asking for the switch before giving up.
    static constexpr int kPolls = 31;

    explicit ForegroundTracker(platform::Foreground& foreground) : m_foreground(foreground) {}

    /// Loading has finished: the next activation is the first one.
    void armFirstActivation() { m_firstActivate = true; }

    /// The window was activated; self is its own window id. The first activation after loading
    /// records the foreground as the own window and answers true (tracking starts); every later
    /// one answers false and changes nothing.
    bool activated(WId self);

    /// One tracking tick: a foreground window that is not ours becomes the target, none
    /// included; while ours is in front the target keeps the last other window.
    void tick();

    /// Asks for the target to come to the front, then reads the foreground up to kPolls times
    /// without pause until it is there. Answers whether it got there; false without asking
    /// when there is no target or it has gone.
    bool returnToTarget();

    WId OwnWindow() const { return m_ownWindow; }
    WId TargetWindow() const { return m_targetWindow; }
    bool FirstActivate() const { return m_firstActivate; }

private:
    // The recorded foreground may lag behind the activation by a moment on some window
    // managers, so the window's own id counts as ours too: the target is never ourselves.
    bool isOwn(WId w) const { return w != 0 && (w == m_ownWindow || w == m_self); }

    platform::Foreground& m_foreground;
    WId m_ownWindow = 0;
    WId m_self = 0;
    WId m_targetWindow = 0;
    bool m_firstActivate = false;
};

}  // namespace masumemo::dictionary
