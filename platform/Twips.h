#pragma once
// Window geometry is stated in twips: 1/1440 inch, 15 twips to one logical pixel.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace masumemo::platform {

inline constexpr int kTwipsPerPixel = 15;

/// Twips to logical pixels, rounded to the nearest pixel (halves away from zero).
constexpr int px(int twips)
{
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

/// Logical pixels to twips.
constexpr int twips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

inline QRect pxRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

inline QSize pxSize(int width, int height)
{
    return QSize(px(width), px(height));
}

}  // namespace masumemo::platform
