#include "Foreground.h"

#include <QGuiApplication>

#ifdef MASUMEMO_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>

#include "ForegroundX11.h"
#endif

namespace masumemo::platform {

std::unique_ptr<Foreground> createForeground(const QString& platformName)
{
#ifdef MASUMEMO_HAVE_XCB
    if (platformName == QLatin1String("xcb") && qGuiApp) {
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            if (xcb_connection_t* connection = x11->connection()) {
                return std::make_unique<X11Foreground>(connection);
            }
        }
    }
#else
    Q_UNUSED(platformName);
#endif
    return std::make_unique<NullForeground>();
}

std::unique_ptr<Foreground> createForeground()
{
    return createForeground(QGuiApplication::platformName());
}

}  // namespace masumemo::platform
