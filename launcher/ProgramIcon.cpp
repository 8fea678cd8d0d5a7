#include "ProgramIcon.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace masumemo::launcher {
namespace {

QPixmap render(int size, qreal ratio)
{
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/app/masumemo.svg"));
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return pixmap;
}

}  // namespace

QPixmap programPixmap(int size)
{
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    return render(size, ratio);
}

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(render(size, 1.0));
    }
    return icon;
}

}  // namespace masumemo::launcher
