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
    // Pictures drawn in the proportional font are lined up in its dots: at 16 px a full-width
    // space is 11, a half-width space 5 and "." 3. Monapo and Mona have exactly those advances;
    // IPAPGothic and the rest only keep such pictures readable when neither is installed.
    QFont::insertSubstitutions(
        kPGothic, {QStringLiteral("Monapo"), QStringLiteral("Mona"), QStringLiteral("IPAPGothic"),
                   QStringLiteral("VL PGothic"), QStringLiteral("Noto Sans CJK JP")});
}

}  // namespace masumemo::platform
