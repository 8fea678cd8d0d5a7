#pragma once
// Which encoding a dictionary file is in, and its text. Pure functions, no Qt.
//
// Dictionary files were code page 932; lists gathered today are UTF-8 and hold characters
// code page 932 lacks. A file is read as UTF-8 when it starts with a UTF-8 byte order mark, or
// when it is valid UTF-8 with at least one multi-byte sequence and is not valid code page 932.
// Everything else (plain ASCII, text valid in both, anything broken) reads as code page 932,
// as before.

#include <string>
#include <string_view>

namespace masumemo::dictionary {

enum class TextEncoding
{
    Cp932,
    Utf8,
};

/// The decoded text of a dictionary file's bytes, without its byte order mark; used, when
/// given, receives the encoding it was read in.
std::u16string decodeDictionaryText(std::string_view bytes, TextEncoding* used = nullptr);

/// True when every character of text has a code page 932 form (a file holding one that lacks
/// it loses it when written back in code page 932).
bool fitsCp932(std::u16string_view text);

}  // namespace masumemo::dictionary
