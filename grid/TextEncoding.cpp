#include "TextEncoding.h"

#include "Cp932.h"
#include "Utf8.h"

namespace masumemo::grid {
namespace {

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | cp >> 6));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | cp >> 12));
        out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | cp >> 18));
        out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

DetectedEncoding detectEncoding(std::string_view bytes)
{
    if (bytes.starts_with(kUtf8ByteOrderMark)) {
        return {TextEncoding::Utf8, true};
    }
    bool multiByte = false;
    if (isValidUtf8(bytes, &multiByte) && multiByte) {
        return {TextEncoding::Utf8, false};
    }
    return {};
}

std::u16string decodeText(std::string_view bytes, DetectedEncoding detected, bool* invalid)
{
    if (detected.encoding == TextEncoding::Cp932) {
        return decodeCp932(bytes, invalid);
    }
    if (detected.byteOrderMark) {
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    }
    std::u16string text;
    const bool valid = decodeUtf8(bytes, text);
    if (!valid) {
        text = decodeUtf8Replacing(bytes, u'?');
    }
    if (invalid) {
        *invalid = !valid;
    }
    return text;
}

std::string encodeUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = U'?';
        }
        appendUtf8(out, c);
    }
    return out;
}

}  // namespace masumemo::grid
