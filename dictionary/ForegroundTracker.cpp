#include "ForegroundTracker.h"

#include <QGuiApplication>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace masumemo::dictionary {
namespace {

constexpr char kReturnTarget[] = "masumemoReturnTarget";

}  // namespace

void markAsReturnTarget(QWidget* window)
{
    window->setProperty(kReturnTarget, true);
}

bool isUnmarkedProgramWindow(WId w)
{
    if (w == 0) {
        return false;
    }
    if (const QWidget* widget = QWidget::find(w)) {
        return !widget->window()->property(kReturnTarget).toBool();
    }
    // A window without a widget (a platform dialog, say) is ours all the same. handle() is
    // asked first because winId() would create a window that does not exist yet.
    const QList<QWindow*> windows = QGuiApplication::allWindows();
    return std::any_of(windows.begin(), windows.end(), [w](const QWindow* window) {
        return window->handle() && window->winId() == w;
    });
}

ForegroundTracker::ForegroundTracker(platform::Foreground& foreground, OwnTest ownTest)
    : m_foreground(foreground),
      m_isOwn(ownTest ? std::move(ownTest) : OwnTest(&isUnmarkedProgramWindow))
{
}

bool ForegroundTracker::activated(WId self)
{
    if (!m_firstActivate) {
        return false;
    }
    m_ownWindow = self;
    m_lastSeen = self;
    m_firstActivate = false;
    return true;
}

void ForegroundTracker::tick()
{
    const WId h = m_foreground.activeWindow();
    const bool lasting = h != 0 || m_lastSeen == 0;
    m_lastSeen = h;
    if (lasting && h != m_ownWindow && !m_isOwn(h)) {
        m_targetWindow = h;
    }
}

void ForegroundTracker::activeWindowChanged()
{
    const WId h = m_foreground.activeWindow();
    if (h == 0) {
        return;
    }
    m_lastSeen = h;
    if (h != m_ownWindow && !m_isOwn(h)) {
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
