#pragma once
// The program's icon, drawn from our own SVG. It is rendered here rather than through Qt's
// image plugins so the icon shows even where the SVG plugin is missing.

#include <QIcon>
#include <QPixmap>

namespace masumemo::launcher {

/// The icon at a given logical size, for the chooser and About.
QPixmap programPixmap(int size);

/// The window icon, with the sizes window managers ask for.
QIcon programIcon();

}  // namespace masumemo::launcher
