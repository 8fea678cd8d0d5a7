#pragma once
// The one rule for which encoding a text file is in, for every file the program reads: canvas
// files, parts and emoticon lists. Pure functions, no Qt.
//
// A UTF-8 byte order mark, or bytes that are valid UTF-8 and hold at least one multi-byte
// sequence, mean UTF-8: text of any length in code page 932 is almost never valid multi-byte
// UTF-8, while short UTF-8 text is often valid code page 932 as well. Everything else (plain
// ASCII, broken UTF-8) is code page 932.

#include <string>
#include <string_view>

namespace masumemo::grid {

enum class TextEncoding
{
    Cp932,
    Utf8,
};

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

struct DetectedEncoding
{
    TextEncoding encoding = TextEncoding::Cp932;
    bool byteOrderMark = false;  ///< the bytes start with kUtf8ByteOrderMark

    friend bool operator==(const DetectedEncoding&, const DetectedEncoding&) = default;
};

DetectedEncoding detectEncoding(std::string_view bytes);

/// The text of bytes read in the detected encoding, without the byte order mark. A sequence
/// that is not valid in it reads as "?" (after a byte order mark, one "?" per broken byte, so a
/// broken character does not take its neighbours with it); invalid, when given, is set to
/// whether that happened.
std::u16string decodeText(std::string_view bytes, DetectedEncoding detected,
                          bool* invalid = nullptr);

/// Text as UTF-8 bytes (no byte order mark); a surrogate half without its partner is written
/// as "?".
std::string encodeUtf8(std::u16string_view text);

}  // namespace masumemo::grid
