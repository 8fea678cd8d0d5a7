#pragma once
// Which encoding a dictionary file is in, and its text. Pure functions, no Qt.
//
// Dictionary files were code page 932; lists gathered today are UTF-8 and hold characters
// code page 932 lacks. Which one a file is the program's one rule decides (grid/TextEncoding.h:
// a byte order mark, or valid UTF-8 with a multi-byte sequence); a broken sequence after a byte
// order mark reads as U+FFFD.

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
