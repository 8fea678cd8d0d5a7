// Reading and writing MLT, AST and TXT files of parts, on hand-written bytes. Code page 932 bytes
// are written as escapes: "\x82\xA0" is "あ".

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/Cp932.h"
#include "pagefile/PartsFile.h"

namespace masumemo::pagefile {
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
        {"a separator on the last line opens no part after it", "a\r\n[SPLIT]\r\n", {{u"a"}}},
        {"the same without its line break", "a\n[SPLIT]", {{u"a"}}},
        {"an empty line after the last separator is a part", "a\r[SPLIT]\r\r", {{u"a"}, {u""}}},
        {"two separators in a row", "a\r\n[SPLIT]\r\n[SPLIT]\r\nb", {{u"a"}, {}, {u"b"}}},
        {"an empty line before a separator stays in the part",
         "a\r\n\r\n[SPLIT]\r\nb",
         {{u"a", u""}, {u"b"}}},
        {"only a line break is one empty line", "\r\n[SPLIT]\r\n\r\n", {{u""}, {u""}}},
        {"a separator line must be exact",
         "[SPLIT] \r\n [SPLIT]\r\nx[SPLIT]\r\n[SPLIT]x",
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
        // Multi-byte UTF-8 is UTF-8, even where it happens to be code page 932 as well ("ﾂｩ").
        {"bytes valid in both read as UTF-8", "\xC2\xA9", {u"\u00A9"}},
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
        {"MLT with an empty first part and an empty one inside", PartsFormat::Mlt,
         unnamed({{}, {u"あ", u""}, {}, {u""}, {u"[SPLIT]", u"&#38;"}})},
        {"AST with empty names and header-like lines",
         PartsFormat::Ast,
         {{u"", {u"x"}}, {u"手", {u"[AA][y]", u"  a"}}, {u"z", {}}}},
        {"TXT", PartsFormat::Txt, unnamed({{u"a", u"", u"b"}})},
        {"characters code page 932 lacks are written as references",
         PartsFormat::Ast,
         {{u"\U0001F600", {u"\u00E9\U0001F600"}}}},
        {"a name that reads like a reference stays as written",
         PartsFormat::Ast,
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

TEST(PartsFile, AppendKeepsTheFileItsEncodingAndItsLineEnds)
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
        {"MLT", PartsFormat::Mlt, "a\r\n", "[SPLIT]\r\n\x82\xA0\r\nb\r\n"},
        {"MLT without a final line break", PartsFormat::Mlt, "a",
         "\r\n[SPLIT]\r\n\x82\xA0\r\nb\r\n"},
        {"MLT ending in a separator fills its empty part", PartsFormat::Mlt, "a\n[SPLIT]\n",
         "\x82\xA0\nb\n"},
        {"the same without the separator's line break", PartsFormat::Mlt, "a\r\n[SPLIT]",
         "\r\n\x82\xA0\r\nb\r\n"},
        {"a line only ending like a separator is text", PartsFormat::Mlt, "x[SPLIT]\r\n",
         "[SPLIT]\r\n\x82\xA0\r\nb\r\n"},
        {"empty MLT", PartsFormat::Mlt, "", "\x82\xA0\r\nb\r\n"},
        {"an LF file gets LF", PartsFormat::Mlt, "a\nb\n", "[SPLIT]\n\x82\xA0\nb\n"},
        {"a CR file gets CR", PartsFormat::Ast, "[AA][x]\ry", "\r[AA][\x96\xBC]\r\x82\xA0\rb\r"},
        {"mixed: the last break, so a lone CR at the end and the next LF never make one break",
         PartsFormat::Mlt, "a\n[SPLIT]\r", "\x82\xA0\rb\r"},
        {"AST", PartsFormat::Ast, "[AA][x]\r\ny", "\r\n[AA][\x96\xBC]\r\n\x82\xA0\r\nb\r\n"},
        {"a UTF-8 file stays UTF-8", PartsFormat::Ast, "\xEF\xBB\xBF[AA][x]\r\n",
         "[AA][\xE5\x90\x8D]\r\n\xE3\x81\x82\r\nb\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(bytesToAppend(row.file, row.format, part), row.appended);
        // What is appended reads back as one more part.
        const std::string whole = row.file + row.appended;
        const auto parts = readParts(whole, row.format);
        ASSERT_FALSE(parts.empty());
        EXPECT_EQ(parts.back().lines, (Lines{u"あ", u"b"}));
    }
    EXPECT_EQ(bytesToAppend("a", PartsFormat::Txt, part), std::nullopt);
    EXPECT_EQ(bytesToAppend(std::string("\0", 1), PartsFormat::Mlt, part), std::nullopt);
}

TEST(PartsFile, LineEndsOfEveryKindAreFoundInOnePass)
{
    // Many parts in files with one kind of line end each: the same parts from all three.
    std::vector<Lines> parts;
    for (int i = 0; i < 3000; ++i) {
        parts.push_back({u"p" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)), u"x"});
    }
    const std::string crlf = partsFileBytes(unnamed(parts), PartsFormat::Mlt);
    for (const char* end : {"\n", "\r"}) {
        SCOPED_TRACE(end[0] == '\n' ? "LF" : "CR");
        std::string bytes;
        for (std::size_t i = 0; i < crlf.size(); ++i) {
            if (crlf.compare(i, 2, "\r\n") == 0) {
                bytes += end;
                ++i;
            } else {
                bytes += crlf[i];
            }
        }
        EXPECT_EQ(readParts(bytes, PartsFormat::Mlt), unnamed(parts));
    }
}

TEST(PartsFile, IndexingStopsWhenCancelled)
{
    std::string bytes;
    for (int i = 0; i < 2000; ++i) {
        bytes += "a\n[SPLIT]\n";
    }
    const std::atomic<bool> cancel{true};
    IndexProblem problem = IndexProblem::None;
    EXPECT_EQ(indexFile(bytes, PartsFormat::Mlt, &problem, &cancel).count(), 0u);
    EXPECT_EQ(problem, IndexProblem::Cancelled);
    const std::atomic<bool> goOn{false};
    EXPECT_EQ(indexFile(bytes, PartsFormat::Mlt, &problem, &goOn).count(), 2000u);
    EXPECT_EQ(problem, IndexProblem::None);
}

TEST(PartsFile, CanvasLinesForAPart)
{
    struct Row
    {
        const char* name;
        std::u16string canvas;
        Lines lines;
    };
    const Row rows[] = {
        {"trailing blank lines of both widths left out",
         u"a\r\n\u3000 \r\n\r\n\u3000\u3000",
         {u"a"}},
        {"blank lines inside and at the top kept",
         u"\u3000\r\na\r\n\r\nb\r\n  ",
         {u"\u3000", u"a", u"", u"b"}},
        {"a blank canvas gives none", u"\u3000\u3000\r\n\u3000\u3000", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(linesForPart(row.canvas), row.lines);
    }
}

TEST(PartsFile, PreviewDecodesOnlyWhatIsShown)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        std::size_t maxLines;
        std::size_t maxChars;
        Lines shown;
    };
    const std::string huge(1 << 20, 'x');
    const Row rows[] = {
        {"all of a small part, line ends of every kind",
         "a\r\nb\rc\n\r\n\x82\xA0",
         9,
         9,
         {u"a", u"b", u"c", u"", u"あ"}},
        {"lines beyond the last shown give one more line \"…\"",
         "a\r\nb\r\nc",
         2,
         9,
         {u"a", u"b", u"…"}},
        {"a final line break adds no line", "a\r\nb\r\n", 2, 9, {u"a", u"b"}},
        {"a long line is cut with \"…\"", "abcdef\r\nxy", 9, 3, {u"abc…", u"xy"}},
        {"references count as the character they stand for", "&#12354;&#12356;", 9, 2, {u"あい"}},
        {"a megabyte line is cut, and the next line still found",
         huge + "\r\nz",
         9,
         4,
         {u"xxxx…", u"z"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PreviewLines whole(TextEncoding::Cp932, row.maxLines, row.maxChars);
        whole.feed(row.bytes);
        EXPECT_EQ(whole.lines(), row.shown);
        // Fed in small pieces (a CR LF split between two of them too), the same lines.
        PreviewLines pieces(TextEncoding::Cp932, row.maxLines, row.maxChars);
        for (std::size_t i = 0;
             i < row.bytes.size() && pieces.feed(std::string_view(row.bytes).substr(i, 3));
             i += 3) {
        }
        EXPECT_EQ(pieces.lines(), row.shown);
    }
}

}  // namespace
}  // namespace masumemo::pagefile
