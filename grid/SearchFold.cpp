#include "SearchFold.h"

namespace masumemo::grid {
namespace {

// Katakana ァ..ヶ sit 0x60 above hiragana ぁ..ゖ.
constexpr char16_t kKatakanaFirst = 0x30A1;
constexpr char16_t kKatakanaLast = 0x30F6;
constexpr char16_t kKanaDistance = 0x60;

}  // namespace

char16_t foldForSearch(char16_t c)
{
    if (c >= kKatakanaFirst && c <= kKatakanaLast) {
        return static_cast<char16_t>(c - kKanaDistance);
    }
    if (c >= u'A' && c <= u'Z') {
        return static_cast<char16_t>(c - u'A' + u'a');
    }
    if (c >= 0xFF21 && c <= 0xFF3A) {  // full-width Ａ..Ｚ
        return static_cast<char16_t>(c + 0x20);
    }
    return c;
}

std::u16string foldForSearch(std::u16string_view text)
{
    std::u16string folded(text);
    for (char16_t& c : folded) {
        c = foldForSearch(c);
    }
    return folded;
}

bool containsFolded(std::u16string_view haystack, std::u16string_view foldedNeedle)
{
    const size_t n = foldedNeedle.size();
    for (size_t start = 0; start + n <= haystack.size(); ++start) {
        size_t k = 0;
        while (k < n && foldForSearch(haystack[start + k]) == foldedNeedle[k]) {
            ++k;
        }
        if (k == n) {
            return true;
        }
    }
    return false;
}

}  // namespace masumemo::grid
