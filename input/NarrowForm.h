#pragma once
// The Japanese narrow (half-width) form of a text, used when a palette character is pressed
// with the right mouse button. A fixed table rather than a locale call, so the result is the
// same on every system and every output character has a code page 932 form.

#include <string>
#include <string_view>

namespace masumemo::input {

/// Each character of text in its narrow form:
/// - full-width ASCII variants U+FF01-U+FF5E become U+0021-U+007E, the full-width space U+3000
///   becomes U+0020;
/// - full-width katakana become half-width katakana; a voiced or semi-voiced one (ガ, パ, ヴ)
///   becomes two characters, the plain kana and ﾞ (U+FF9E) or ﾟ (U+FF9F);
/// - 、 。 「 」 ・ ー ゛ ゜ become ､ ｡ ｢ ｣ ･ ｰ ﾞ ﾟ.
/// Everything else is kept: characters with no half-width form (kanji, hiragana, Greek,
/// Cyrillic, box drawing, ヮ ヰ ヱ ヵ ヶ), half-width characters, and the symbols whose narrow
/// form has no code page 932 form of its own: the curly quotes, ￥ ￠ ￡ ￢ ￣ (their narrow
/// forms ¥ ¢ £ ¬ ¯ would come back from code page 932 as other characters).
std::u16string narrowForm(std::u16string_view text);

}  // namespace masumemo::input
