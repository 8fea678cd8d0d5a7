#include "WindowPlacement.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace masumemo::platform {

QRect besideOwner(const QRect& owner, QSize window, int minWidth, const QRect& screen)
{
    const int top = std::clamp(owner.top(), screen.top(),
                               std::max(screen.top(), screen.bottom() + 1 - window.height()));
    const int roomRight = screen.right() - owner.right();
    const int roomLeft = owner.left() - screen.left();
    const int width = window.width();
    if (width <= roomRight) {
        return {QPoint(owner.right() + 1, top), window};
    }
    if (width <= roomLeft) {
        return {QPoint(owner.left() - width, top), window};
    }
    const int room = std::max(roomRight, roomLeft);
    if (minWidth <= room) {
        const int left = roomRight >= roomLeft ? owner.right() + 1 : owner.left() - room;
        return {QPoint(left, top), QSize(room, window.height())};
    }
    return {QPoint(std::max(screen.left(), screen.right() + 1 - width), top), window};
}

void placeBesideOwner(QWidget& window, const QWidget& owner)
{
    const QScreen* screen = owner.screen();
    if (screen == nullptr) {
        return;
    }
    // Not shown yet, the window has no frame of its own: the owner's tells its size.
    const QSize frame = owner.frameGeometry().size() - owner.size();
    const QRect place =
        besideOwner(owner.frameGeometry(), window.size() + frame,
                    window.minimumSizeHint().width() + frame.width(), screen->availableGeometry());
    window.resize(place.size() - frame);
    window.move(place.topLeft());
}

}  // namespace masumemo::platform
