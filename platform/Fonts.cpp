#include "Fonts.h"

#include <QFont>
#include <QStringList>

namespace masumemo::platform {

void installFontSubstitutions()
{
    // In IPAGothic every two-byte character is exactly twice as wide as a one-byte one, so the
    // grid lines up; the others are fallbacks with the same property for most characters.
    QFont::insertSubstitutions(kGothic, {QStringLiteral("IPAGothic"), QStringLiteral("VL Gothic"),
                                         QStringLiteral("Noto Sans Mono CJK JP")});
    QFont::insertSubstitutions(kPGothic, {QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"),
                                          QStringLiteral("Noto Sans CJK JP")});
}

}  // namespace masumemo::platform
