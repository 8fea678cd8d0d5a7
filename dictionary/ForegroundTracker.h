#pragma once
// Which window the user came from, so that a chosen emoticon can be handed back to it. Every
// tick remembers the last window in front that may get the focus back: another program's
// window, or a window of this program marked with markAsReturnTarget (the editor). The emoticon
// window itself, its dialogs and the other windows of this program never are.

#include <QWindow>
#include <functional>

#include "platform/Foreground.h"

class QWidget;

namespace masumemo::dictionary {

/// Marks a top-level window of this program that the emoticon window may hand the focus back
/// to. Unmarked windows of this program (dialogs, questions, the chooser) never get it.
void markAsReturnTarget(QWidget* window);

/// Whether w is a window of this running program that is not marked as a return target.
/// Answers false for 0 and for other programs' windows.
bool isUnmarkedProgramWindow(WId w);

class ForegroundTracker
{
public:
    /// How often the foreground is read after asking for the switch before giving up.
    static constexpr int kPolls = 31;
    /// Answers whether a foreground window belongs to this program and must never be returned to.
    using OwnTest = std::function<bool(WId)>;

    /// ownTest defaults to isUnmarkedProgramWindow.
    explicit ForegroundTracker(platform::Foreground& foreground, OwnTest ownTest = {});

    /// Loading has finished: the next activation is the first one.
    void armFirstActivation() { m_firstActivate = true; }

    /// The window was activated; self is its own window id. The first activation after loading
    /// records self as the own window and answers true (tracking starts); every later one
    /// answers false and changes nothing. The foreground is not read here: at the moment of
    /// activation the window manager may still report the window the user came from.
    bool activated(WId self);

    /// One tracking tick: a foreground window that may get the focus back becomes the target;
    /// while one of ours is in front the target keeps the last other window. On its way from
    /// one window to the next the focus passes through none for a moment: none becomes the
    /// target only when the tick before saw none too.
    void tick();

    /// The window system said the active window changed: as a tick, but none, always a
    /// passing moment here, is passed over.
    void activeWindowChanged();

    /// Asks for the target to come to the front, then reads the foreground up to kPolls times
    /// without pause until it is there. Answers whether it got there; false without asking
    /// when there is no target or it has gone.
    bool returnToTarget();

    WId OwnWindow() const { return m_ownWindow; }
    WId TargetWindow() const { return m_targetWindow; }
    bool FirstActivate() const { return m_firstActivate; }

private:
    platform::Foreground& m_foreground;
    OwnTest m_isOwn;
    WId m_ownWindow = 0;
    WId m_targetWindow = 0;
    /// The foreground at the last tick or change, to tell a lasting none from a passing one.
    WId m_lastSeen = 0;
    bool m_firstActivate = false;
};

}  // namespace masumemo::dictionary
