#pragma once
// The canvas fonts keep the names users know; Qt's font substitution maps them to faces Linux
// has: the fixed one to IPAGothic, the proportional one to a face with the board font's widths.

#include <QString>

namespace masumemo::platform {

inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");

/// Registers the substitutions for both names. Call once after QApplication exists.
void installFontSubstitutions();

}  // namespace masumemo::platform
