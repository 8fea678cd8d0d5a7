#include "References.h"

#include <cstdint>
#include <cstring>

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

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

/// One reference read at text[at] (an "&").
struct Reference
{
    size_t length = 0;  ///< 0: no reference starts there
    char32_t cp = 0;
    bool hex = false;
    bool semicolon = false;
    int upper = 0;  ///< hex digits A-F
    int lower = 0;  ///< hex digits a-f
};

Reference readReference(std::u16string_view text, size_t at)
{
    Reference ref;
    size_t i = at + 1;
    if (i >= text.size() || text[i] != u'#') {
        return ref;
    }
    ++i;
    ref.hex = i < text.size() && (text[i] == u'x' || text[i] == u'X');
    if (ref.hex) {
        ++i;
    }
    const size_t digits = i;
    const int base = ref.hex ? 16 : 10;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int d = hexDigit(text[i]);
        if (d < 0 || d >= base) {
            break;
        }
        ref.upper += text[i] >= u'A' && text[i] <= u'F';
        ref.lower += text[i] >= u'a' && text[i] <= u'f';
        // Saturates: many digits make a number out of range, never an overflow.
        value = value > kLastCodePoint ? value : value * static_cast<std::uint64_t>(base) +
                                                     static_cast<std::uint64_t>(d);
    }
    if (i == digits) {
        return ref;
    }
    ref.semicolon = i < text.size() && text[i] == u';';
    ref.length = i + (ref.semicolon ? 1 : 0) - at;
    ref.cp = value > kLastCodePoint ? kLastCodePoint + 1 : static_cast<char32_t>(value);
    return ref;
}

/// True when text[next] would be read as part of a reference before it that had no ";": a digit
/// of its base, or a ";".
bool continuesReference(std::u16string_view text, size_t next, bool hex)
{
    if (next >= text.size()) {
        return false;
    }
    const int d = hexDigit(text[next]);
    return text[next] == u';' || (d >= 0 && (hex || d < 10));
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
        if (ref.cp >= 0x10000) {
            const char32_t v = ref.cp - 0x10000;
            text[written++] = static_cast<char16_t>(0xD800 + (v >> 10));
            text[written++] = static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        } else {
            text[written++] = static_cast<char16_t>(ref.cp);
        }
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
