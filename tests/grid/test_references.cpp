// References for the characters code page 932 lacks, the one encoding detector, and canvas files
// that hold such characters.

#include <gtest/gtest.h>

#include "Corpus.h"
#include "grid/Cp932.h"
#include "grid/Fit.h"
#include "grid/LineModel.h"
#include "grid/References.h"
#include "grid/TextEncoding.h"
#include "tests/fuzz/ReferencesCheck.h"

namespace masumemo::grid {
namespace {

constexpr ReferenceSpelling kDecimal{false, true, true};
constexpr ReferenceSpelling kLowerHex{true, false, true};
constexpr ReferenceSpelling kBareHex{true, true, false};

TEST(References, Decoding)
{
    struct Row
    {
        const char* name;
        std::u16string text;
        std::u16string decoded;
    };
    const std::u16string loneSurrogateRef = u"&#xD800;";
    const Row rows[] = {
        {"hex, upper case, with ;", u"a&#x200A;b", u"a\u200Ab"},
        {"hex, lower case", u"&#x200a;", u"\u200A"},
        {"capital X", u"&#X2009;", u"\u2009"},
        {"decimal", u"&#8201;|", u"\u2009|"},
        {"without ;", u"&#x2009|", u"\u2009|"},
        {"one after another", u"&#x2009;&#x2009&#8202;", u"\u2009\u2009\u200A"},
        {"beyond the BMP: a surrogate pair", u"&#x1F600;", u"\U0001F600"},
        {"an & before it stays", u"&&#x2009;", u"&\u2009"},
        // The board reads digits as far as they go: "&#x2009ab" is U+2009AB, no character.
        {"digits read as far as they go", u"&#x2009ab", u"&#x2009ab"},
        {"decimal stops at a hex letter", u"&#8201a", u"\u2009a"},
        {"code page 932 has it: ASCII", u"&#65;", u"&#65;"},
        {"code page 932 has it: hiragana", u"&#x3042;", u"&#x3042;"},
        {"a named reference", u"&amp;", u"&amp;"},
        {"a control", u"&#9;&#x85;", u"&#9;&#x85;"},
        {"a surrogate half", loneSurrogateRef, loneSurrogateRef},
        {"past U+10FFFF", u"&#x110000;", u"&#x110000;"},
        {"many digits never overflow", u"&#99999999999999999999999;", u"&#99999999999999999999999;"},
        {"no digits", u"&#;&#x;&#", u"&#;&#x;&#"},
        // The search for "&" runs over bytes: units with a 0x26 byte in either half are no "&".
        {"0x26 bytes inside other units", u"\u2606\u3026&#x2009;\u2626#\u4E26&#8202;",
         u"\u2606\u3026\u2009\u2626#\u4E26\u200A"},
        {"text after the last reference", u"&#x1F600;abc\u3042", u"\U0001F600abc\u3042"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(decodeReferences(row.text), row.decoded);
        std::u16string inPlace = row.text;
        decodeReferencesInPlace(inPlace);
        EXPECT_EQ(inPlace, row.decoded);
    }
}

TEST(References, MostUsedSpelling)
{
    struct Row
    {
        const char* name;
        std::u16string text;
        ReferenceSpelling spelling;
    };
    const Row rows[] = {
        {"none: the new picture's", u"abc", kNewPictureSpelling},
        {"hex digits without letters say nothing of case", u"&#x2009;", kNewPictureSpelling},
        {"lower-case hex", u"&#x200a;&#x2009;", kLowerHex},
        {"decimal", u"&#8202;&#8201;&#x200A;", kDecimal},
        {"without ;", u"&#x200A&#x2009", kBareHex},
        {"a tie keeps the new picture's", u"&#x200a;&#x200A;&#8201;&#x2009;", kNewPictureSpelling},
        // References that stay text do not vote.
        {"only decoded references vote", u"&#65;&#66;&#x2009;", kNewPictureSpelling},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ReferenceSpelling found{false, false, false};
        decodeReferences(row.text, &found);
        EXPECT_EQ(found, row.spelling);
    }
}

TEST(References, WrittenInTheSpellingAndReadBack)
{
    const std::u16string text = u"a\u2009\u3042\U0001F600\u200A";
    for (const ReferenceSpelling spelling :
         {kNewPictureSpelling, kDecimal, kLowerHex, kBareHex, ReferenceSpelling{false, true, false}}) {
                const std::u16string written = withReferences(text, spelling);
        SCOPED_TRACE(encodeUtf8(written));
        ReferenceSpelling found;
        EXPECT_EQ(decodeReferences(written, &found), text);
        // Decimal spellings have no case to find.
        EXPECT_EQ(found.hex, spelling.hex);
        EXPECT_EQ(found.semicolon, spelling.semicolon);
        EXPECT_EQ(static_cast<int>(written.size()),
                  2 + referenceLength(0x2009, spelling) + referenceLength(0x1F600, spelling) +
                      referenceLength(0x200A, spelling));
    }
    EXPECT_EQ(withReferences(u"\u200A\U0001F600"), u"&#x200A;&#x1F600;");
    EXPECT_EQ(withReferences(u"\u200A", kDecimal), u"&#8202;");
    EXPECT_EQ(withReferences(u"\u200A", kLowerHex), u"&#x200a;");
    EXPECT_EQ(referenceLength(0x200A), 8);
    EXPECT_EQ(referenceLength(0x1F600), 9);
}

TEST(References, WithoutSemicolonKeepsOneWhereTheNextCharacterWouldJoinIt)
{
    struct Row
    {
        const char* name;
        std::u16string text;
        ReferenceSpelling spelling;
        std::u16string written;
    };
    const ReferenceSpelling bareDecimal{false, true, false};
    const Row rows[] = {
        {"a hex digit after a hex reference", u"\u2009f", kBareHex, u"&#x2009;f"},
        {"a digit after a decimal one", u"\u200A5", bareDecimal, u"&#8202;5"},
        {"a letter is no decimal digit", u"\u200Af", bareDecimal, u"&#8202f"},
        {"a ; after it", u"\u200A;", kBareHex, u"&#x200A;;"},
        {"a space needs none", u"\u200A ", kBareHex, u"&#x200A "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(withReferences(row.text, row.spelling), row.written);
        EXPECT_EQ(encodeCp932WithReferences(row.text, row.spelling), encodeUtf8(row.written));
        EXPECT_EQ(decodeReferences(row.written), row.text);
    }
    // The ";" such a reference needs says nothing of the file's spelling.
    ReferenceSpelling found;
    decodeReferences(u"&#8202;5&#8201", &found);
    EXPECT_FALSE(found.semicolon);
}

TEST(References, EncodedForCodePage932)
{
    EXPECT_EQ(encodeCp932WithReferences(u"\u3042\u2009b", kNewPictureSpelling),
              "\x82\xA0&#x2009;b");
    EXPECT_EQ(encodeCp932WithReferences(u"\U0001F600", kDecimal), "&#128512;");
    // Half a character is no character: "?" as before.
    EXPECT_EQ(encodeCp932WithReferences(std::u16string{u'a', char16_t{0xD800}}, kDecimal), "a?");
    EXPECT_EQ(encodeCp932WithReferences(u"", kDecimal), "");
}

TEST(References, WhatTheCanvasKeeps)
{
    EXPECT_TRUE(isBeyondCp932(0x2009));
    EXPECT_TRUE(isBeyondCp932(0x1F600));
    EXPECT_TRUE(isBeyondCp932(0xE9));
    EXPECT_FALSE(isBeyondCp932(u'A'));
    EXPECT_FALSE(isBeyondCp932(0x3042));
    EXPECT_FALSE(isBeyondCp932(0x85));
    EXPECT_FALSE(isBeyondCp932(0xDC00));
    EXPECT_FALSE(isBeyondCp932(0x110000));
}

TEST(TextEncodingRule, OneDetector)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        bool byteOrderMark;
    };
    // clang-format off
    const Row rows[] = {
        {"ASCII", "abc", TextEncoding::Cp932, false},
        {"empty", "", TextEncoding::Cp932, false},
        {"code page 932", "\x82\xA0\x82\xA2", TextEncoding::Cp932, false},
        {"UTF-8 with a multi-byte sequence", "a\xE3\x81\x82", TextEncoding::Utf8, false},
        // "煙草" in UTF-8 is valid code page 932 too; it is still UTF-8.
        {"UTF-8 that is valid code page 932 too", "\xE7\x85\x99\xE8\x8D\x89", TextEncoding::Utf8, false},
        {"broken UTF-8", "\xE3\x81", TextEncoding::Cp932, false},
        {"a byte order mark", "\xEF\xBB\xBF" "abc", TextEncoding::Utf8, true},
        {"a byte order mark before broken UTF-8", "\xEF\xBB\xBF\xFF", TextEncoding::Utf8, true},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DetectedEncoding detected = detectEncoding(row.bytes);
        EXPECT_EQ(detected.encoding, row.encoding);
        EXPECT_EQ(detected.byteOrderMark, row.byteOrderMark);
    }
    bool invalid = false;
    EXPECT_EQ(decodeText("\xEF\xBB\xBF" "a\xFF" "b", detectEncoding("\xEF\xBB\xBF"), &invalid),
              u"a?b");
    EXPECT_TRUE(invalid);
    EXPECT_EQ(decodeText("\xE7\x85\x99\xE8\x8D\x89", {TextEncoding::Utf8, false}, &invalid),
              u"煙草");
    EXPECT_FALSE(invalid);
}

TEST(CanvasFiles, ReferencesAndEncodings)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        std::u16string firstLine;  ///< as the canvas holds it, before padding
        CanvasFileForm form;
    };
    const CanvasFileForm utf8{TextEncoding::Utf8, false, kNewPictureSpelling};
    const CanvasFileForm utf8Bom{TextEncoding::Utf8, true, kNewPictureSpelling};
    const Row rows[] = {
        {"Shift_JIS with references", "|&#x200A;&#x2009;|\r\n", u"|\u200A\u2009|", {}},
        {"decimal references", "|&#8202;|\r\n", u"|\u200A|", {TextEncoding::Cp932, false, kDecimal}},
        {"a reference to ASCII stays text", "&#65;\r\n", u"&#65;", {}},
        // The Tab is left out before references are read, as it is when the file is saved.
        {"a reference across a left-out control", "&#64\t44|\r\n", u"\u192C|",
         {TextEncoding::Cp932, false, ReferenceSpelling{false, true, false}}},
        {"UTF-8", "\xE3\x81\x82\xE2\x80\x89|\r\n", u"\u3042\u2009|", utf8},
        {"UTF-8 with references", "\xE3\x81\x82&#x2009;\r\n", u"\u3042\u2009", utf8},
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBF" "a\r\n", u"a", utf8Bom},
        // A wave dash from a Linux program becomes the full-width tilde code page 932 holds.
        {"UTF-8 look-alikes take their canvas form", "\xE3\x80\x9C\r\n", u"\uFF5E", utf8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CanvasFile file = readCanvasFile(row.bytes);
        ASSERT_TRUE(file.isText);
        EXPECT_FALSE(file.substituted);
        EXPECT_EQ(file.form, row.form);
        const std::vector<std::u16string> lines = canvasLines(file.canvas.text);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(trimTrailingSpaces(lines[0]), row.firstLine);
    }
}

// Opening reads a Shift_JIS file's references in one pass over its bytes; the check compares it
// with decoding, leaving out controls and reading references one after another.
TEST(CanvasFiles, ReferencesReadInOnePassAsInSteps)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        bool onePass;  ///< false: a control stands where it could change a reference
    };
    const Row rows[] = {
        {"a Tab inside the digits joins them", "&#x20\t0A;", false},
        {"a Tab after the &", "&\t#x200A;", false},
        {"a Tab after the #", "&#\tx200A;", false},
        {"a Tab before the ;", "&#x200A\t;", false},
        {"a Tab before more digits: U+200AB", "&#x200A\tB|", false},
        {"a DEL before the ;", "&#x200A\x7F;", false},
        {"a control after the ; and a digit: the vote", "&#x200A;\x1F" "1", false},
        {"a NUL after a reference", std::string("&#x2009") + '\0', false},
        {"controls away from references", "\ta&#x200A;b\x1F", true},
        {"a control right before the &", "\t&#x200A;", true},
        {"line ends after references without ;", "&#x200A\r\n&#8201\n&#x2009\r", true},
        {"at the end, without ;", "|&#x200A", true},
        {"at the end, unfinished", "&#x2009;&#x", true},
        {"& and &# at the end", "a&#", true},
        {"a lone & at the end", "a&", true},
        {"digits after, with ;", "&#x200A;12&#8202;;", true},
        {"digits after, without ;: one number", "&#x2009ab&#82021", true},
        {"decimal stops at a hex letter", "&#8201a", true},
        {"a lead byte before the &", "\x81&#x200A;", true},
        {"a lone lead byte after a reference", "&#x200A;\x81", true},
        {"a two-byte character ends a reference", "&#x200A\x82\xA0", true},
        {"a lead byte takes the x as its trail", "&#\x81x200A;", true},
        {"bytes without a character around", "\xA0&#x2009\xA0\xFD", true},
        {"a half-width kana after", "&#8202\xB1", true},
        {"beyond the BMP, hex and decimal", "&#x1F600;&#128512|", true},
        {"surrogate halves stay text", "&#xD83D;&#xDE00;", true},
        {"past U+10FFFF and many digits", "&#x110000;&#99999999999999999999;", true},
        {"code page 932 has them", "&#65;&#x3042;&amp;", true},
        {"spellings in a mix", "&#x200a;&#X2009;&#x200A&#8202;&#8201;", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(fuzzcheck::checkFileTextInOnePass(row.bytes), "");
        bool invalid = false;
        ReferenceSpelling spelling;
        EXPECT_EQ(decodeCp932WithReferences(row.bytes, &invalid, &spelling).has_value(),
                  row.onePass);
    }
}

TEST(CanvasFiles, SavedBackInTheirOwnForm)
{
    // Opened and saved unchanged: the same bytes.
    for (const std::string bytes :
         {"|&#x200A;&#x2009;|\r\n\x82\xA0&#x1F600;\r\n", "|&#8202&#8201|\r\n",
          "&#x200a;&#65;\r\n", "\xEF\xBB\xBF\xE3\x81\x82\xE2\x80\x89|\r\n",
          "\xF0\x9F\x98\x80|\r\n"}) {
        SCOPED_TRACE(bytes);
        const CanvasFile file = readCanvasFile(bytes);
        EXPECT_EQ(canvasFileBytes(file.canvas.text, file.form), bytes);
    }
    // A UTF-8 file writes such characters as themselves, not as references.
    const CanvasFile utf8 = readCanvasFile("\xE3\x81\x82&#x2009;\r\n");
    EXPECT_EQ(canvasFileBytes(utf8.canvas.text, utf8.form), "\xE3\x81\x82\xE2\x80\x89\r\n");
    // A new picture: Shift_JIS with "&#x200A;" references.
    EXPECT_EQ(canvasFileBytes(u"\u3042\u200A\U0001F600"), "\x82\xA0&#x200A;&#x1F600;\r\n");
}

}  // namespace
}  // namespace masumemo::grid
