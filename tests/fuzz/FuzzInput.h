#pragma once
// Choices read from a fuzz input, for the checks that build their cases from it. Plain C++, so
// the replay of kept inputs needs no libFuzzer header. Once the bytes run out, every choice is
// its lowest value and every string is empty.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "grid/Cp932.h"

namespace masumemo::fuzzcheck {

class FuzzInput
{
public:
    explicit FuzzInput(std::string_view bytes) : m_bytes(bytes) {}

    bool empty() const { return m_bytes.empty(); }

    /// A number in [lo, hi], read from as few bytes as the range needs.
    int pick(int lo, int hi)
    {
        if (hi <= lo) {
            return lo;
        }
        const std::uint64_t range = static_cast<std::uint64_t>(hi) - lo + 1;
        std::uint64_t value = 0;
        for (std::uint64_t reach = 1; reach < range && !m_bytes.empty(); reach <<= 8) {
            value = value << 8 | static_cast<unsigned char>(m_bytes.front());
            m_bytes.remove_prefix(1);
        }
        return static_cast<int>(lo + static_cast<std::int64_t>(value % range));
    }

    bool flip() { return pick(0, 1) == 1; }

    /// One of the tokens, or (for the last choice) a character of any code: a canvas character
    /// as the editor holds it, never a control or half a surrogate pair.
    template <size_t N>
    std::u16string token(const std::u16string_view (&tokens)[N])
    {
        const int i = pick(0, static_cast<int>(N));
        if (i < static_cast<int>(N)) {
            return std::u16string(tokens[i]);
        }
        return anyCharacter();
    }

    std::u16string anyCharacter()
    {
        const int c = pick(0x20, 0x10FFFF);
        if (c >= 0x10000) {
            const int v = c - 0x10000;
            return {static_cast<char16_t>(0xD800 + (v >> 10)),
                    static_cast<char16_t>(0xDC00 + (v & 0x3FF))};
        }
        const auto unit = static_cast<char16_t>(c);
        if (c == 0x7F || (c >= 0x80 && c < 0xA0) || (c >= 0xD800 && c <= 0xDFFF)) {
            return u"?";
        }
        // The canvas holds the form code page 932 gives back (U+301C comes back as U+FF5E).
        return {grid::isCp932Encodable(unit) ? grid::roundTrip(unit) : unit};
    }

private:
    std::string_view m_bytes;
};

/// Canvas characters that the board rules look at (blanks of every kind, references, the
/// characters a board writes as entities), and a few they should leave alone.
inline constexpr std::u16string_view kCanvasTokens[] = {
    u" ",      u" ",      u" ",      u"\u3000", u"\u3000",     u"\u2002", u"\u2003", u"\u2004",
    u"\u2005", u"\u2006", u"\u2007", u"\u2008", u"\u2009",     u"\u200A", u"\u200B", u"a",
    u"\uFF71", u"\u3042", u"&",      u"#",      u"x",          u"1",      u"F",      u";",
    u"amp",    u"<",      u">",      u"\"",     u"\U0001F600",
};

/// A canvas line of such characters, and now and then any other.
inline std::u16string canvasLine(FuzzInput& in)
{
    std::u16string line;
    const int tokens = in.pick(0, 12);
    for (int i = 0; i < tokens; ++i) {
        line += in.token(kCanvasTokens);
    }
    return line;
}

/// Text for messages: UTF-16 as UTF-8, each unit alone (enough to read a failure).
inline std::string shown(std::u16string_view s)
{
    std::string out;
    for (const char16_t c : s) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            char hex[12];
            std::snprintf(hex, sizeof hex, "<U+%04X>", static_cast<unsigned>(c));
            out += hex;
        }
    }
    return out;
}

}  // namespace masumemo::fuzzcheck
