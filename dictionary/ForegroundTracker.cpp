#include "ForegroundTracker.h"

namespace masumemo::dictionary {

bool ForegroundTracker::activated(WId self)
{
    if (!m_firstActivate) {
        return false;
    }
    m_self = self;
    m_ownWindow = m_foreground.activeWindow();
    m_firstActivate = false;
    return true;
}

void ForegroundTracker::tick()
{
    const WId h = m_foreground.activeWindow();
    if (h != m_ownWindow && !isOwn(h)) {
        m_targetWindow = h;
    }
}

bool ForegroundTracker::returnToTarget()
{
    if (m_targetWindow == 0 || !m_foreground.activateWindow(m_targetWindow)) {
        return false;
    }
    for (int i = 0; i < kPolls; ++i) {
        if (m_foreground.activeWindow() == m_targetWindow) {
            return true;
        }
    }
    return false;
}

}  // namespace masumemo::dictionary
