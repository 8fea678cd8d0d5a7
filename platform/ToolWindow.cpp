#include "ToolWindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include <mutex>

namespace masumemo::platform {
namespace {

const char* const kToolWindowProperty = "masumemoToolWindow";

/// A plain widget made a window would be announced as a filler inside nothing.
QAccessibleInterface* toolWindowAccessible(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || !widget->isWindow() ||
        !widget->property(kToolWindowProperty).toBool()) {
        return nullptr;
    }
    return new QAccessibleWidget(widget, QAccessible::Window);
}

}  // namespace

void makeToolWindow(QWidget& window)
{
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(toolWindowAccessible); });
    window.setProperty(kToolWindowProperty, true);
    // A tool window is kept above the window it belongs to (the window manager learns which)
    // and goes with it; it is not a window of its own in the taskbar.
    if (window.parentWidget() != nullptr) {
        window.setWindowFlags((window.windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
    }
}

}  // namespace masumemo::platform
