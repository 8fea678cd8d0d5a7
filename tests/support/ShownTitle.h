#pragma once
// The title as the window system shows it: with the unsaved-changes mark put in, or taken out,
// where the window's title holds its place.

#include <QWidget>
#include <QWindow>

namespace masumemo::testing {

inline QString shownTitle(const QWidget& w)
{
    if (const QWindow* handle = w.windowHandle()) {
        return handle->title();
    }
    // Not shown yet: the placeholder as Qt fills it for a title without a literal "[*]".
    return w.windowTitle().replace(QStringLiteral("[*]"),
                                   w.isWindowModified() ? QStringLiteral("*") : QString());
}

}  // namespace masumemo::testing
