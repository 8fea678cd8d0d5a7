#pragma once
// UTF-8, read strictly: no overlong forms, no surrogates, nothing past U+10FFFF. Text comes out
// as UTF-16, a character beyond the BMP as a surrogate pair. Pure functions, no Qt.

#include <string>
#include <string_view>

namespace masumemo::grid {

/// True when bytes are valid UTF-8. multiByte, when given and the answer is true, is set to
/// whether any character took more than one byte. Builds no text, so it is the cheap question.
bool isValidUtf8(std::string_view bytes, bool* multiByte = nullptr);

/// Decodes valid UTF-8 into out. Answers false, with out unspecified, when bytes are not valid
/// UTF-8; multiByte as for isValidUtf8.
bool decodeUtf8(std::string_view bytes, std::u16string& out, bool* multiByte = nullptr);

/// Decodes UTF-8 that is known to be meant as UTF-8: a byte that starts no valid sequence
/// becomes replacement and reading goes on at the next byte, so one broken character does not
/// take its neighbours with it.
std::u16string decodeUtf8Replacing(std::string_view bytes, char16_t replacement);

/// Appends one code point (at most U+10FFFF) to UTF-16 text.
inline void appendUtf16(std::u16string& out, char32_t cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

}  // namespace masumemo::grid
