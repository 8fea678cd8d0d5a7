#include "NarrowForm.h"

namespace masumemo::input {
namespace {

// Full-width characters with a one-character half-width form, and those forms, position by
// position.
constexpr std::u16string_view kFull =
    u"ァアィイゥウェエォオカキクケコサシスセソタチッツテト"
    u"ナニヌネノハヒフヘホマミムメモャヤュユョヨラリルレロワヲン"
    u"、。「」・ー゛゜";
constexpr std::u16string_view kHalf =
    u"ｧｱｨｲｩｳｪｴｫｵｶｷｸｹｺｻｼｽｾｿﾀﾁｯﾂﾃﾄ"
    u"ﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓｬﾔｭﾕｮﾖﾗﾘﾙﾚﾛﾜｦﾝ"
    u"､｡｢｣･ｰﾞﾟ";
static_assert(kFull.size() == kHalf.size());

// Voiced and semi-voiced katakana have no half-width character of their own: they are written
// as the plain kana followed by the half-width voicing mark.
constexpr std::u16string_view kVoiced = u"ガギグゲゴザジズゼゾダヂヅデドバビブベボヴ";
constexpr std::u16string_view kVoicedBase = u"カキクケコサシスセソタチツテトハヒフヘホウ";
constexpr std::u16string_view kSemiVoiced = u"パピプペポ";
constexpr std::u16string_view kSemiVoicedBase = u"ハヒフヘホ";
static_assert(kVoiced.size() == kVoicedBase.size());
static_assert(kSemiVoiced.size() == kSemiVoicedBase.size());

constexpr char16_t kHalfVoicedMark = 0xFF9E;
constexpr char16_t kHalfSemiVoicedMark = 0xFF9F;

char16_t narrowChar(char16_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E) {
        return static_cast<char16_t>(c - 0xFF01 + 0x21);
    }
    if (c == 0x3000) {
        return u' ';
    }
    const size_t at = kFull.find(c);
    return at == std::u16string_view::npos ? c : kHalf[at];
}

}  // namespace

std::u16string narrowForm(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        if (const size_t at = kVoiced.find(c); at != std::u16string_view::npos) {
            out += narrowChar(kVoicedBase[at]);
            out += kHalfVoicedMark;
        } else if (const size_t semi = kSemiVoiced.find(c); semi != std::u16string_view::npos) {
            out += narrowChar(kSemiVoicedBase[semi]);
            out += kHalfSemiVoicedMark;
        } else {
            out += narrowChar(c);
        }
    }
    return out;
}

}  // namespace masumemo::input
