// Reading and writing MLT, AST and TXT files of parts, on hand-written bytes. Code page 932 bytes
// are written as escapes: "\x82\xA0" is "あ".

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/Cp932.h"
#include "library/PartsFile.h"

namespace masumemo::library {
namespace {

using Lines = std::vector<std::u16string>;

std::vector<Part> unnamed(const std::vector<Lines>& parts)
{
    std::vector<Part> out;
    for (const Lines& lines : parts) {
        out.push_back({u"", lines});
    }
    return out;
}

TEST(PartsFile, Formats)
{
    EXPECT_EQ(formatOfName("a/b/Faces.MLT"), PartsFormat::Mlt);
    EXPECT_EQ(formatOfName("hands.ast"), PartsFormat::Ast);
    EXPECT_EQ(formatOfName("x.Txt"), PartsFormat::Txt);
    EXPECT_EQ(formatOfName("picture.png"), std::nullopt);
    EXPECT_EQ(formatOfName("README"), std::nullopt);
}

TEST(PartsFile, ReadMlt)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        std::vector<Lines> parts;
    };
    const Row rows[] = {
        {"two parts, CR LF", "a\r\n[SPLIT]\r\nb\r\n", {{u"a"}, {u"b"}}},
        {"lone LF and lone CR", "a\n[SPLIT]\rb\rc", {{u"a"}, {u"b", u"c"}}},
        {"a separator at the start gives an empty first part", "[SPLIT]\r\na\r\n", {{}, {u"a"}}},
        {"a separator at the end gives an empty last part", "a\r\n[SPLIT]\r\n", {{u"a"}, {}}},
        {"two separators in a row", "a\r\n[SPLIT]\r\n[SPLIT]\r\nb", {{u"a"}, {}, {u"b"}}},
        {"an empty line before a separator stays in the part", "a\r\n\r\n[SPLIT]\r\nb",
         {{u"a", u""}, {u"b"}}},
        {"only a line break is one empty line", "\r\n[SPLIT]\r\n\r\n", {{u""}, {u""}}},
        {"a separator line must be exact", "[SPLIT] \r\n [SPLIT]\r\nx[SPLIT]\r\n[SPLIT]x",
         {{u"[SPLIT] ", u" [SPLIT]", u"x[SPLIT]", u"[SPLIT]x"}}},
        {"code page 932 text", "\x82\xA0\r\n[SPLIT]\r\n\x83\x6D", {{u"あ"}, {u"ノ"}}},
        {"an empty file has no parts", "", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(readParts(row.bytes, PartsFormat::Mlt), unnamed(row.parts));
    }
}

TEST(PartsFile, ReadAst)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        std::vector<Part> parts;
    };
    const Row rows[] = {
        {"named parts; text before the first header is no part",
         "notes\r\n[AA][face]\r\na\r\n[AA][\x8E\xE8]\r\nb\r\nc\r\n",
         {{u"face", {u"a"}}, {u"手", {u"b", u"c"}}}},
        {"an empty name and an empty part", "[AA][]\r\n[AA][x]\nb", {{u"", {}}, {u"x", {u"b"}}}},
        {"a header without its closing bracket is text", "[AA][a]\r\n[AA][b\r\n[AA]\r\nz",
         {{u"a", {u"[AA][b", u"[AA]", u"z"}}}},
        {"the name runs to the last bracket", "[AA][a]b]\rq", {{u"a]b", {u"q"}}}},
        {"references in names", "[AA][&#12354;&#x3044]\r\n", {{u"あい", {}}}},
        {"no header, no parts", "a\r\nb\r\n", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(readParts(row.bytes, PartsFormat::Ast), row.parts);
    }
}

TEST(PartsFile, ReadTxtAndEncodings)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        Lines lines;
    };
    const Row rows[] = {
        {"the whole file is one part", "[SPLIT]\r\n[AA][x]\r\n", {u"[SPLIT]", u"[AA][x]"}},
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBF\xE3\x81\x82", {u"あ"}},
        {"a broken byte after the mark is one ?", "\xEF\xBB\xBF(\x81)\xE3\x81\x82", {u"(?)あ"}},
        {"UTF-8 without a mark", "\xE3\x81\x82\xE3\x81\x84\r\n\xE2\x94\x82", {u"あい", u"│"}},
        {"ASCII only stays code page 932", "abc", {u"abc"}},
        {"bytes valid in both read as code page 932", "\xC2\xA9", {u"ﾂｩ"}},
        {"broken UTF-8 is code page 932", "\x82\xA0\xE3", {u"あ?"}},
        {"decimal and hex references with and without ;",
         "&#12354;&#12356&#x3046;&#X3048&#x304Az", {u"あいうえおz"}},
        {"references out of range stay as written",
         "&#0;&#xD800;&#1114112;&#99999999999999999999;&#;&#x;&#",
         {u"&#0;&#xD800;&#1114112;&#99999999999999999999;&#;&#x;&#"}},
        {"a reference past the BMP", "&#x1F600;", {u"\U0001F600"}},
        {"the reference ends at the first non-digit", "&#65abc&#x41g", {u"AabcAg"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto parts = readParts(row.bytes, PartsFormat::Txt);
        ASSERT_EQ(parts.size(), 1u);
        EXPECT_EQ(parts[0].lines, row.lines);
    }
}

TEST(PartsFile, IndexRefusesBinaryAndKeepsOffsets)
{
    IndexProblem problem = IndexProblem::None;
    EXPECT_EQ(indexFile(std::string("a\0b", 3), PartsFormat::Mlt, &problem).count(), 0u);
    EXPECT_EQ(problem, IndexProblem::Binary);

    // A megabyte-long line: one part, found without reading it line by line.
    const std::string longLine(1 << 20, 'x');
    const std::string bytes = "\xEF\xBB\xBF" "a\r\n[SPLIT]\r\n" + longLine;
    const FileIndex index = indexFile(bytes, PartsFormat::Mlt, &problem);
    EXPECT_EQ(problem, IndexProblem::None);
    ASSERT_EQ(index.count(), 2u);
    EXPECT_EQ(index.parts[0].start, 3u);
    EXPECT_EQ(index.parts[1].length, longLine.size());
    EXPECT_EQ(index.detected.encoding, TextEncoding::Utf8);
    EXPECT_EQ(partText(std::string_view(bytes).substr(index.parts[0].start, index.parts[0].length),
                       TextEncoding::Utf8),
              u"a");
}

TEST(PartsFile, WriteThenReadGivesTheSameParts)
{
    struct Row
    {
        const char* name;
        PartsFormat format;
        std::vector<Part> parts;
    };
    const Row rows[] = {
        {"MLT with empty parts at both ends", PartsFormat::Mlt,
         unnamed({{}, {u"あ", u""}, {u""}, {u"[SPLIT]", u"&#38;"}, {}})},
        {"AST with empty names and header-like lines", PartsFormat::Ast,
         {{u"", {u"x"}}, {u"手", {u"[AA][y]", u"  a"}}, {u"z", {}}}},
        {"TXT", PartsFormat::Txt, unnamed({{u"a", u"", u"b"}})},
        {"characters code page 932 lacks are written as references", PartsFormat::Ast,
         {{u"\U0001F600", {u"\u00E9\U0001F600"}}}},
        {"a name that reads like a reference stays as written", PartsFormat::Ast,
         {{u"&#x2009;&#65", {u"a"}}, {u"&amp;&", {}}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string bytes = partsFileBytes(row.parts, row.format);
        EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
        EXPECT_EQ(readParts(bytes, row.format), row.parts);
    }
    // Lines are trimmed and the file is code page 932 with CR LF.
    EXPECT_EQ(partsFileBytes(unnamed({{u"あ \u3000", u"b"}, {u"c"}}), PartsFormat::Mlt),
              "\x82\xA0\r\nb\r\n[SPLIT]\r\nc\r\n");
    EXPECT_EQ(partsFileBytes({{u"n\r\nm", {u"a"}}}, PartsFormat::Ast), "[AA][n  m]\r\na\r\n");
}

TEST(PartsFile, AppendKeepsTheFileAndItsEncoding)
{
    struct Row
    {
        const char* name;
        PartsFormat format;
        std::string file;
        std::string appended;
    };
    const Part part{u"名", {u"あ  ", u"b"}};
    const Row rows[] = {
        {"MLT", PartsFormat::Mlt, "a\r\n", "a\r\n[SPLIT]\r\n\x82\xA0\r\nb\r\n"},
        {"MLT without a final line break", PartsFormat::Mlt, "a",
         "a\r\n[SPLIT]\r\n\x82\xA0\r\nb\r\n"},
        {"MLT ending in a separator fills its empty part", PartsFormat::Mlt,
         "a\n[SPLIT]\n", "a\n[SPLIT]\n\x82\xA0\r\nb\r\n"},
        {"empty MLT", PartsFormat::Mlt, "", "\x82\xA0\r\nb\r\n"},
        {"AST", PartsFormat::Ast, "[AA][x]\r\ny",
         "[AA][x]\r\ny\r\n[AA][\x96\xBC]\r\n\x82\xA0\r\nb\r\n"},
        {"a UTF-8 file stays UTF-8", PartsFormat::Ast, "\xEF\xBB\xBF[AA][x]\r\n",
         "\xEF\xBB\xBF[AA][x]\r\n[AA][\xE5\x90\x8D]\r\n\xE3\x81\x82\r\nb\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(appendedPartBytes(row.file, row.format, part), row.appended);
    }
    EXPECT_EQ(appendedPartBytes("a", PartsFormat::Txt, part), std::nullopt);
    EXPECT_EQ(appendedPartBytes(std::string("\0", 1), PartsFormat::Mlt, part), std::nullopt);
}

}  // namespace
}  // namespace masumemo::library
