#include "TextEncoding.h"

#include "grid/Cp932.h"

namespace masumemo::dictionary {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isTrail(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

void appendCodePoint(std::u16string& out, char32_t cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

/// Reads the character starting at bytes[i]: false when no valid UTF-8 sequence starts there.
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
        if (!isTrail(t)) {
            return false;
        }
        cp = cp << 6 | (t & 0x3F);
    }
    return cp >= least && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

}  // namespace

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
        appendCodePoint(out, cp);
        wide = wide || length > 1;
        i += length;
    }
    if (multiByte) {
        *multiByte = wide;
    }
    return true;
}

std::u16string decodeDictionaryText(std::string_view bytes, TextEncoding* used)
{
    std::u16string text;
    if (bytes.starts_with(kUtf8Bom)) {
        // The mark says what the file is: a broken sequence after it reads as U+FFFD, byte by
        // byte, rather than the whole file as code page 932.
        const std::string_view body = bytes.substr(kUtf8Bom.size());
        text.reserve(body.size());
        for (size_t i = 0; i < body.size();) {
            char32_t cp = 0;
            size_t length = 0;
            if (nextCodePoint(body, i, cp, length)) {
                appendCodePoint(text, cp);
                i += length;
            } else {
                text.push_back(u'\uFFFD');
                ++i;
            }
        }
        if (used) {
            *used = TextEncoding::Utf8;
        }
        return text;
    }
    bool multiByte = false;
    if (decodeUtf8(bytes, text, &multiByte) && multiByte) {
        bool invalidCp932 = false;
        std::u16string asCp932 = grid::decodeCp932(bytes, &invalidCp932);
        if (invalidCp932) {
            if (used) {
                *used = TextEncoding::Utf8;
            }
            return text;
        }
        text = std::move(asCp932);
    } else {
        text = grid::decodeCp932(bytes);
    }
    if (used) {
        *used = TextEncoding::Cp932;
    }
    return text;
}

bool fitsCp932(std::u16string_view text)
{
    for (const char16_t c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\t') {
            continue;
        }
        if (!grid::isCp932Encodable(c)) {
            return false;
        }
    }
    return true;
}

}  // namespace masumemo::dictionary
