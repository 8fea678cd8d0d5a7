#include "Cp932.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace masumemo::grid {
namespace {

constexpr char16_t kQuestion = u'?';

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

/// True when s[i] starts a surrogate pair: one character beyond the BMP, one "?".
bool isPairAt(std::u16string_view s, size_t i)
{
    return isHighSurrogate(s[i]) && i + 1 < s.size() && isLowSurrogate(s[i + 1]);
}

bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

class Iconv
{
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Iconv() { iconv_close(m_cd); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    /// Converts in whole; returns the number of output bytes, or -1 when the input was not
    /// converted completely.
    int convert(const char* in, size_t inLen, char* out, size_t outLen)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in);
        char* outPtr = out;
        size_t inLeft = inLen;
        size_t outLeft = outLen;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
            inLeft != 0) {
            return -1;
        }
        // Flush any shift state; CP932 has none, but a stateful tail would be lost otherwise.
        if (iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            return -1;
        }
        return static_cast<int>(outLen - outLeft);
    }

private:
    iconv_t m_cd;
};

struct Tables
{
    // Encoding of each BMP unit: up to two bytes, high byte first; length 0 = no form.
    std::array<std::uint16_t, 0x10000> encoded{};
    std::array<std::uint8_t, 0x10000> length{};
    // Width in half-width units: 2 for a two-byte form, 1 otherwise ("?" stands for none).
    // A character beyond the BMP is one "?", counted at its high surrogate: low surrogates
    // count 0, so the width of a text is the sum over its units however it is cut.
    std::array<std::uint8_t, 0x10000> width{};
    // Decoding: one-byte characters, and two-byte ones indexed by (lead << 8 | trail).
    // 0 marks a byte sequence without a character (NUL itself is handled apart).
    std::array<char16_t, 0x100> single{};
    std::array<char16_t, 0x10000> pair{};
    std::array<bool, 0x100> isLead{};  // first bytes of two-byte characters

    Tables()
    {
        Iconv toCp932("CP932", "UTF-16LE");
        Iconv fromCp932("UTF-16LE", "CP932");
        char out[8];
        for (std::uint32_t c = 0; c < 0x10000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) {
                continue;  // lone surrogates have no form
            }
            const char in[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
            const int n = toCp932.convert(in, 2, out, sizeof out);
            if (n == 1) {
                encoded[c] = static_cast<unsigned char>(out[0]);
                length[c] = 1;
            } else if (n == 2) {
                encoded[c] = static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) << 8 |
                                                        static_cast<unsigned char>(out[1]));
                length[c] = 2;
            }
        }
        for (std::uint32_t c = 0; c < 0x10000; ++c) {
            width[c] = length[c] == 2 ? 2 : isLowSurrogate(static_cast<char16_t>(c)) ? 0 : 1;
        }
        for (int b = 0; b < 0x100; ++b) {
            if (isLeadByte(static_cast<unsigned char>(b))) {
                continue;
            }
            const char in[1] = {static_cast<char>(b)};
            if (fromCp932.convert(in, 1, out, sizeof out) == 2) {
                single[b] = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                  static_cast<unsigned char>(out[1]) << 8);
            }
        }
        for (int b = 0; b < 0x100; ++b) {
            isLead[b] = isLeadByte(static_cast<unsigned char>(b));
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(static_cast<unsigned char>(lead))) {
                continue;
            }
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!isTrailByte(static_cast<unsigned char>(trail))) {
                    continue;
                }
                const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                if (fromCp932.convert(in, 2, out, sizeof out) == 2) {
                    pair[lead << 8 | trail] =
                        static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                              static_cast<unsigned char>(out[1]) << 8);
                }
            }
        }
    }

    char16_t decodeEncoded(char16_t c) const
    {
        const std::uint16_t e = encoded[c];
        if (length[c] == 1) {
            return e == 0 ? u'\0' : single[e];
        }
        return pair[e];
    }
};

const Tables& tables()
{
    static const Tables instance;
    return instance;
}

}  // namespace

int charWidth(char16_t c)
{
    return tables().width[c];
}

int WidthOf(std::u16string_view s)
{
    const Tables& t = tables();
    // Four independent sums let the lookups overlap instead of waiting on one another.
    int sums[4] = {};
    size_t i = 0;
    for (; i + 4 <= s.size(); i += 4) {
        sums[0] += t.width[s[i]];
        sums[1] += t.width[s[i + 1]];
        sums[2] += t.width[s[i + 2]];
        sums[3] += t.width[s[i + 3]];
    }
    for (; i < s.size(); ++i) {
        sums[0] += t.width[s[i]];
    }
    return sums[0] + sums[1] + sums[2] + sums[3];
}

bool IsHalfWidth(std::u16string_view s)
{
    return s.size() == 1 ? charWidth(s[0]) == 1 : WidthOf(s) == 1;
}

bool isCp932Encodable(char16_t c)
{
    return tables().length[c] != 0;
}

char16_t roundTrip(char16_t c)
{
    const Tables& t = tables();
    if (t.length[c] == 0) {
        return kQuestion;
    }
    const char16_t back = t.decodeEncoded(c);
    // NUL encodes and decodes to itself; anything else that fails to come back is "?".
    return back == 0 && c != 0 ? kQuestion : back;
}

std::u16string toCanvasForm(std::u16string_view s)
{
    const Tables& t = tables();
    std::u16string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (t.length[c] != 0) {
            out.push_back(roundTrip(c));
        } else if (isPairAt(s, i)) {
            // A character beyond the BMP, which code page 932 never has: kept whole.
            out.push_back(c);
            out.push_back(s[++i]);
        } else if (isHighSurrogate(c) || isLowSurrogate(c) || (c >= 0x80 && c <= 0x9F)) {
            out.push_back(kQuestion);  // half a character, or a control: no character to keep
        } else {
            out.push_back(c);
        }
    }
    return out;
}

void appendCp932(std::string& out, std::u16string_view s)
{
    const Tables& t = tables();
    for (char16_t c : s) {
        if (isLowSurrogate(c)) {
            continue;  // the "?" of its character was written for the high surrogate
        }
        switch (t.length[c]) {
            case 1:
                out.push_back(static_cast<char>(t.encoded[c]));
                break;
            case 2:
                out.push_back(static_cast<char>(t.encoded[c] >> 8));
                out.push_back(static_cast<char>(t.encoded[c] & 0xFF));
                break;
            default:
                out.push_back('?');
                break;
        }
    }
}

std::string encodeCp932(std::u16string_view s)
{
    std::string out;
    out.reserve(s.size() * 2);
    appendCp932(out, s);
    return out;
}

char16_t* decodeCp932To(std::string_view bytes, char16_t* out, bool& invalid)
{
    const Tables& t = tables();
    char16_t* o = out;
    bool bad = false;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = bytes.size();
    for (size_t i = 0; i < size; ++i) {
        const unsigned char lead = b[i];
        if (t.isLead[lead]) {
            // pair holds 0 for every byte that cannot follow lead.
            const char16_t c = i + 1 < size ? t.pair[lead << 8 | b[i + 1]] : u'\0';
            if (c != 0) {
                *o++ = c;
                ++i;
                continue;
            }
            *o++ = kQuestion;
            bad = true;
            continue;
        }
        const char16_t c = t.single[lead];
        const bool none = c == 0 && lead != 0;  // NUL is the one byte that decodes to 0
        bad |= none;
        *o++ = none ? kQuestion : c;
    }
    invalid |= bad;
    return o;
}

std::u16string decodeCp932(std::string_view bytes, bool* invalid)
{
    // Never more characters than bytes: write into a buffer of that size, cut it at the end.
    std::u16string out(bytes.size(), u'\0');
    bool bad = false;
    out.resize(static_cast<size_t>(decodeCp932To(bytes, out.data(), bad) - out.data()));
    if (invalid) {
        *invalid = bad;
    }
    return out;
}

}  // namespace masumemo::grid
