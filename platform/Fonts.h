#pragma once
// The canvas fonts keep the names users know; Qt's font substitution maps them to the fixed
// and proportional Gothic faces that Linux has (IPA first).

#include <QString>

namespace masumemo::platform {

inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");

/// Registers the substitutions for both names. Call once after QApplication exists.
void installFontSubstitutions();

}  // namespace masumemo::platform
