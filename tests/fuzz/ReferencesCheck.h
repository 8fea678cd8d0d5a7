#pragma once
// What must hold for numeric character references read from files and written back, shared by
// the fuzzer and the replay of the inputs it found. Each check answers an empty string, or what
// went wrong.

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

#include "grid/Cp932.h"
#include "grid/Fit.h"
#include "grid/References.h"
#include "tests/fuzz/FuzzInput.h"

namespace masumemo::fuzzcheck {

inline grid::ReferenceSpelling spellingFrom(FuzzInput& in)
{
    return {in.flip(), in.flip(), in.flip()};
}

inline std::string spellingName(grid::ReferenceSpelling s)
{
    return std::string(s.hex ? "hex" : "decimal") + (s.upperCase ? " upper" : " lower") +
           (s.semicolon ? " with ;" : " without ;");
}

/// Characters beside references: what could continue or end one, and a few others.
inline constexpr std::u16string_view kReferenceTokens[] = {
    u"&",      u"#",      u"x",      u"X",      u"0",          u"1",  u"9",
    u"A",      u"a",      u"F",      u"f",      u";",          u"g",  u" ",
    u"\u3042", u"\u2009", u"\u200A", u"\u00E9", u"\U0001F600", u"&#", u"&#x",
};

/// A text read back the same: decoding a text that holds no reference changes nothing.
inline std::string checkTextRoundTrip(FuzzInput& in)
{
    std::u16string text;
    const int tokens = in.pick(0, 16);
    for (int i = 0; i < tokens; ++i) {
        text += in.token(kReferenceTokens);
    }
    if (grid::decodeReferences(text) != text) {
        return {};  // the text itself reads as a reference, which no writer can keep apart
    }
    for (int k = 0; k < 8; ++k) {
        const grid::ReferenceSpelling spelling{(k & 1) != 0, (k & 2) != 0, (k & 4) != 0};
        const std::string where = " in " + spellingName(spelling) + ": " + shown(text);
        const std::u16string written = grid::withReferences(text, spelling);
        if (grid::decodeReferences(written) != text) {
            return "a text written with references reads back otherwise" + where + " -> " +
                   shown(written) + " -> " + shown(grid::decodeReferences(written));
        }
        const std::string bytes = grid::encodeCp932WithReferences(text, spelling);
        if (bytes != grid::encodeCp932(written)) {
            return "the one-pass encoding differs from the references then code page 932" + where;
        }
        // The file in that spelling: read and written again in the spelling it was found in.
        grid::ReferenceSpelling found;
        const std::u16string read = grid::decodeReferences(grid::decodeCp932(bytes), &found);
        if (grid::encodeCp932WithReferences(read, found) != bytes) {
            return "a file read and written back in its spelling (found " + spellingName(found) +
                   ") changed its bytes" + where;
        }
    }
    return {};
}

/// A reference to what the canvas can hold otherwise (a code page 932 character, a control, a
/// surrogate half, nothing, past U+10FFFF) stays text, in any spelling and with leading zeros.
inline std::string checkReferencesLeftAsText(FuzzInput& in)
{
    char32_t cp = 0;
    switch (in.pick(0, 4)) {
        case 0: {
            const auto c = static_cast<char16_t>(in.pick(0x20, 0xFFFF));
            cp = grid::isCp932Encodable(c) ? c : u'A';
            break;
        }
        case 1:
            cp = static_cast<char32_t>(in.flip() ? in.pick(0, 0x1F) : in.pick(0x7F, 0x9F));
            break;
        case 2:
            cp = static_cast<char32_t>(in.pick(0xD800, 0xDFFF));
            break;
        case 3:
            cp = static_cast<char32_t>(in.pick(0x110000, 0x7FFFFFFF));
            break;
        default:
            cp = 0;
            break;
    }
    const grid::ReferenceSpelling spelling = spellingFrom(in);
    std::u16string reference = spelling.hex ? u"&#x" : u"&#";
    reference.append(static_cast<size_t>(in.pick(0, 3)), u'0');
    const std::u16string_view alphabet =
        spelling.upperCase ? u"0123456789ABCDEF" : u"0123456789abcdef";
    const char32_t base = spelling.hex ? 16 : 10;
    std::u16string digits;
    for (char32_t v = cp; digits.empty() || v > 0; v /= base) {
        digits.insert(digits.begin(), alphabet[v % base]);
    }
    reference += digits;
    if (spelling.semicolon) {
        reference += u';';
    }
    const std::u16string text = u"a" + reference + (in.flip() ? u"g" : u"");
    if (grid::decodeReferences(text) != text) {
        return "a reference to U+" + std::to_string(static_cast<unsigned long>(cp)) +
               " became a character: " + shown(text);
    }
    return {};
}

/// Any bytes read as a file's text and written back in the spelling found read the same again.
inline std::string checkAnyFileText(std::string_view bytes)
{
    grid::ReferenceSpelling found;
    const std::u16string read = grid::decodeReferences(grid::decodeCp932(bytes), &found);
    const std::string written = grid::encodeCp932WithReferences(read, found);
    if (grid::decodeReferences(grid::decodeCp932(written)) != read) {
        return "a file's text written back in its spelling reads otherwise (" +
               spellingName(found) + ")";
    }
    return {};
}

/// What stands in and around references in a Shift_JIS file: their bytes, the controls a file
/// loses and the line ends it keeps, a lead byte alone, a whole two-byte character, a byte
/// without a character, a half-width kana.
inline constexpr std::string_view kFileByteTokens[] = {
    "&", "#", "x", "X", "0", "2", "9", "A", "a", "f", ";", "g", "\t", "\r", "\n", "\x7F",
    std::string_view("\0", 1), "\x1F", "\x81", "\x82\xA0", "\xA0", "\xB1", "&#x200A;",
    "&#x1F600", "&#8201",
};

inline bool isLeftOutControl(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b < 0x20 && b != '\r' && b != '\n') || b == 0x7F;
}

/// A code page 932 file's text is read in one pass over its bytes: it must be what decoding,
/// leaving out the controls and reading the references one after another give, with the same
/// "?" and controls reported and the same spelling found. The one pass may decline only where
/// a control could change a reference.
inline std::string checkFileTextInOnePass(std::string_view bytes)
{
    grid::CanvasFile file;
    const std::u16string text = grid::readCanvasFileText(bytes, {}, file);
    bool substituted = false;
    std::u16string stepwise = grid::decodeCp932(bytes, &substituted);
    const bool dropped = std::erase_if(stepwise, [](char16_t c) {
                             return c < 0x80 && isLeftOutControl(static_cast<char>(c));
                         }) > 0;
    grid::ReferenceSpelling spelling;
    stepwise = grid::decodeReferences(stepwise, &spelling);
    const std::string where = ": " + shown(grid::decodeCp932(bytes));
    if (text != stepwise) {
        return "the file's text read in one pass differs from the steps (" + shown(text) +
               " against " + shown(stepwise) + ")" + where;
    }
    if (file.substituted != substituted || file.controlsDropped != dropped) {
        return "the file's text read in one pass reports other substitutions or controls" + where;
    }
    if (file.form.spelling != spelling) {
        return "the file's text read in one pass finds " + spellingName(file.form.spelling) +
               ", the steps " + spellingName(spelling) + where;
    }
    bool invalid = false;
    if (!grid::decodeCp932WithReferences(bytes, &invalid, &spelling) &&
        std::ranges::none_of(bytes, isLeftOutControl)) {
        return "the one pass declined a file without controls" + where;
    }
    return {};
}

inline std::string checkReferences(std::string_view bytes)
{
    FuzzInput in(bytes);
    std::string problem = checkTextRoundTrip(in);
    if (problem.empty()) {
        problem = checkReferencesLeftAsText(in);
    }
    if (problem.empty()) {
        std::string file;
        const int tokens = in.pick(0, 24);
        for (int i = 0; i < tokens; ++i) {
            file += kFileByteTokens[in.pick(0, static_cast<int>(std::size(kFileByteTokens)) - 1)];
        }
        problem = checkFileTextInOnePass(file);
    }
    if (problem.empty()) {
        problem = checkFileTextInOnePass(bytes);
    }
    return problem.empty() ? checkAnyFileText(bytes) : problem;
}

}  // namespace masumemo::fuzzcheck
