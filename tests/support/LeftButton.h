#pragma once
// A press, move or release of the left mouse button sent straight to a widget, as the widget
// tests drag and click with it (a move is made with the button held).

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace masumemo::testing {

inline void leftButton(QWidget* to, QEvent::Type type, QPoint at)
{
    QMouseEvent e(type, at, to->mapToGlobal(at),
                  type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(to, &e);
}

}  // namespace masumemo::testing
