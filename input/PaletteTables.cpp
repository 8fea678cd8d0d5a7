#include "PaletteTables.h"

namespace masumemo::input {
namespace {

// Every category fills each grid row from its left end, so a row is just the string of its
// visible characters; the buttons after it in the row are hidden.
using CategoryRows = std::array<std::u16string_view, kPaletteRows>;

// The full-width space (U+3000) leads category 1; it is written as an escape so it stays
// visible here.
// clang-format off
constexpr std::array<CategoryRows, kCharacterCategoryCount> kTables{{
    // 0 "半角記号・英数": printable ASCII, one half-width unit each.
    {u" !\"#$%&'()*+,-./:;<=>?@[\\]",
     u"^_`{|}~0123456789",
     u"ABCDEFGHIJKLMNOPQRSTUVWXYZ",
     u"abcdefghijklmnopqrstuvwxyz"},
    // 1 "全角記号１"
    {u"\u3000、。，．・：；？！゛゜´｀¨＾￣＿ヽヾゝゞ〃仝々〆",
     u"ー―‐／＼∥｜…‥∵∴‘’“”＋－±×÷＝≠＜＞≦≧",
     u"（）〔〕［］｛｝〈〉《》「」『』【】",
     u""},
    // 2 "全角記号２": ◯ 〇 ０ at the end of row 1 are three different characters; the angstrom
    // sign is escaped because editors like to fold it into U+00C5, which code page 932 lacks.
    {u"∞♂♀°′″℃￥＄￠￡％＃＆＊＠§～※〒→←↑↓〓¶",
     u"☆★○●◎◇◆□■△▲▽▼∈∋⊆⊇⊂⊃∪∩∧∨◯〇０",
     u"￢⇒⇔∀∃∠⊥⌒∂∇≡≒≪≫√∽∝∫∬\u212B‰♯♭♪†‡",
     u""},
    // 3 "ギリシャ・罫線": Greek without the final sigma, then light and heavy box drawing.
    {u"ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ",
     u"αβγδεζηθικλμνξοπρστυφχψω",
     u"─│┌┐┘└├┬┤┴┼",
     u"━┃┏┓┛┗┣┳┫┻╋┠┯┨┷┿┝┰┥┸╂"},
    // 4 "ロシア文字": the 33 letters in alphabetical order (Ё after Е), capitals laid out like
    // the small letters so that П is not lost.
    {u"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШ",
     u"ЩЪЫЬЭЮЯ",
     u"абвгдеёжзийклмнопрстуфхцчш",
     u"щъыьэюя"},
    // 5 "全角英数"
    {u"０１２３４５６７８９",
     u"ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ",
     u"ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ",
     u""},
    // 6 "カナ・漢字": row 2 starts with katakana ヰ and hiragana ゑ; row 3 holds strokes.
    {u"アイウエオカキクケコサシスセソタチツテトナニヌネノハ",
     u"ヒフヘホマミムメモヤユヨラリルレロワヲン",
     u"ヰゑぁぃぅぇぉゃゅょっァィゥェォャュョッ",
     u"丿乂亅亠冂冖冫几凵勹匕匚匸卍卩厂厶咒宀屮巛幵廾彡凸凹"},
}};
// clang-format on

constexpr std::array<std::u16string_view, kCategoryCount> kCategoryCaptions{
    u"半角記号・英数", u"全角記号１", u"全角記号２", u"ギリシャ・罫線",
    u"ロシア文字",     u"全角英数",   u"カナ・漢字", u"設定",
};

constexpr std::u16string_view kEscapedAmpersand = u"&&";

}  // namespace

std::u16string_view categoryCaption(int category)
{
    if (category < 0 || category >= kCategoryCount) {
        return {};
    }
    return kCategoryCaptions[static_cast<size_t>(category)];
}

char16_t paletteCharacter(int category, int button)
{
    if (category < 0 || category >= kCharacterCategoryCount || button < 0 ||
        button >= kPaletteButtonCount) {
        return 0;
    }
    const std::u16string_view row =
        kTables[static_cast<size_t>(category)][static_cast<size_t>(button / kPaletteColumns)];
    const auto column = static_cast<size_t>(button % kPaletteColumns);
    return column < row.size() ? row[column] : char16_t{0};
}

std::u16string paletteCaption(int category, int button)
{
    const char16_t c = paletteCharacter(category, button);
    if (c == 0) {
        return {};
    }
    if (c == u'&') {
        return std::u16string(kEscapedAmpersand);
    }
    return std::u16string(1, c);
}

int visibleButtonCount(int category)
{
    if (category < 0 || category >= kCharacterCategoryCount) {
        return 0;
    }
    size_t count = 0;
    for (const std::u16string_view row : kTables[static_cast<size_t>(category)]) {
        count += row.size();
    }
    return static_cast<int>(count);
}

std::u16string captionText(std::u16string_view caption)
{
    if (caption == kEscapedAmpersand) {
        return u"&";
    }
    return std::u16string(caption);
}

PaletteGrid::PaletteGrid()
{
    m_visible.fill(true);
}

void PaletteGrid::showCategory(int category)
{
    if (category < 0 || category >= kCategoryCount) {
        return;
    }
    m_category = category;
    // Visibility is rebuilt from scratch so that no button stays hidden from the category shown
    // before.
    m_visible.fill(true);
    if (category == kSettingsCategory) {
        m_gridShown = false;
        return;
    }
    for (int button = 0; button < kPaletteButtonCount; ++button) {
        std::u16string caption = paletteCaption(category, button);
        if (caption.empty()) {
            m_visible[static_cast<size_t>(button)] = false;
        } else {
            m_captions[static_cast<size_t>(button)] = std::move(caption);
        }
    }
    m_gridShown = true;
}

bool PaletteGrid::isVisible(int button) const
{
    return button >= 0 && button < kPaletteButtonCount && m_visible[static_cast<size_t>(button)];
}

const std::u16string& PaletteGrid::caption(int button) const
{
    static const std::u16string none;
    if (button < 0 || button >= kPaletteButtonCount) {
        return none;
    }
    return m_captions[static_cast<size_t>(button)];
}

}  // namespace masumemo::input
