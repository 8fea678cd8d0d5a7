#include "References.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "Cp932.h"
#include "Utf8.h"

namespace masumemo::grid {
namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

bool isControl(char32_t cp)
{
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
}

bool isSurrogate(char32_t cp)
{
    return cp >= 0xD800 && cp <= 0xDFFF;
}

int hexDigit(char32_t c)
{
    if (c >= u'0' && c <= u'9') {
        return static_cast<int>(c - u'0');
    }
    if (c >= u'a' && c <= u'f') {
        return static_cast<int>(c - u'a' + 10);
    }
    if (c >= u'A' && c <= u'F') {
        return static_cast<int>(c - u'A' + 10);
    }
    return -1;
}

/// One reference read at text[at] (an "&").
struct Reference
{
    size_t length = 0;  ///< 0: no reference starts there
    size_t end = 0;     ///< the unit that ended the reading (text.size() at the end)
    char32_t cp = 0;
    bool hex = false;
    bool semicolon = false;
    int upper = 0;  ///< hex digits A-F
    int lower = 0;  ///< hex digits a-f
};

/// The unit at text[i] as a number, a byte read without its sign; 0 past the end.
template <typename Char>
char32_t unitAt(std::basic_string_view<Char> text, size_t i)
{
    return i < text.size() ? static_cast<std::make_unsigned_t<Char>>(text[i]) : 0;
}

/// Reads the decoded text, or the bytes of a code page 932 file: every byte a reference is
/// made of is a character of its own there.
template <typename Char>
Reference readReference(std::basic_string_view<Char> text, size_t at)
{
    Reference ref;
    size_t i = at + 1;
    if (unitAt(text, i) == u'#') {
        ++i;
        ref.hex = unitAt(text, i) == u'x' || unitAt(text, i) == u'X';
        i += ref.hex ? 1 : 0;
        const size_t digits = i;
        const int base = ref.hex ? 16 : 10;
        std::uint64_t value = 0;
        for (;; ++i) {
            const char32_t c = unitAt(text, i);
            const int d = hexDigit(c);
            if (d < 0 || d >= base) {
                break;
            }
            ref.upper += c >= u'A' && c <= u'F';
            ref.lower += c >= u'a' && c <= u'f';
            // Saturates: many digits make a number out of range, never an overflow.
            value = value > kLastCodePoint ? value : value * static_cast<std::uint64_t>(base) +
                                                         static_cast<std::uint64_t>(d);
        }
        if (i > digits) {
            ref.semicolon = unitAt(text, i) == u';';
            i += ref.semicolon ? 1 : 0;
            ref.length = i - at;
            ref.cp = value > kLastCodePoint ? kLastCodePoint + 1 : static_cast<char32_t>(value);
        }
    }
    ref.end = i;
    return ref;
}

/// True when text[next] would be read as part of a reference before it that had no ";": a digit
/// of its base, or a ";".
template <typename Char>
bool continuesReference(std::basic_string_view<Char> text, size_t next, bool hex)
{
    const char32_t c = unitAt(text, next);
    const int d = hexDigit(c);
    return c == u';' || (d >= 0 && (hex || d < 10));
}

/// Votes for each choice of a spelling; a tie keeps the new picture's choice.
struct SpellingVotes
{
    int hex = 0;
    int decimal = 0;
    int upper = 0;
    int lower = 0;
    int semicolon = 0;
    int bare = 0;

    /// semicolonNeeded: what follows would continue or end the reference without its ";", so
    /// every spelling has one there and it says nothing of the file's.
    void count(const Reference& ref, bool semicolonNeeded)
    {
        (ref.hex ? hex : decimal) += 1;
        if (!semicolonNeeded) {
            (ref.semicolon ? semicolon : bare) += 1;
        }
        if (ref.upper > 0 || ref.lower > 0) {
            (ref.upper >= ref.lower ? upper : lower) += 1;
        }
    }

    ReferenceSpelling winner() const
    {
        ReferenceSpelling s = kNewPictureSpelling;
        if (hex != decimal) {
            s.hex = hex > decimal;
        }
        if (upper != lower) {
            s.upperCase = upper > lower;
        }
        if (semicolon != bare) {
            s.semicolon = semicolon > bare;
        }
        return s;
    }
};

template <typename String>
void appendReferenceTo(String& out, char32_t cp, ReferenceSpelling spelling)
{
    using Char = typename String::value_type;
    char digits[8];
    int n = 0;
    const char32_t base = spelling.hex ? 16 : 10;
    const char* alphabet = spelling.upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    do {
        digits[n++] = alphabet[cp % base];
        cp /= base;
    } while (cp > 0);
    out.push_back(static_cast<Char>('&'));
    out.push_back(static_cast<Char>('#'));
    if (spelling.hex) {
        out.push_back(static_cast<Char>('x'));
    }
    while (n > 0) {
        out.push_back(static_cast<Char>(digits[--n]));
    }
    if (spelling.semicolon) {
        out.push_back(static_cast<Char>(';'));
    }
}

bool isPairAt(std::u16string_view s, size_t i)
{
    return s[i] >= 0xD800 && s[i] <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
           s[i + 1] <= 0xDFFF;
}

char32_t pairValue(char16_t high, char16_t low)
{
    return 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) +
           (static_cast<char32_t>(low) - 0xDC00);
}

/// Calls plain(i, n) for each run of units kept as they are and beyond(cp, next) for each
/// character beyond code page 932 (next: the index after it), in order.
template <typename Plain, typename Beyond>
void splitBeyond(std::u16string_view text, Plain&& plain, Beyond&& beyond)
{
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (isCp932Encodable(text[i])) {
            continue;
        }
        const bool pair = isPairAt(text, i);
        const char32_t cp = pair ? pairValue(text[i], text[i + 1]) : text[i];
        if (!isBeyondCp932(cp)) {
            continue;
        }
        plain(start, i - start);
        i += pair ? 1 : 0;
        beyond(cp, i + 1);
        start = i + 1;
    }
    plain(start, text.size() - start);
}

/// The spelling for a reference followed by text[next]: without its ";" a digit after it would
/// be read as more of its number, and a ";" as its end, so then it keeps the ";".
ReferenceSpelling spellingBefore(std::u16string_view text, size_t next, ReferenceSpelling spelling)
{
    spelling.semicolon = spelling.semicolon || continuesReference(text, next, spelling.hex);
    return spelling;
}

/// The index of the next "&#" in text from `from` on, or npos. Opening a file scans every unit
/// for it, so the search runs over the bytes with memchr, which is many times faster than a
/// loop over the units; a 0x26 byte that is half of another unit is passed over.
size_t findReferenceStart(std::u16string_view text, size_t from)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t end = text.size() * sizeof(char16_t);
    size_t at = from * sizeof(char16_t);
    while (at < end) {
        const void* hit = std::memchr(bytes + at, '&', end - at);
        if (hit == nullptr) {
            return std::u16string_view::npos;
        }
        const auto byte = static_cast<size_t>(static_cast<const unsigned char*>(hit) - bytes);
        const size_t unit = byte / sizeof(char16_t);
        if (text[unit] == u'&' && unit + 1 < text.size() && text[unit + 1] == u'#') {
            return unit;
        }
        at = byte + 1;
    }
    return std::u16string_view::npos;
}

/// Writes cp at out (a surrogate pair beyond the BMP); returns the end of what was written.
char16_t* putCharacter(char16_t* out, char32_t cp)
{
    if (cp >= 0x10000) {
        const char32_t v = cp - 0x10000;
        *out++ = static_cast<char16_t>(0xD800 + (v >> 10));
        *out++ = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
    } else {
        *out++ = static_cast<char16_t>(cp);
    }
    return out;
}

/// True for the control characters a canvas file leaves out: all but the line ends.
bool isLeftOutControl(char32_t c)
{
    return (c < 0x20 && c != u'\r' && c != u'\n') || c == 0x7F;
}

}  // namespace

bool isBeyondCp932(char32_t cp)
{
    if (cp > kLastCodePoint || isSurrogate(cp) || isControl(cp)) {
        return false;
    }
    return cp > 0xFFFF || !isCp932Encodable(static_cast<char16_t>(cp));
}

void appendReference(std::u16string& out, char32_t cp, ReferenceSpelling spelling)
{
    appendReferenceTo(out, cp, spelling);
}

void appendReference(std::string& out, char32_t cp, ReferenceSpelling spelling)
{
    appendReferenceTo(out, cp, spelling);
}

int referenceLength(char32_t cp, ReferenceSpelling spelling)
{
    int length = spelling.hex ? 3 : 2;  // "&#x" or "&#"
    const char32_t base = spelling.hex ? 16 : 10;
    do {
        ++length;
        cp /= base;
    } while (cp > 0);
    return length + (spelling.semicolon ? 1 : 0);
}

void decodeReferencesInPlace(std::u16string& text, ReferenceSpelling* mostUsed)
{
    // A reference is always longer than the one or two units it stands for (a character beyond
    // code page 932 needs at least three digits, one beyond U+FFFF five), so the decoded text
    // is written over the text already read, without a second buffer.
    SpellingVotes votes;
    const std::u16string_view in(text);
    size_t written = 0;
    size_t copied = 0;
    for (size_t amp = findReferenceStart(in, 0); amp != std::u16string_view::npos;) {
        const Reference ref = readReference(in, amp);
        if (ref.length == 0 || !isBeyondCp932(ref.cp)) {
            amp = findReferenceStart(in, amp + 1);
            continue;
        }
        votes.count(ref, ref.semicolon && continuesReference(in, amp + ref.length, ref.hex));
        if (written != copied) {
            std::char_traits<char16_t>::move(text.data() + written, text.data() + copied,
                                             amp - copied);
        }
        written += amp - copied;
        written = static_cast<size_t>(putCharacter(text.data() + written, ref.cp) - text.data());
        copied = amp + ref.length;
        amp = findReferenceStart(in, copied);
    }
    if (copied > 0) {
        std::char_traits<char16_t>::move(text.data() + written, text.data() + copied,
                                         text.size() - copied);
        text.resize(written + text.size() - copied);
    }
    if (mostUsed) {
        *mostUsed = votes.winner();
    }
}

std::optional<std::u16string> decodeCp932WithReferences(std::string_view bytes, bool* invalid,
                                                        ReferenceSpelling* mostUsed)
{
    // A byte below 0x40 is never the second byte of a character, so every "&" among the bytes
    // starts a character, and a reference (made of such bytes only) reads the same from the
    // bytes as from their decoded text. The runs between "&"s go through the plain decoder.
    std::u16string out(bytes.size(), u'\0');  // a character is never more units than bytes
    char16_t* o = out.data();
    bool bad = false;
    SpellingVotes votes;
    for (size_t at = 0; at < bytes.size();) {
        if (bytes[at] != '&') {
            const size_t amp = std::min(bytes.find('&', at), bytes.size());
            o = decodeCp932To(bytes.substr(at, amp - at), o, bad);
            at = amp;
            continue;
        }
        const Reference ref = readReference(bytes, at);
        // Reading looked at nothing past ref.end (nor did the vote on its ";"); a control there
        // would be left out first and let what follows join the reference.
        if (ref.end < bytes.size() && isLeftOutControl(unitAt(bytes, ref.end))) {
            return std::nullopt;
        }
        if (ref.length == 0 || !isBeyondCp932(ref.cp)) {
            *o++ = u'&';
            ++at;
            continue;
        }
        votes.count(ref, ref.semicolon && continuesReference(bytes, ref.end, ref.hex));
        o = putCharacter(o, ref.cp);
        at = ref.end;
    }
    out.resize(static_cast<size_t>(o - out.data()));
    if (invalid) {
        *invalid = bad;
    }
    if (mostUsed) {
        *mostUsed = votes.winner();
    }
    return out;
}

std::u16string decodeReferences(std::u16string_view text, ReferenceSpelling* mostUsed)
{
    std::u16string out(text);
    decodeReferencesInPlace(out, mostUsed);
    return out;
}

std::u16string withReferences(std::u16string_view text, ReferenceSpelling spelling)
{
    std::u16string out;
    out.reserve(text.size());
    splitBeyond(
        text, [&](size_t at, size_t n) { out.append(text.substr(at, n)); },
        [&](char32_t cp, size_t next) {
            appendReference(out, cp, spellingBefore(text, next, spelling));
        });
    return out;
}

std::string encodeCp932WithReferences(std::u16string_view text, ReferenceSpelling spelling)
{
    std::string out;
    out.reserve(text.size() * 2);
    splitBeyond(
        text, [&](size_t at, size_t n) { appendCp932(out, text.substr(at, n)); },
        [&](char32_t cp, size_t next) {
            appendReference(out, cp, spellingBefore(text, next, spelling));
        });
    return out;
}

}  // namespace masumemo::grid
