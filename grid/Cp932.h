#pragma once
// Code page 932 (Shift_JIS as Windows writes it): the width rule, the codec and the
// round-trip form of characters that enter the canvas. Pure functions, no Qt.
//
// The mapping is glibc iconv's "CP932", read once into tables on first use, so a width or a
// conversion costs a table lookup per character, not an iconv call.

#include <string>
#include <string_view>

namespace masumemo::grid {

/// Width of one UTF-16 code unit in half-width units: its byte length in code page 932
/// (1 or 2). A unit with no code page 932 form (a character the canvas keeps as it is, a high
/// surrogate) counts 1, one cell of the grid; a low surrogate counts 0, its character being
/// counted at the high one.
int charWidth(char16_t c);

/// Width of a string in half-width units: the byte length of its code page 932 encoding, so
/// a character beyond the BMP (a surrogate pair) counts 1.
int WidthOf(std::u16string_view s);

/// True exactly when WidthOf(s) is 1. The empty string and strings of width 2 or more are not
/// half-width.
bool IsHalfWidth(std::u16string_view s);

/// True when the unit has a code page 932 form of its own (not substituted by "?").
bool isCp932Encodable(char16_t c);

/// The character that encoding c and decoding it again gives (U+301C WAVE DASH becomes
/// U+FF5E, U+2212 MINUS SIGN becomes U+FF0D); "?" for a unit without a code page 932 form.
char16_t roundTrip(char16_t c);

/// The round-trip form of a whole text, the form in which text enters the canvas: every unit
/// with a code page 932 form through roundTrip; any other character (a Unicode space, an emoji
/// as its surrogate pair) kept as it is, being one unit wide in the grid. A surrogate half
/// without its partner and a C1 control (U+0080..U+009F) without a form become "?". Line ends
/// and the C0 control characters are kept as they are (toIncomingCanvasText removes those).
std::u16string toCanvasForm(std::u16string_view s);

/// Encodes to code page 932; a unit without a code page 932 form is written as "?", and a
/// character beyond the BMP as one "?" (written for its high surrogate; a low surrogate adds
/// nothing), so the encoding is always WidthOf(s) bytes long.
std::string encodeCp932(std::u16string_view s);
/// The same, appended to out.
void appendCp932(std::string& out, std::u16string_view s);

/// Decodes code page 932 bytes. A byte sequence that is not valid code page 932 becomes "?"
/// (a lead byte without a valid trail byte becomes one "?" and the next byte is read on its
/// own). When invalid is given it is set to whether any such substitution happened.
std::u16string decodeCp932(std::string_view bytes, bool* invalid = nullptr);
/// The same, written to out, which has room for bytes.size() units; returns the end of what was
/// written. Sets invalid when a substitution happened and leaves it as it was otherwise.
char16_t* decodeCp932To(std::string_view bytes, char16_t* out, bool& invalid);

}  // namespace masumemo::grid
