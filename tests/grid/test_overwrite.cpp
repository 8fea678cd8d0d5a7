#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "grid/LineModel.h"
#include "grid/Overwrite.h"

using namespace masumemo::grid;

namespace {

using Lines = std::vector<std::u16string>;

/// A grid position: 1-based line, 0-based column in characters.
struct Pos
{
    int line = 1;
    int column = 0;
};

int offsetOf(const Lines& lines, Pos pos)
{
    int offset = pos.column;
    for (int i = 0; i + 1 < pos.line; ++i) {
        offset += static_cast<int>(lines[static_cast<size_t>(i)].size()) + 2;
    }
    return offset;
}

enum class Op
{
    Type,
    Delete,
    Backspace,
    Paste
};

struct Row
{
    const char* name;
    Lines before;
    Pos at;
    Op op;
    std::u16string input;        // the typed character or the pasted text
    std::optional<Lines> after;  // nothing: refused
    Pos caret;
};

EditOutcome run(const Row& row, int keta)
{
    const std::u16string canvas = joinLines(row.before);
    const int caret = offsetOf(row.before, row.at);
    switch (row.op) {
        case Op::Type:
            return typeCharacter(canvas, caret, row.input.at(0), keta);
        case Op::Delete:
            return deleteCharacter(canvas, caret, keta);
        case Op::Backspace:
            return backspaceCharacter(canvas, caret, keta);
        case Op::Paste:
            return pasteText(canvas, caret, row.input, keta);
    }
    return {};
}

void checkRows(const std::vector<Row>& rows, int keta)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const EditOutcome outcome = run(row, keta);
        ASSERT_EQ(outcome.accepted, row.after.has_value());
        if (row.after) {
            EXPECT_EQ(SplitText(outcome.text), *row.after);
            EXPECT_EQ(outcome.caret, offsetOf(*row.after, row.caret));
        }
    }
}

// Written out, "　" is U+3000 and " " U+0020. That the wrapper and ProcessChange agree on what
// the edit control leaves is checked by the randomised invariant test.

TEST(Overwrite, KeysAndSingleLinePaste)
{
    // clang-format off
    const std::vector<Row> rows = {
        {"half-width letter on a full-width space leaves a half-width space",
         {u"　　　", u"　　　"}, {1, 0}, Op::Type, u"a", Lines{u"a 　　", u"　　　"}, {1, 1}},
        {"half-width over a full-width character mid-line",
         {u"いうえ"}, {1, 1}, Op::Type, u"x", Lines{u"いx え"}, {1, 2}},
        {"full-width over two half-width characters removes both",
         {u"abcdef"}, {1, 0}, Op::Type, u"あ", Lines{u"あcdef"}, {1, 1}},
        {"full-width over half then full removes both and fills the cut half",
         {u"aいう "}, {1, 0}, Op::Type, u"あ", Lines{u"あ う "}, {1, 1}},
        {"full-width over the last two half-width cells",
         {u"いうab"}, {1, 2}, Op::Type, u"あ", Lines{u"いうあ"}, {1, 3}},
        {"full-width into the last half-width cell is refused",
         {u"いうab"}, {1, 3}, Op::Type, u"あ", std::nullopt, {}},
        {"typing at a line end is refused",
         {u"abcdef", u"ghijkl"}, {1, 6}, Op::Type, u"x", std::nullopt, {}},
        {"typing at the end of the text is refused",
         {u"abcdef", u"ghijkl"}, {2, 6}, Op::Type, u"x", std::nullopt, {}},
        {"a typed line break is refused",
         {u"abcdef"}, {1, 2}, Op::Type, u"\r", std::nullopt, {}},
        {"a typed Tab is refused",
         {u"abcdef"}, {1, 2}, Op::Type, u"\t", std::nullopt, {}},
        {"Delete on a full-width character blanks it, caret past it",
         {u"あいう"}, {1, 1}, Op::Delete, u"", Lines{u"あ　う"}, {1, 2}},
        {"Backspace after a half-width character blanks it, caret before it",
         {u"abcdef"}, {1, 2}, Op::Backspace, u"", Lines{u"a cdef"}, {1, 1}},
        {"Backspace on the canvas's first character keeps the caret at 0",
         {u"あいう", u"abcdef"}, {1, 1}, Op::Backspace, u"", Lines{u"　いう", u"abcdef"}, {1, 0}},
        {"Backspace at the end of the last line",
         {u"abcdef", u"あいう"}, {2, 3}, Op::Backspace, u"", Lines{u"abcdef", u"あい　"}, {2, 2}},
        {"Delete at a line end is refused (the editor only moves the caret there)",
         {u"abcdef", u"ghijkl"}, {1, 6}, Op::Delete, u"", std::nullopt, {}},
        {"Delete at the end of the text is refused",
         {u"abcdef", u"ghijkl"}, {2, 6}, Op::Delete, u"", std::nullopt, {}},
        {"Backspace at a line start is refused",
         {u"abcdef", u"ghijkl"}, {2, 0}, Op::Backspace, u"", std::nullopt, {}},
        {"Backspace at offset 0 is refused",
         {u"abcdef"}, {1, 0}, Op::Backspace, u"", std::nullopt, {}},
        {"paste fits and half covers a full-width character",
         {u"　　　"}, {1, 0}, Op::Paste, u"abc", Lines{u"abc 　"}, {1, 3}},
        {"full-width text over half-width cells",
         {u"abcdef", u"ghijkl"}, {2, 1}, Op::Paste, u"いう", Lines{u"abcdef", u"gいうl"}, {2, 3}},
        {"runs past the line end: the rest is cut",
         {u"abcdef"}, {1, 3}, Op::Paste, u"xあい", Lines{u"abcxあ"}, {1, 5}},
        {"runs past the line end with a full-width character half covered",
         {u"abcdef", u"ghijkl"}, {1, 3}, Op::Paste, u"xyあ", Lines{u"abcxy ", u"ghijkl"}, {1, 5}},
        {"at a line end nothing fits: the text stays, caret stays",
         {u"abcdef", u"ghijkl"}, {1, 6}, Op::Paste, u"xy", Lines{u"abcdef", u"ghijkl"}, {1, 6}},
        {"an empty paste is refused",
         {u"abcdef"}, {1, 3}, Op::Paste, u"", std::nullopt, {}},
        {"a pasted Tab is refused",
         {u"abcdef"}, {1, 3}, Op::Paste, u"a\tb", std::nullopt, {}},
    };
    // clang-format on
    checkRows(rows, 3);
}

TEST(Overwrite, MultiLinePaste)
{
    // Five lines of eight units; unit column 3 falls inside "い" on line 3 and "き" on line 5.
    const Lines canvas = {u"12345678", u"abcdefgh", u"あいうえ", u"ABCDEFGH", u"かきくけ"};
    // clang-format off
    const std::vector<Row> rows = {
        {"three lines at unit column 3 of line 2 overlay lines 2 to 4",
         canvas, {2, 3}, Op::Paste, u"xy\r\nＺ\r\nPQ",
         Lines{u"12345678", u"abcxyfgh", u"あ Ｚ え", u"ABCPQFGH", u"かきくけ"}, {4, 5}},
        {"on line 4 only the first two pasted lines apply",
         canvas, {4, 3}, Op::Paste, u"xy\r\nＺ\r\nPQ",
         Lines{u"12345678", u"abcdefgh", u"あいうえ", u"ABCxyFGH", u"か Ｚ け"}, {5, 3}},
        {"a half-width line at a cut: the left half becomes a space, the right is overwritten",
         canvas, {2, 3}, Op::Paste, u"x\r\ny",
         Lines{u"12345678", u"abcxefgh", u"あ yうえ", u"ABCDEFGH", u"かきくけ"}, {3, 3}},
        {"an empty pasted line leaves its target as it was",
         canvas, {1, 2}, Op::Paste, u"xy\r\n\r\nzz",
         Lines{u"12xy5678", u"abcdefgh", u"あzzうえ", u"ABCDEFGH", u"かきくけ"}, {3, 3}},
        {"a trailing line break puts the caret on the next line at the column",
         canvas, {1, 2}, Op::Paste, u"xy\r\n",
         Lines{u"12xy5678", u"abcdefgh", u"あいうえ", u"ABCDEFGH", u"かきくけ"}, {2, 2}},
        {"a line cut at the line end sends the caret to the next line's start",
         canvas, {1, 6}, Op::Paste, u"x\r\nあい",
         Lines{u"123456x8", u"abcdefあ", u"あいうえ", u"ABCDEFGH", u"かきくけ"}, {3, 0}},
        {"on the last line only the first pasted line applies",
         canvas, {5, 2}, Op::Paste, u"xy\r\nzz",
         Lines{u"12345678", u"abcdefgh", u"あいうえ", u"ABCDEFGH", u"かきxyけ"}, {5, 4}},
        {"cut at the end of the last line: the caret goes to the text's end",
         canvas, {4, 5}, Op::Paste, u"x\r\nabcd",
         Lines{u"12345678", u"abcdefgh", u"あいうえ", u"ABCDExGH", u"かき abc"}, {5, 6}},
        {"a cut line with a full-width character half past the end gets a space",
         canvas, {1, 5}, Op::Paste, u"\r\nxyあ",
         Lines{u"12345678", u"abcdexy ", u"あいうえ", u"ABCDEFGH", u"かきくけ"}, {3, 0}},
        {"a lone LF in the pasted text is refused",
         canvas, {1, 2}, Op::Paste, u"xy\nzz", std::nullopt, {}},
        {"a lone CR in the pasted text is refused",
         canvas, {1, 2}, Op::Paste, u"xy\rzz", std::nullopt, {}},
    };
    // clang-format on
    checkRows(rows, 4);
}

TEST(Overwrite, ChangesTheCauseCannotExplainAreRefused)
{
    const std::u16string before = u"abcdef\r\nghijkl";
    struct Case
    {
        const char* name;
        std::u16string after;
        int beforeCaret;
        ChangeCause cause;
    };
    // clang-format off
    const Case cases[] = {
        {"Delete of the CR at a line end", u"abcdef\nghijkl", 6, ChangeCause::DeleteKey},
        {"Delete of the LF alone", u"abcdef\rghijkl", 7, ChangeCause::DeleteKey},
        {"Backspace that removed a line break", u"abcdef\rghijkl", 8, ChangeCause::BackKey},
        {"a paste that leaves fewer lines", u"abcdefghijkl", 6, ChangeCause::Paste},
        {"a paste with nothing inserted", before, 3, ChangeCause::Paste},
        {"a typed key that added a line break", u"abc\r\ndef\r\nghijkl", 3,
         ChangeCause::TypedKey},
        {"a typed key that inserted two characters", u"abxxcdef\r\nghijkl", 2,
         ChangeCause::TypedKey},
        {"a typed character that went in elsewhere than the caret", u"xabcdef\r\nghijkl", 2,
         ChangeCause::TypedKey},
        {"a paste not at the caret", u"abcdef\r\nghXXijkl", 1, ChangeCause::Paste},
        {"a Delete that removed another character", u"abdef\r\nghijkl", 0,
         ChangeCause::DeleteKey},
        {"a caret between CR and LF", u"abcdef\rx\nghijkl", 7, ChangeCause::TypedKey},
        {"a negative caret", u"xabcdef\r\nghijkl", -1, ChangeCause::TypedKey},
        {"a caret past the end", u"abcdef\r\nghijklx", 15, ChangeCause::TypedKey},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(ProcessChange(before, c.beforeCaret, c.after, 0, c.cause, 3).accepted);
    }
}

TEST(Overwrite, PasteIgnoresTheCaretTheControlReports)
{
    // The pasted text is what went in at the caret before the edit, whatever caret is reported
    // afterwards (a stale saved caret once made it negative or pasted a character twice).
    const std::u16string before = u"abcdef\r\nghijkl";
    const std::u16string after = u"abcdef\r\ngXYhijkl";
    for (const int reported : {-5, 0, 9, 11, 100}) {
        SCOPED_TRACE(reported);
        const EditOutcome outcome =
            ProcessChange(before, 9, after, reported, ChangeCause::Paste, 3);
        ASSERT_TRUE(outcome.accepted);
        EXPECT_EQ(outcome.text, u"abcdef\r\ngXYjkl");
        EXPECT_EQ(outcome.caret, 11);
    }
}

TEST(Overwrite, CanvasesThatCannotBeEditedRefuseEveryChange)
{
    struct Case
    {
        const char* name;
        std::u16string canvas;
        int keta;
        int caret;
    };
    // clang-format off
    const Case cases[] = {
        {"0 x 0 canvas", u"", 0, 0},
        {"empty text with a width", u"", 3, 0},
        {"text with keta 0", u"ab", 0, 1},
        {"negative keta", u"abcdef", -3, 1},
        {"a line narrower than the grid", u"abcde\r\nabcdef", 3, 1},
        {"a line wider than the grid", u"abcdefg", 3, 1},
        {"a lone LF inside the line", u"abc\ndef", 3, 1},
        {"a line ending in a lone CR", u"abcdef\r", 3, 1},
        {"a huge keta", u"abcdef", 0x7fffffff, 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(typeCharacter(c.canvas, c.caret, u'x', c.keta).accepted);
        EXPECT_FALSE(deleteCharacter(c.canvas, c.caret, c.keta).accepted);
        EXPECT_FALSE(backspaceCharacter(c.canvas, c.caret, c.keta).accepted);
        EXPECT_FALSE(pasteText(c.canvas, c.caret, u"xy", c.keta).accepted);
        EXPECT_FALSE(pasteText(c.canvas, c.caret, u"xy\r\nzz", c.keta).accepted);
    }
}

TEST(Overwrite, OnlyTheEditedLinesMustBeOnTheGrid)
{
    // A paste that reaches a malformed line below is refused; one that stops above it is not.
    const std::u16string canvas = u"abcdef\r\nghijkl\r\nmno";
    EXPECT_TRUE(pasteText(canvas, 2, u"X\r\nY", 3).accepted);
    EXPECT_FALSE(pasteText(canvas, 10, u"X\r\nY", 3).accepted);
}

}  // namespace
