// Canvas size changes and canvas files. In the tables "_" stands for the full-width space U+3000
// and " " is the half-width space.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "Corpus.h"
#include "TableNotation.h"
#include "grid/Cp932.h"
#include "grid/Fit.h"
#include "grid/References.h"
#include "grid/LineModel.h"

namespace masumemo::grid {
namespace {

using notation::line;
using notation::lines;

TEST(Fit, SizeLimit)
{
    struct Row
    {
        const char* name;
        int keta;
        int gyou;
        bool fits;
    };
    const Row rows[] = {
        {"exactly 64000 units", 40, 800, true},
        {"one line more", 40, 801, false},
        {"one wide line", 32000, 1, true},
        {"one unit-pair too wide", 32001, 1, false},
        {"0 x 0", 0, 0, true},
        {"0 columns, huge line count", 0, INT_MAX, true},
        {"a product that overflows 32 bits", 65536, 65536, false},
        {"a product that overflows 64 bits if doubled", INT_MAX, INT_MAX, false},
        {"negative columns", -1, 5, false},
        {"two negatives make no size", -40, -800, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(withinSizeLimit(row.keta, row.gyou), row.fits);
    }
}

TEST(Fit, LineWidth)
{
    struct Row
    {
        const char* name;
        const char* line;
        int keta;
        const char* fitted;
    };
    const Row rows[] = {
        {"narrowing past a full-width character adds no space", "あいうえ", 3, "あいう"},
        {"a full-width character across the new edge leaves one space", "ab あ ", 2, "ab  "},
        {"widening by full-width spaces", "あい", 3, "あい_"},
        {"an odd shortfall: one space right after the text", "abc", 2, "abc "},
        {"an odd shortfall of three", "a", 2, "a _"},
        {"an empty line", "", 2, "__"},
        {"no columns", "あa", 0, ""},
        {"negative columns", "あa", -3, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(fitLineWidth(line(row.line), row.keta), line(row.fitted));
    }
}

TEST(Fit, ResizeLines)
{
    const std::u16string canvas = joinLines(lines({"あいう", "ab あ ", "xyzw_"}));
    EXPECT_EQ(resizeLines(canvas, 2, 3), joinLines(lines({"あいう", "ab あ "})));
    EXPECT_EQ(resizeLines(canvas, 4, 3), joinLines(lines({"あいう", "ab あ ", "xyzw_", "___"})));
    EXPECT_EQ(resizeLines(canvas, 0, 3), u"");
    // A 0 x 0 canvas (an empty file) holds no line, so growing it makes exactly the new lines.
    EXPECT_EQ(resizeColumns(u"", 35), u"");
    EXPECT_EQ(resizeLines(u"", 20, 35), blankCanvas(35, 20));
}

TEST(Fit, FileLines)
{
    struct Row
    {
        const char* name;
        std::u16string text;
        std::vector<std::u16string_view> lines;
    };
    const Row rows[] = {
        {"CR LF after every line", u"ab\r\ncd\r\n", {u"ab", u"cd"}},
        {"no break after the last line", u"ab\r\ncd", {u"ab", u"cd"}},
        {"lone CR and lone LF end lines", u"a\rb\nc", {u"a", u"b", u"c"}},
        {"LF then CR are two breaks", u"a\n\rb", {u"a", u"", u"b"}},
        {"a final empty line ended by a break", u"x\r\n\r\n", {u"x", u""}},
        {"one break alone", u"\n", {u""}},
        {"the empty file", u"", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(splitFileLines(row.text), row.lines);
    }
}

TEST(Fit, FitToGrid)
{
    struct Row
    {
        const char* name;
        std::vector<std::string> lines;
        int keta;
        std::vector<std::string> fitted;
    };
    // clang-format off
    const Row rows[] = {
        {"widths 2, 6 and 1", {"ab", "あいう", "c"}, 3, {"ab__", "あいう", "c __"}},
        {"a widest line of odd width 7 gets one space", {"abcdefg", "あ"}, 4,
         {"abcdefg ", "あ___"}},
        {"a final empty line becomes full-width spaces", {"あい", ""}, 2, {"あい", "__"}},
        {"no lines", {}, 0, {}},
        {"only empty lines make no columns", {"", ""}, 0, {}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::vector<std::u16string> text = lines(row.lines);
        const FittedCanvas fitted = fitToGrid({text.begin(), text.end()});
        EXPECT_EQ(fitted.keta, row.keta);
        EXPECT_EQ(fitted.gyou, static_cast<int>(row.fitted.size()));
        EXPECT_EQ(canvasLines(fitted.text), lines(row.fitted));
    }
}

TEST(Fit, SavedBytes)
{
    // Trailing spaces of both widths go, inner ones stay, every line ends with CR LF.
    const std::u16string canvas = joinLines(lines({"ab _ ", "a b_", "_ _ ", "あ___"}));
    EXPECT_EQ(canvasFileBytes(canvas), "ab\r\na b\r\n\r\n\x82\xa0\r\n");
    EXPECT_EQ(canvasFileBytes(u""), "");

    // Blank right-hand cells are not kept: the file reopens at its widest remaining line.
    const CanvasFile reopened = readCanvasFile(canvasFileBytes(joinLines(lines({"ab  ", "c _"}))));
    EXPECT_EQ(reopened.canvas.keta, 1);
    EXPECT_EQ(canvasLines(reopened.canvas.text), lines({"ab", "c "}));
}

TEST(Fit, ReadingFiles)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        bool isText;
        bool substituted;
        bool controlsDropped;
        std::vector<std::string> lines;
    };
    // clang-format off
    const Row rows[] = {
        {"code page 932 with CR LF", "ab\r\n\x82\xa0\r\n", true, false, false, {"ab", "あ"}},
        {"the same without the final break", "ab\r\n\x82\xa0", true, false, false, {"ab", "あ"}},
        {"LF line ends", "ab\n\x82\xa0\n", true, false, false, {"ab", "あ"}},
        {"a lead byte without its trail byte", "a\x82\r\nb", true, true, false, {"a?", "b "}},
        {"a byte that is no character", "a\xff" "b", true, true, false, {"a?b "}},
        {"Tab never enters the canvas", "a\tb\r\n", true, false, true, {"ab"}},
        {"NUL bytes: not a text file", std::string("ab\0cd", 5), false, false, false, {}},
        {"the empty file is 0 x 0", "", true, false, false, {}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CanvasFile file = readCanvasFile(row.bytes);
        EXPECT_EQ(file.isText, row.isText);
        EXPECT_EQ(file.substituted, row.substituted);
        EXPECT_EQ(file.controlsDropped, row.controlsDropped);
        EXPECT_EQ(canvasLines(file.canvas.text), lines(row.lines));
        EXPECT_EQ(file.canvas.gyou, static_cast<int>(row.lines.size()));
    }
}

TEST(Fit, CanvasSizeLimitOfFiles)
{
    // "abcd" and "x" pad to 2 lines of 4 units: 8 units in all.
    EXPECT_FALSE(readCanvasFile("abcd\r\nx", 8).tooLarge);
    const CanvasFile over = readCanvasFile("abcd\r\nx", 7);
    EXPECT_TRUE(over.isText);
    EXPECT_TRUE(over.tooLarge);
    EXPECT_TRUE(over.canvas.text.empty());
    // One line longer than the limit is refused before its width is summed.
    EXPECT_TRUE(readCanvasFile(std::string(9, 'a'), 8).tooLarge);
}

TEST(Fit, LinesPastSixteenBitsOpen)
{
    // 20000 x 1 is a size Apply allows; its saved file must reopen, and wider ones too.
    const std::string wide(70001, 'a');
    const CanvasFile file = readCanvasFile(wide + "\r\n" + "b\r\n");
    ASSERT_TRUE(file.isText);
    EXPECT_EQ(file.canvas.keta, 35001);
    EXPECT_EQ(file.canvas.gyou, 2);
    EXPECT_EQ(WidthOf(canvasLines(file.canvas.text)[1]), 70002);
}

// Every picture of the corpus, as a code page 932 file, opens onto the grid with its references
// read as the characters they stand for, and saves back to the same bytes but for trailing
// spaces and line ends.
TEST(Fit, CorpusRoundTrip)
{
    if (const char* reason = testing::corpusSkipReason()) {
        GTEST_SKIP() << reason;
    }
    const auto pictures = testing::corpusPictures();
    EXPECT_EQ(pictures.size(), 1165u);
    const auto trimmed = [](const auto& in) {
        std::vector<std::u16string> out;
        for (const auto& l : in) {
            out.push_back(trimTrailingSpaces(l));
        }
        return out;
    };
    for (const auto& path : pictures) {
        SCOPED_TRACE(path.string());
        const std::string bytes = encodeCp932(testing::fromUtf8(testing::readBytes(path)));
        const std::vector<std::u16string> original =
            trimmed(splitFileLines(decodeReferences(decodeCp932(bytes))));

        const CanvasFile opened = readCanvasFile(bytes);
        ASSERT_TRUE(opened.isText);
        EXPECT_FALSE(opened.substituted);
        const std::vector<std::u16string> grid = canvasLines(opened.canvas.text);
        ASSERT_EQ(static_cast<int>(grid.size()), opened.canvas.gyou);
        for (const std::u16string& l : grid) {
            ASSERT_EQ(WidthOf(l), 2 * opened.canvas.keta);
        }
        EXPECT_EQ(trimmed(grid), original);

        std::string expected;
        const std::u16string asWritten = decodeCp932(bytes);
        for (const std::u16string_view l : splitFileLines(asWritten)) {
            expected += encodeCp932(withoutTrailingSpaces(l)) + "\r\n";
        }
        const std::string saved = canvasFileBytes(opened.canvas.text, opened.form);
        ASSERT_EQ(saved, expected);
        const CanvasFile reopened = readCanvasFile(saved);
        EXPECT_EQ(trimmed(canvasLines(reopened.canvas.text)), original);
    }
}

}  // namespace
}  // namespace masumemo::grid
