#include "Utf8.h"

#include <cstdint>
#include <cstring>

namespace masumemo::grid {
namespace {

/// Reads the character starting at bytes[i] into cp and length: false when no valid UTF-8
/// sequence starts there.
bool nextCodePoint(std::string_view bytes, size_t i, char32_t& cp, size_t& length)
{
    const auto b = static_cast<unsigned char>(bytes[i]);
    char32_t least = 0;
    if (b < 0x80) {
        cp = b;
        length = 1;
        return true;
    }
    if ((b & 0xE0) == 0xC0) {
        length = 2;
        cp = b & 0x1F;
        least = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        length = 3;
        cp = b & 0x0F;
        least = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        length = 4;
        cp = b & 0x07;
        least = 0x10000;
    } else {
        return false;
    }
    if (bytes.size() - i < length) {
        return false;
    }
    for (size_t k = 1; k < length; ++k) {
        const auto t = static_cast<unsigned char>(bytes[i + k]);
        if ((t & 0xC0) != 0x80) {
            return false;
        }
        cp = cp << 6 | (t & 0x3F);
    }
    return cp >= least && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

}  // namespace

bool isValidUtf8(std::string_view bytes, bool* multiByte)
{
    bool wide = false;
    size_t i = 0;
    while (i < bytes.size()) {
        // Runs of ASCII, eight bytes at a time: parts files are mostly ASCII.
        while (i + 8 <= bytes.size()) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + i, 8);
            if (word & 0x8080808080808080ULL) {
                break;
            }
            i += 8;
        }
        if (i >= bytes.size()) {
            break;
        }
        char32_t cp = 0;
        size_t length = 0;
        if (!nextCodePoint(bytes, i, cp, length)) {
            return false;
        }
        wide = wide || length > 1;
        i += length;
    }
    if (multiByte) {
        *multiByte = wide;
    }
    return true;
}

bool decodeUtf8(std::string_view bytes, std::u16string& out, bool* multiByte)
{
    out.clear();
    out.reserve(bytes.size());
    bool wide = false;
    for (size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        size_t length = 0;
        if (!nextCodePoint(bytes, i, cp, length)) {
            return false;
        }
        appendUtf16(out, cp);
        wide = wide || length > 1;
        i += length;
    }
    if (multiByte) {
        *multiByte = wide;
    }
    return true;
}

std::u16string decodeUtf8Replacing(std::string_view bytes, char16_t replacement)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        size_t length = 0;
        if (nextCodePoint(bytes, i, cp, length)) {
            appendUtf16(out, cp);
            i += length;
        } else {
            out.push_back(replacement);
            ++i;
        }
    }
    return out;
}

}  // namespace masumemo::grid
