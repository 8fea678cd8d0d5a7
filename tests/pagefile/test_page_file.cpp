// Files of pages split into byte spans and joined back: unchanged pages byte for byte, a changed
// page by the canvas's save rules, separator lines escaped. Code page 932 bytes are written as
// escapes: "\x82\xA0" is "あ".

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Corpus.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "grid/References.h"
#include "pagefile/PageFile.h"

namespace masumemo::pagefile {
namespace {

using Lines = std::vector<std::u16string>;

std::vector<PageToWrite> unchanged(const PageLayout& layout)
{
    std::vector<PageToWrite> pages;
    for (std::size_t i = 0; i < layout.pages.size(); ++i) {
        pages.push_back({i, std::nullopt, std::nullopt});
    }
    return pages;
}

std::string body(std::string_view bytes, const PageSpan& span)
{
    return std::string(bytes.substr(span.bodyStart, span.bodyEnd - span.bodyStart));
}

PageFileForm formOf(const PageLayout& layout)
{
    PageFileForm form;
    form.format = layout.format;
    form.text.encoding = layout.detected.encoding == TextEncoding::Utf8 ? grid::TextEncoding::Utf8
                                                                        : grid::TextEncoding::Cp932;
    form.text.byteOrderMark = layout.detected.bomLength > 0;
    form.lineBreak = layout.lineBreak;
    return form;
}

/// The lines of a page as the canvas shows them, trailing spaces trimmed.
Lines shownLines(std::string_view bytes, const PageLayout& layout, std::size_t page)
{
    Lines lines;
    const grid::CanvasFile read = readPageBody(body(bytes, layout.pages[page]), layout);
    for (const std::u16string& line : grid::canvasLines(read.canvas.text)) {
        lines.push_back(grid::trimTrailingSpaces(line));
    }
    return lines;
}

/// Changing page k alone: the bytes before its body and after it stay as they were.
void expectOnlyPageChanged(const std::string& bytes, const PageLayout& layout, std::size_t k,
                           const std::string& newBody)
{
    std::vector<PageToWrite> pages = unchanged(layout);
    pages[k].body = newBody;
    const std::string written = joinPages(pages, formOf(layout), bytes, &layout);
    const PageSpan span = layout.pages[k];
    // An empty last page of an MLT is written as one blank line, or it would not read back.
    const bool keptAsBlankLine = newBody.empty() && layout.format == PartsFormat::Mlt && k > 0 &&
                                 k + 1 == layout.pages.size() && layout.tailStart == bytes.size();
    std::string expected = bytes.substr(0, span.bodyStart);
    // A header on the last line without a line break gets one before a body.
    if (!newBody.empty() && span.bodyStart > span.headStart && expected.back() != '\n' &&
        expected.back() != '\r') {
        expected += std::string(layout.lineBreak);
    }
    expected += keptAsBlankLine ? std::string(layout.lineBreak) : newBody;
    const std::string after = bytes.substr(span.bodyEnd);
    if (!after.empty() && !newBody.empty() && newBody.back() != '\n' && newBody.back() != '\r') {
        expected += std::string(layout.lineBreak);
    }
    EXPECT_EQ(written, expected + after);
}

TEST(PageFile, SplitTable)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        PartsFormat format;
        std::vector<std::string> bodies;
        std::vector<std::u16string> names;
        std::string lead;
        std::string tail;
    };
    const std::vector<Row> rows = {
        {"MLT of two pages in CR LF", "a\r\n[SPLIT]\r\nb\r\n", PartsFormat::Mlt,
         {"a\r\n", "b\r\n"}, {}, "", ""},
        {"MLT in LF without a last line end", "a\n[SPLIT]\nb", PartsFormat::Mlt, {"a\n", "b"}, {},
         "", ""},
        {"an empty page between two separators", "a\r\n[SPLIT]\r\n[SPLIT]\r\nc\r\n",
         PartsFormat::Mlt, {"a\r\n", "", "c\r\n"}, {}, "", ""},
        {"a page of blanks only", "a\r\n[SPLIT]\r\n  \r\n\r\n", PartsFormat::Mlt,
         {"a\r\n", "  \r\n\r\n"}, {}, "", ""},
        // The last separator opens no page: it is kept as the file's tail.
        {"a closing separator", "a\r\n[SPLIT]\r\n", PartsFormat::Mlt, {"a\r\n"}, {}, "",
         "[SPLIT]\r\n"},
        {"a line that only begins like a separator", "[SPLIT] x\r\n", PartsFormat::Mlt,
         {"[SPLIT] x\r\n"}, {}, "", ""},
        {"a UTF-8 byte order mark is the lead", "\xEF\xBB\xBF" "a\r\n[SPLIT]\r\nb",
         PartsFormat::Mlt, {"a\r\n", "b"}, {}, "\xEF\xBB\xBF", ""},
        {"AST with lines before its first header", "note\r\n[AA][x]\r\nb\r\n[AA][]\r\nc",
         PartsFormat::Ast, {"b\r\n", "c"}, {u"x", u""}, "note\r\n", ""},
        {"AST names with a closing bracket", "[AA][a]b]\r\n1\r\n[AA][]]\r\n2\r\n",
         PartsFormat::Ast, {"1\r\n", "2\r\n"}, {u"a]b", u"]"}, "", ""},
        {"an AST header on the last line", "[AA][x]\r\n1\r\n[AA][y]", PartsFormat::Ast,
         {"1\r\n", ""}, {u"x", u"y"}, "", ""},
        {"an AST in lone CRs", "[AA][x]\r1\r[AA][y]\r2\r", PartsFormat::Ast, {"1\r", "2\r"},
         {u"x", u"y"}, "", ""},
        {"an AST without a header has no pages", "just text\r\n", PartsFormat::Ast, {}, {},
         "just text\r\n", ""},
        {"an empty file has no pages", "", PartsFormat::Mlt, {}, {}, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const PageLayout layout = splitPages(row.bytes, row.format);
        ASSERT_EQ(layout.pages.size(), row.bodies.size());
        for (std::size_t i = 0; i < row.bodies.size(); ++i) {
            EXPECT_EQ(body(row.bytes, layout.pages[i]), row.bodies[i]) << "page " << i;
            if (row.format == PartsFormat::Ast) {
                EXPECT_EQ(layout.name(i), row.names[i]) << "page " << i;
            }
        }
        EXPECT_EQ(row.bytes.substr(0, layout.leadEnd), row.lead);
        EXPECT_EQ(row.bytes.substr(layout.tailStart), row.tail);
        EXPECT_EQ(joinPages(unchanged(layout), formOf(layout), row.bytes, &layout), row.bytes);
        for (std::size_t k = 0; k < layout.pages.size(); ++k) {
            SCOPED_TRACE(k);
            expectOnlyPageChanged(row.bytes, layout, k, "changed" + std::string(layout.lineBreak));
            expectOnlyPageChanged(row.bytes, layout, k, "");
        }
    }
}

TEST(PageFile, BodyLineCount)
{
    EXPECT_EQ(bodyLineCount(""), 0);
    EXPECT_EQ(bodyLineCount("a"), 1);
    EXPECT_EQ(bodyLineCount("a\r\n\r\n"), 2);
    EXPECT_EQ(bodyLineCount("a\r\rb\n"), 3);
    EXPECT_EQ(bodyLineCount("\n\n\nx"), 4);
}

TEST(PageFile, SeparatorLinesReadBackAsPageLines)
{
    const Lines tricky = {u"[SPLIT]",         u"&#91;SPLIT]", u"&#38;#91;SPLIT]", u"[AA][x]",
                          u"[AA][",           u"&#91;AA][y]", u"[SPLIT] x",       u"&#91;foo",
                          u"&#38;#38;#91;AA][", u"あ"};
    for (const PartsFormat format : {PartsFormat::Mlt, PartsFormat::Ast}) {
        for (const bool utf8 : {false, true}) {
            SCOPED_TRACE(format == PartsFormat::Mlt ? "MLT" : "AST");
            SCOPED_TRACE(utf8 ? "UTF-8" : "code page 932");
            PageFileForm form;
            form.format = format;
            form.text.encoding = utf8 ? grid::TextEncoding::Utf8 : grid::TextEncoding::Cp932;
            const std::string page = pageBody(grid::joinLines(tricky), 0, form);
            const std::vector<PageToWrite> pages = {{std::nullopt, page, u"one"},
                                                    {std::nullopt, page, u"two"}};
            const std::string bytes = joinPages(pages, form);
            const PageLayout layout = splitPages(bytes, format);
            ASSERT_EQ(layout.pages.size(), 2u);
            EXPECT_EQ(shownLines(bytes, layout, 0), tricky);
            EXPECT_EQ(shownLines(bytes, layout, 1), tricky);
        }
    }
    // A line that is no separator is written as it is.
    EXPECT_EQ(escapeSeparator(u"&#91;foo", PartsFormat::Mlt), u"&#91;foo");
    EXPECT_EQ(escapeSeparator(u"[AA][x]", PartsFormat::Mlt), u"[AA][x]");
    EXPECT_EQ(escapeSeparator(u"[SPLIT]", PartsFormat::Mlt), u"&#91;SPLIT]");
    EXPECT_EQ(escapeSeparator(u"&#91;SPLIT]", PartsFormat::Mlt), u"&#38;#91;SPLIT]");
}

TEST(PageFile, ChangedPageBody)
{
    PageFileForm form;
    form.lineBreak = "\n";
    // The canvas pads the page to the largest page's size; the lines it read are kept.
    EXPECT_EQ(pageBody(u"a　\r\n　　\r\n　　\r\n　　", 2, form), "a\n\n");
    EXPECT_EQ(pageBody(u"a \r\n　　\r\nb ", 1, form), "a\n\nb\n");
    EXPECT_EQ(pageBody(u"", 3, form), "");
    // Characters beyond code page 932 as references in the file's spelling.
    form.text.spelling = {false, true, true};
    EXPECT_EQ(pageBody(u"\u200A", 0, form), "&#8202;\n");
    form.text.encoding = grid::TextEncoding::Utf8;
    EXPECT_EQ(pageBody(u"\u200A", 0, form), "\xE2\x80\x8A\n");
}

TEST(PageFile, PagesMovedAddedAndRenamed)
{
    const std::string mlt = "one\r\n[SPLIT]\r\ntwo\r\n[SPLIT]\r\nthree";
    const PageLayout layout = splitPages(mlt, PartsFormat::Mlt);
    const PageFileForm form = formOf(layout);
    // The first page moved after the last: it gets a separator, the new first page loses its
    // own, and the last page without a line end gets one before what follows it.
    EXPECT_EQ(joinPages({{1, {}, {}}, {2, {}, {}}, {0, {}, {}}}, form, mlt, &layout),
              "two\r\n[SPLIT]\r\nthree\r\n[SPLIT]\r\none\r\n");
    EXPECT_EQ(joinPages({{0, {}, {}}, {std::nullopt, std::string("new\r\n"), {}}}, form, mlt,
                        &layout),
              "one\r\n[SPLIT]\r\nnew\r\n");

    const std::string ast = "[AA][a]\n1\n[AA][b]\n2\n";
    const PageLayout astLayout = splitPages(ast, PartsFormat::Ast);
    EXPECT_EQ(joinPages({{0, {}, u"a]x"}, {1, {}, {}}}, formOf(astLayout), ast, &astLayout),
              "[AA][a]x]\n1\n[AA][b]\n2\n");
    EXPECT_EQ(joinPages({{1, {}, {}}, {std::nullopt, std::string("3\n"), u""}}, formOf(astLayout),
                        ast, &astLayout),
              "[AA][b]\n2\n[AA][]\n3\n");
    // Written afresh in another form: every header from the names.
    PageFileForm mltForm = form;
    EXPECT_EQ(joinPages({{std::nullopt, std::string("x\r\n"), u"n"},
                         {std::nullopt, std::string(), u"m"}},
                        mltForm),
              "x\r\n[SPLIT]\r\n\r\n");
    mltForm.format = PartsFormat::Ast;
    mltForm.text.encoding = grid::TextEncoding::Utf8;
    mltForm.text.byteOrderMark = true;
    EXPECT_EQ(joinPages({{std::nullopt, std::string("x\r\n"), u"な"}}, mltForm),
              "\xEF\xBB\xBF[AA][\xE3\x81\xAA]\r\nx\r\n");
}

TEST(PageFile, ALoneCrBeforeAnEmptyLfLineKeepsThatLine)
{
    // The file ends its lines in LF, but its separator in a lone CR: a changed page starting
    // with an empty line must not have that line's LF read as the second half of a CR LF.
    const std::string mlt = "a\r[SPLIT]\rb\n";
    const PageLayout layout = splitPages(mlt, PartsFormat::Mlt);
    ASSERT_EQ(layout.pages.size(), 2u);
    const std::string written =
        joinPages({{0, {}, {}}, {1, std::string("\nb\n"), {}}}, formOf(layout), mlt, &layout);
    EXPECT_EQ(written, "a\r[SPLIT]\r\n\nb\n");
    const PageLayout again = splitPages(written, PartsFormat::Mlt);
    ASSERT_EQ(again.pages.size(), 2u);
    EXPECT_EQ(shownLines(written, again, 1), (Lines{u"", u"b"}));
}

TEST(PageFile, AnAstWithoutHeadersGetsOneBeforeAPage)
{
    const std::string ast = "notes";
    const PageLayout layout = splitPages(ast, PartsFormat::Ast);
    EXPECT_EQ(joinPages({}, formOf(layout), ast, &layout), "notes");
    EXPECT_EQ(joinPages({{std::nullopt, std::string("p\r\n"), u"n"}}, formOf(layout), ast, &layout),
              "notes\r\n[AA][n]\r\np\r\n");
}

/// Collections of corpus pictures in every form a file of pages comes in, built in memory.
struct Collection
{
    const char* name;
    PartsFormat format;
    bool cp932;
    std::string lineBreak;
    bool lastLineEnd;
};

/// One picture in the collection's encoding and line break, ending in one.
std::string pictureBytes(const std::u16string& picture, const Collection& c)
{
    const std::u16string text = grid::lineEndsAs(picture, u"\n") + u"\n";
    const std::string encoded =
        c.cp932 ? grid::encodeCp932WithReferences(text, {}) : grid::encodeUtf8(text);
    std::string out;
    for (char ch : encoded) {
        out += ch == '\n' ? c.lineBreak : std::string(1, ch);
    }
    return out;
}

std::string collectionBytes(const std::vector<std::u16string>& pictures, const Collection& c)
{
    std::string out;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (c.format == PartsFormat::Ast) {
            out += "[AA][" + std::to_string(i) + "]" + c.lineBreak;
        } else if (i > 0) {
            out += "[SPLIT]" + c.lineBreak;
        }
        out += pictureBytes(pictures[i], c);
    }
    while (!c.lastLineEnd && !out.empty() && (out.back() == '\n' || out.back() == '\r')) {
        out.pop_back();
    }
    return out;
}

TEST(PageFile, CorpusCollectionsRoundTrip)
{
    if (const char* reason = testing::corpusSkipReason()) {
        GTEST_SKIP() << reason;
    }
    std::vector<std::u16string> pictures;
    for (const auto& path : testing::corpusPictures()) {
        pictures.push_back(testing::fromUtf8(testing::readBytes(path)));
    }
    ASSERT_FALSE(pictures.empty());
    const std::vector<Collection> collections = {
        {"MLT, code page 932, CR LF", PartsFormat::Mlt, true, "\r\n", true},
        {"MLT, UTF-8, LF, no last line end", PartsFormat::Mlt, false, "\n", false},
        {"AST, code page 932, LF", PartsFormat::Ast, true, "\n", true},
        {"AST, UTF-8, CR LF, no last line end", PartsFormat::Ast, false, "\r\n", false},
    };
    for (const Collection& c : collections) {
        SCOPED_TRACE(c.name);
        const std::string bytes = collectionBytes(pictures, c);
        const PageLayout layout = splitPages(bytes, c.format);
        ASSERT_EQ(layout.pages.size(), pictures.size());
        EXPECT_EQ(joinPages(unchanged(layout), formOf(layout), bytes, &layout), bytes);
        // Each page reads as the picture would as a file of its own.
        for (std::size_t i = 0; i < pictures.size(); i += 37) {
            const grid::DetectedEncoding encoding{
                c.cp932 ? grid::TextEncoding::Cp932 : grid::TextEncoding::Utf8, false};
            const grid::CanvasFile alone =
                grid::readCanvasFile(pictureBytes(pictures[i], c), encoding,
                                     grid::kMaxOpenedCanvasUnits);
            EXPECT_EQ(readPageBody(body(bytes, layout.pages[i]), layout).canvas.text,
                      alone.canvas.text)
                << "page " << i;
            // Measured without its text, the page has the size it is shown in.
            const grid::CanvasFile measured = measurePageBody(body(bytes, layout.pages[i]), layout);
            EXPECT_TRUE(measured.canvas.text.empty());
            EXPECT_EQ(measured.canvas.keta, alone.canvas.keta) << "page " << i;
            EXPECT_EQ(measured.canvas.gyou, alone.canvas.gyou) << "page " << i;
        }
        // A changed page, written by the save rules, changes only its own bytes.
        for (std::size_t k = 0; k < pictures.size(); k += 101) {
            const grid::CanvasFile read = readPageBody(body(bytes, layout.pages[k]), layout);
            const std::string written =
                pageBody(u"x" + read.canvas.text, bodyLineCount(body(bytes, layout.pages[k])),
                         formOf(layout));
            expectOnlyPageChanged(bytes, layout, k, written);
        }
    }
}

}  // namespace
}  // namespace masumemo::pagefile
