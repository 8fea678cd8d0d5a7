// Strict UTF-8: what is valid, what the text is, and how a reader that keeps going replaces what
// is broken. Bytes are written as escapes.
#include <gtest/gtest.h>

#include <string>

#include "grid/Utf8.h"

using namespace masumemo::grid;

TEST(Utf8, ValidityTextAndReplacement)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        bool valid;
        bool multiByte;       ///< only looked at when valid
        std::u16string text;  ///< with each byte that starts no valid sequence read as "?"
    };
    const Row rows[] = {
        {"empty", "", true, false, u""},
        {"ASCII", "(^_^)", true, false, u"(^_^)"},
        {"two bytes", "\xC3\xA9", true, true, u"\u00E9"},
        {"three bytes", "\xE3\x81\x82", true, true, u"\u3042"},
        {"four bytes become a surrogate pair", "(\xF0\x9F\x98\x80)", true, true, u"(\U0001F600)"},
        {"the last code point", "\xF4\x8F\xBF\xBF", true, true, u"\U0010FFFF"},
        {"just below and above the surrogates", "\xED\x9F\xBF\xEE\x80\x80", true, true,
         u"\uD7FF\uE000"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", false, false, u"????"},
        {"overlong two bytes", "\xC0\xAF", false, false, u"??"},
        {"overlong three bytes", "\xE0\x80\xAF", false, false, u"???"},
        {"overlong four bytes", "\xF0\x82\x82\xAC", false, false, u"????"},
        {"a two-byte character in three", "\xE0\x9F\xBF", false, false, u"???"},
        {"a three-byte character in four", "\xF0\x8F\xBF\xBF", false, false, u"????"},
        {"a high surrogate encoded", "\xED\xA0\x80", false, false, u"???"},
        {"a low surrogate encoded", "\xED\xBF\xBF", false, false, u"???"},
        {"truncated at the end", "a\xE3\x81", false, false, u"a??"},
        {"four bytes truncated at the end", "\xF0\x9F\x98", false, false, u"???"},
        {"a sequence cut short by ASCII", "\xE3\x81" "a", false, false, u"??a"},
        {"a lone trail byte", "(\x81)", false, false, u"(?)"},
        {"no lead byte past F7", "\xF8\x88\x80\x80\x80\xFF", false, false, u"??????"},
        {"reading goes on at the next byte", "\xE3\x81\xE3\x81\x82", false, false, u"??\u3042"},
        // The validity check skips ASCII eight bytes at a time: what follows a run, or stands
        // inside the first eight, is still looked at.
        {"a broken byte after a run of ASCII", "abcdefgh\x81", false, false, u"abcdefgh?"},
        {"a broken byte last of the first eight", "abcdefg\x81" "ijklmnop", false, false,
         u"abcdefg?ijklmnop"},
        {"a broken byte inside the first eight", "abc\xFF" "defgh", false, false, u"abc?defgh"},
        {"truncated after two runs", "abcdefghijklmnop\xE3", false, false, u"abcdefghijklmnop?"},
        {"a character after a run", "abcdefghi\xC3\xA9", true, true, u"abcdefghi\u00E9"},
        {"a character before runs", "\xC3\xA9" "abcdefghijklmnop", true, true,
         u"\u00E9abcdefghijklmnop"},
        {"runs alone", "abcdefghijklmnopq", true, false, u"abcdefghijklmnopq"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        bool validWide = !row.multiByte;
        EXPECT_EQ(isValidUtf8(row.bytes, &validWide), row.valid);
        std::u16string text = u"left over";
        bool decodedWide = !row.multiByte;
        EXPECT_EQ(decodeUtf8(row.bytes, text, &decodedWide), row.valid);
        if (row.valid) {
            EXPECT_EQ(validWide, row.multiByte);
            EXPECT_EQ(decodedWide, row.multiByte);
            EXPECT_EQ(text, row.text);
        }
        EXPECT_EQ(decodeUtf8Replacing(row.bytes, u'?'), row.text);
    }
    EXPECT_EQ(decodeUtf8Replacing("(\xE3\x81)", u'\uFFFD'), u"(\uFFFD\uFFFD)");
}
