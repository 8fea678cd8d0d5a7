#pragma once
// Reading the underlay picture from its file: refused before decoding when too large, checked
// for a cut-off end, and decoded straight to the size it is kept at. Safe off the GUI thread.

#include <QImage>
#include <QString>

#include "UnderlayRules.h"

namespace masumemo::underlay {

struct DecodedUnderlay
{
    QImage image;        ///< at keptSize(natural, scale); null on failure
    PixelSize natural;   ///< the picture's own size, upright
    QString error;       ///< why it could not be read; empty on success
};

DecodedUnderlay decodeUnderlay(const QString& path, int scale);

/// "description|patterns" for the Open dialog: every format the image plugins read.
QString underlayFileFilter();

}  // namespace masumemo::underlay
