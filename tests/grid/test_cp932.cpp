#include <gtest/gtest.h>

#include "Corpus.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"

using namespace masumemo::grid;

TEST(WidthRule, WidthIsTheCodePage932ByteLength)
{
    struct Row
    {
        const char* name;
        std::u16string text;
        int width;
    };
    const Row rows[] = {
        {"empty", u"", 0},
        {"ascii letter", u"a", 1},
        {"half-width katakana", u"\uFF71", 1},
        {"hiragana", u"\u3042", 2},
        {"full-width space", u"\u3000", 2},
        {"box drawing", u"\u2500", 2},
        {"NEC row circled one", u"\u2460", 2},
        {"yen is not the backslash byte", u"\\", 1},
        {"emoji is one character without a form: one ?", u"\U0001F600", 1},
        {"two emoji among letters", u"a\U0001F600\U0001F363b", 4},
        // Counted at the high surrogate, so a text cut inside a pair keeps its sum.
        {"a high surrogate alone", std::u16string{u'a', 0xD83D}, 2},
        {"a low surrogate alone", std::u16string{0xDE00, u'a'}, 1},
        {"CR LF count one each", u"\r\n", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(WidthOf(row.text), row.width);
    }
}

TEST(WidthRule, HalfWidthTest)
{
    EXPECT_TRUE(IsHalfWidth(u"\uFF71"));  // half-width katakana
    EXPECT_FALSE(IsHalfWidth(u"\u3000"));
    EXPECT_FALSE(IsHalfWidth(u""));
    EXPECT_FALSE(IsHalfWidth(u"ab"));
    EXPECT_TRUE(IsHalfWidth(u"\U0001F600"));  // one "?"
}

TEST(Codec, RoundTripFormOfCharactersEnteringTheCanvas)
{
    // Linux input methods produce these; code page 932 stores their look-alikes.
    EXPECT_EQ(toCanvasForm(u"\u301C"), u"\uFF5E");
    EXPECT_EQ(toCanvasForm(u"\u2212"), u"\uFF0D");
    // Characters without a code page 932 form are kept: the canvas holds them as they are.
    EXPECT_EQ(toCanvasForm(u"x\U0001F600y"), u"x\U0001F600y");  // a pair, kept whole
    EXPECT_EQ(toCanvasForm(u"a\u2009b\u00E9"), u"a\u2009b\u00E9");
    // What is no character of its own becomes "?".
    EXPECT_EQ(toCanvasForm(std::u16string(1, char16_t{0xD800})), u"?");   // a lone high half
    EXPECT_EQ(toCanvasForm(std::u16string{u'a', char16_t{0xDE00}}), u"a?");  // a lone low half
    EXPECT_EQ(toCanvasForm(std::u16string{char16_t{0xDE00}, char16_t{0xD83D}}), u"??");
    EXPECT_EQ(toCanvasForm(u"\u0085"), u"?");  // a C1 control without a form
    EXPECT_EQ(WidthOf(toCanvasForm(u"\U0001F600\u2009")), 2);  // one unit each
}

TEST(Codec, EncodesAndDecodes)
{
    const std::u16string text = u"ab\u3042\uFF71\u2500\u3000\r\n\u2460";
    const std::string bytes = encodeCp932(text);
    EXPECT_EQ(bytes, std::string("ab\x82\xA0\xB1\x84\x9F\x81\x40\r\n\x87\x40"));
    bool invalid = true;
    EXPECT_EQ(decodeCp932(bytes, &invalid), text);
    EXPECT_FALSE(invalid);
    EXPECT_EQ(encodeCp932(u"\u00E9"), "?");
    // The encoding is as long as the width says: a character beyond the BMP is one "?".
    const std::u16string wide = u"x\U0001F600\u3042\U0001F363";
    EXPECT_EQ(encodeCp932(wide), std::string("x?\x82\xA0?"));
    EXPECT_EQ(static_cast<int>(encodeCp932(wide).size()), WidthOf(wide));
    EXPECT_EQ(encodeCp932(std::u16string{0xD800, u'a'}), "?a");
    EXPECT_EQ(encodeCp932(std::u16string{0xDC00, u'a'}), "a");
}

TEST(Codec, InvalidBytesDecodeToQuestionMarks)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        std::u16string text;
    };
    const Row rows[] = {
        {"lead byte at the end", std::string("a\x82"), u"a?"},
        // The byte after a bad lead is read again on its own, so a line end is never eaten.
        {"lead byte before CR", std::string("\x82\r\n"), u"?\r\n"},
        {"undefined two-byte code", std::string("\x85\x40"), u"?@"},
        {"UTF-8 text: a valid pair, then a lone lead", std::string("\xE3\x81\x82"), u"\u7E3A?"},
        {"NUL stays", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bool invalid = false;
        EXPECT_EQ(decodeCp932(row.bytes, &invalid), row.text);
        EXPECT_EQ(invalid, std::string(row.name) != "NUL stays");
    }
}

TEST(Codec, EveryByteSequenceDecodesWithoutLosingLength)
{
    // Every two-byte combination: nothing crashes, nothing decodes to more than two units.
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; b += 7) {
            const char bytes[2] = {static_cast<char>(a), static_cast<char>(b)};
            const std::u16string text = decodeCp932(std::string_view(bytes, 2));
            ASSERT_GE(text.size(), 1u);
            ASSERT_LE(text.size(), 2u);
        }
    }
}

TEST(Codec, CorpusPicturesAreCodePage932AndSurviveTheRoundTrip)
{
    if (const char* reason = masumemo::testing::corpusSkipReason()) {
        GTEST_SKIP() << reason;
    }
    const auto pictures = masumemo::testing::corpusPictures();
    EXPECT_EQ(pictures.size(), 1165u);
    for (const auto& path : pictures) {
        const std::u16string text = masumemo::testing::fromUtf8(masumemo::testing::readBytes(path));
        SCOPED_TRACE(path.string());
        ASSERT_EQ(toCanvasForm(text), text);
        bool invalid = true;
        ASSERT_EQ(decodeCp932(encodeCp932(text), &invalid), text);
        ASSERT_FALSE(invalid);
        ASSERT_EQ(static_cast<size_t>(WidthOf(text)), encodeCp932(text).size());
    }
}
