#pragma once
// Numeric character references ("&#x200A;", "&#8202;") for the characters code page 932 lacks.
// The canvas holds such a character as itself; a Shift_JIS file and a board post hold it as its
// reference. Pure functions, no Qt.
//
// Only a character the canvas could not hold otherwise is written or read as a reference: one
// that code page 932 has ("&#65;", "&#x3042;"), a control, a surrogate half or a number past
// U+10FFFF is plain text, read and written as the characters it is made of.

#include <optional>
#include <string>
#include <string_view>

namespace masumemo::grid {

/// How references are written: "&#x200A;" is hex, upper-case digits, with ";".
struct ReferenceSpelling
{
    bool hex = true;
    bool upperCase = true;  ///< hex digits A-F rather than a-f (meaningless for decimal)
    bool semicolon = true;

    friend bool operator==(const ReferenceSpelling&, const ReferenceSpelling&) = default;
};

/// The spelling of a new picture, the one most used in pictures drawn for the boards.
inline constexpr ReferenceSpelling kNewPictureSpelling{};

/// True for a character the canvas keeps although code page 932 lacks it: a Unicode scalar value
/// (not a surrogate half, at most U+10FFFF) that is no control character and has no code page
/// 932 form.
bool isBeyondCp932(char32_t cp);

/// The reference of cp in spelling, appended to out.
void appendReference(std::u16string& out, char32_t cp, ReferenceSpelling spelling);
void appendReference(std::string& out, char32_t cp, ReferenceSpelling spelling);

/// The length of cp's reference in spelling, in characters (= bytes).
int referenceLength(char32_t cp, ReferenceSpelling spelling = kNewPictureSpelling);

/// The text with each reference ("&#" digits, "&#x" or "&#X" hex digits of either case, each
/// with or without ";") that stands for a character isBeyondCp932 replaced by that character
/// (a surrogate pair beyond the BMP). Digits are read as far as they go, so "&#x200Ab" is no
/// reference of U+200A (0x200AB is read, and kept as text when it does not qualify). Any other
/// reference is left as written. When mostUsed is given it receives the spelling that most of
/// the replaced references had, each of its three choices decided on its own (the case of hex
/// digits only by references with letters among them); a tie, or no reference, leaves that
/// choice as kNewPictureSpelling has it.
std::u16string decodeReferences(std::u16string_view text, ReferenceSpelling* mostUsed = nullptr);

/// decodeReferences on text itself, without a copy.
void decodeReferencesInPlace(std::u16string& text, ReferenceSpelling* mostUsed = nullptr);

/// decodeReferences(decodeCp932(bytes)) in one pass, for opening a file: a reference is read
/// from the bytes and never decoded as text first. Gives nothing when a control character other
/// than CR and LF stands where the reading of a reference stops (after an "&", "&#", "&#x", the
/// digits or the ";"): a reader that leaves controls out before it reads references must then
/// take the two steps. invalid: as decodeCp932 has it.
std::optional<std::u16string> decodeCp932WithReferences(std::string_view bytes, bool* invalid,
                                                        ReferenceSpelling* mostUsed);

/// The text with every character isBeyondCp932 written as its reference in spelling.
std::u16string withReferences(std::u16string_view text,
                              ReferenceSpelling spelling = kNewPictureSpelling);

/// Encodes to code page 932 as withReferences then encodeCp932 would, in one pass: characters
/// beyond code page 932 as references, a lone surrogate half as "?".
std::string encodeCp932WithReferences(std::u16string_view text, ReferenceSpelling spelling);

}  // namespace masumemo::grid
