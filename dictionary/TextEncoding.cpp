#include "TextEncoding.h"

#include "grid/Cp932.h"
#include "grid/TextEncoding.h"
#include "grid/Utf8.h"

namespace masumemo::dictionary {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

std::u16string decodeDictionaryText(std::string_view bytes, TextEncoding* used)
{
    std::u16string text;
    if (bytes.starts_with(kUtf8Bom)) {
        // The mark says what the file is: a broken sequence after it reads as U+FFFD, byte by
        // byte, rather than the whole file as code page 932.
        text = grid::decodeUtf8Replacing(bytes.substr(kUtf8Bom.size()), u'\uFFFD');
        if (used) {
            *used = TextEncoding::Utf8;
        }
        return text;
    }
    if (grid::detectEncoding(bytes).encoding == grid::TextEncoding::Utf8) {
        grid::decodeUtf8(bytes, text);
        if (used) {
            *used = TextEncoding::Utf8;
        }
        return text;
    }
    text = grid::decodeCp932(bytes);
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
