#pragma once
// The one rule by which typed search text meets stored text, for emoticons and for parts: kana
// match whether written in hiragana or katakana, Latin letters (half- or full-width) in either
// case. Pure functions, no Qt.

#include <string>
#include <string_view>

namespace masumemo::grid {

/// One UTF-16 unit folded: katakana ァ..ヶ to the hiragana of the same sound, A..Z and Ａ..Ｚ
/// to lower case; every other unit as it is (so the folded text is exactly as long).
char16_t foldForSearch(char16_t unit);

/// text folded unit by unit.
std::u16string foldForSearch(std::u16string_view text);

/// True when foldedNeedle (already folded) is inside haystack once folded; an empty needle is
/// inside everything.
bool containsFolded(std::u16string_view haystack, std::u16string_view foldedNeedle);

}  // namespace masumemo::grid
