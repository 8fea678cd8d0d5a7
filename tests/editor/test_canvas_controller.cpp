// The canvas controller driven by scripted event sequences, with a view that records what is
// written to it. Each sequence is what a person does at the keyboard or with the mouse.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "editor/CanvasController.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"

using masumemo::editor::CanvasController;
using masumemo::editor::CanvasView;
namespace grid = masumemo::grid;

namespace {

constexpr char16_t kFw = u'\u3000';
using Lines = std::vector<std::u16string>;

std::u16string fw(int n)
{
    return std::u16string(static_cast<size_t>(n), kFw);
}

/// A view holding lines and a selection in model offsets, as the widget would.
class FakeView : public CanvasView
{
public:
    void replaceLines(int first, int count, std::u16string_view text) override
    {
        Lines with = grid::SplitText(text);
        if (count < 0) {
            lines = std::move(with);
        } else {
            lines.erase(lines.begin() + first, lines.begin() + first + count);
            lines.insert(lines.begin() + first, with.begin(), with.end());
        }
        ++writes;
    }
    void setSelection(int start, int length) override
    {
        anchor = start;
        position = start + length;
    }
    int selectionStart() const override { return std::min(anchor, position); }
    int selectionLength() const override { return std::abs(position - anchor); }
    void showEditMenu() override {}

    std::u16string text() const { return grid::joinLines(lines); }

    Lines lines{u""};
    int anchor = 0;
    int position = 0;
    int writes = 0;
};

/// A controller on a blank canvas, with helpers that play events the way the widget sends them.
struct Canvas
{
    explicit Canvas(int keta = 35, int gyou = 20) { c.resetCanvas(grid::blankCanvas(keta, gyou), keta, gyou); }
    Canvas(std::u16string text, int keta, int gyou) { c.resetCanvas(std::move(text), keta, gyou); }

    std::u16string line(int n) const { return view.lines.at(static_cast<size_t>(n - 1)); }

    /// A key the controller leaves to the widget (a navigation key): the widget moves the caret.
    void navigate(Qt::Key key, int caretAfter)
    {
        EXPECT_FALSE(c.KeyDown(key, Qt::NoModifier));
        view.setSelection(caretAfter, 0);
        c.keyUp(key);
    }
    void type(std::u16string_view chars)
    {
        for (char16_t ch : chars) {
            EXPECT_FALSE(c.KeyDown(Qt::Key_A, Qt::NoModifier));
            c.keyPress(ch);
            c.keyUp(Qt::Key_A);
        }
    }
    void key(Qt::Key key, char16_t code, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        if (!c.KeyDown(key, mods) && code != 0) {
            c.keyPress(code);
        }
        c.keyUp(key);
    }
    void click(int offset)
    {
        view.setSelection(offset, 0);
        c.mousePress(Qt::LeftButton);
        c.mouseRelease();
    }
    void drag(int from, int to)
    {
        view.setSelection(from, 0);
        c.mousePress(Qt::LeftButton);
        view.anchor = from;
        view.position = to;
        c.mouseRelease();
    }
    /// The model, the view and the snapshot all describe the same canvas.
    void expectInStep() const
    {
        EXPECT_EQ(view.text(), c.text());
        EXPECT_EQ(c.snapshot().caret, view.selectionStart());
        EXPECT_EQ(c.snapshot().line, expectedLine());
        EXPECT_EQ(grid::joinLines(c.snapshotLines()), c.text());
    }
    /// The caret's line counted from the start, the way a reader of the text would.
    int expectedLine() const
    {
        const auto caret = c.text().begin() + c.snapshot().caret;
        return 1 + static_cast<int>(std::count(c.text().begin(), caret, u'\r'));
    }

    FakeView view;
    CanvasController c{view};
};

}  // namespace

TEST(CanvasController, DeleteAfterHomeActsWhereTheCaretIsNow)
{
    // With a snapshot taken on arrow keys only, Delete here broke the line at the old caret.
    Canvas cv;
    cv.type(u"ab");
    cv.navigate(Qt::Key_End, 35 + 1);  // "ab" took the place of one full-width cell
    cv.navigate(Qt::Key_Home, 0);
    cv.key(Qt::Key_Delete, 0);
    EXPECT_EQ(cv.line(1), u" b" + fw(34));
    EXPECT_EQ(cv.view.anchor, 1);
    cv.expectInStep();
}

TEST(CanvasController, CaretJumpsChangeNoText)
{
    struct Row
    {
        const char* name;
        int caret;
        Qt::Key key;
        char16_t code;
        int expected;
    };
    const Row rows[] = {
        {"Delete at a line end goes to the next line start", 35, Qt::Key_Delete, 0, 37},
        {"Delete at the end of the text does nothing", 20 * 37 - 2, Qt::Key_Delete, 0, 20 * 37 - 2},
        {"Backspace at a line start goes to the previous line end", 37, Qt::Key_Backspace, 8, 35},
        {"Backspace at offset 0 does nothing", 0, Qt::Key_Backspace, 8, 0},
        {"Enter goes to the next line start", 37 + 4, Qt::Key_Return, 13, 74},
        {"Enter on the last line does nothing", 19 * 37 + 4, Qt::Key_Return, 13, 19 * 37 + 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Canvas cv;
        const std::u16string before = cv.c.text();
        cv.click(row.caret);
        cv.key(row.key, row.code);
        EXPECT_EQ(cv.c.text(), before);
        EXPECT_EQ(cv.view.selectionStart(), row.expected);
        EXPECT_EQ(cv.c.snapshot().caret, row.expected);
        EXPECT_FALSE(cv.c.modified());
        EXPECT_FALSE(cv.c.canUndo());
    }
}

TEST(CanvasController, PasteGoesInOnceWhereTheCaretIs)
{
    // With the caret saved at the last key-down, Up then a menu paste counted a negative
    // length, and Right then a paste doubled a character.
    struct Row
    {
        const char* name;
        Qt::Key key;
        int from;
        int to;
    };
    const Row rows[] = {
        {"after Up", Qt::Key_Up, 37 + 3, 3},
        {"after Right", Qt::Key_Right, 37 + 3, 37 + 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Canvas cv;
        cv.click(row.from);
        cv.navigate(row.key, row.to);
        cv.c.pasteText(u"xy");
        const std::u16string text = cv.c.text();
        EXPECT_EQ(std::count(text.begin(), text.end(), u'x'), 1);
        EXPECT_EQ(text.substr(static_cast<size_t>(row.to), 2), u"xy");
        EXPECT_EQ(cv.view.selectionStart(), row.to + 2);
    }
}

TEST(CanvasController, EmptyPasteDoesNothingEvenOverASelection)
{
    Canvas cv(u"abcd", 2, 1);
    cv.drag(0, 2);
    cv.c.pasteText(u"");
    cv.c.pasteText(u"\t");  // control characters never enter the canvas
    EXPECT_EQ(cv.c.text(), u"abcd");
    EXPECT_FALSE(cv.c.modified());
}

TEST(CanvasController, UndoLeavesNoStaleSelectionLength)
{
    // Drag-select 10 cells, undo from the toolbar, Delete: only the cell at the caret is blanked.
    Canvas cv;
    cv.type(u"abcdefghijkl");
    cv.drag(0, 10);
    cv.c.undo();
    const std::u16string undone = cv.c.text();
    EXPECT_EQ(cv.view.selectionLength(), 0);
    const int caret = cv.view.selectionStart();
    EXPECT_EQ(caret, 11);  // where it was after the edit that is now shown
    cv.navigate(Qt::Key_Home, 0);
    cv.key(Qt::Key_Delete, 0);
    EXPECT_EQ(cv.line(1).substr(0, 11), u" bcdefghijk");
    EXPECT_EQ(cv.c.text(), grid::SelToSP(undone, 0, 1));
    cv.expectInStep();
}

TEST(CanvasController, RejectAfterBlankingRestoresCanvasAndSnapshot)
{
    // A selection from a line end into the next line is blanked, then the typed character falls
    // on the line end and is refused: the last accepted canvas comes back, and the snapshot and
    // caret describe it, so what follows acts on the right text.
    Canvas cv(u"\u3042\u3044\r\n\u3046\u3048", 2, 2);
    cv.drag(5, 2);
    cv.type(u"x");
    EXPECT_EQ(cv.c.text(), u"\u3042\u3044\r\n\u3046\u3048");
    EXPECT_TRUE(cv.c.modified());
    EXPECT_FALSE(cv.c.canUndo());
    cv.expectInStep();
    EXPECT_EQ(cv.c.snapshot().caret, 2);
    cv.key(Qt::Key_Delete, 0);  // at the line end: to the next line
    cv.key(Qt::Key_Delete, 0);
    EXPECT_EQ(cv.c.text(), u"\u3042\u3044\r\n\u3000\u3048");
    cv.expectInStep();
}

TEST(CanvasController, RefusedKeyLeavesNoMarkOnTheNextChange)
{
    // A refused x at a line end, then a two-character favourite mid-line: laid over as a paste.
    Canvas cv;
    cv.click(35);
    cv.type(u"x");
    EXPECT_EQ(cv.line(1), fw(35));
    cv.click(5);
    cv.c.pasteText(u"ab");
    EXPECT_EQ(cv.line(1), fw(5) + u"ab" + fw(29));
}

TEST(CanvasController, SelectAllThenAltRightMovesEveryLine)
{
    // The selection as it stands decides, not the line clicked before Select all.
    Canvas cv(grid::joinLines(Lines(20, std::u16string(1, u'\u3042') + fw(34))), 35, 20);
    cv.click(4 * 37 + 3);
    cv.view.setSelection(0, static_cast<int>(cv.c.text().size()));
    cv.key(Qt::Key_Right, 0, Qt::AltModifier);
    EXPECT_EQ(cv.c.text(), grid::joinLines(Lines(20, u" \u3042" + fw(33) + u" ")));
    EXPECT_EQ(cv.view.selectionLength(), static_cast<int>(cv.c.text().size()));
    EXPECT_EQ(cv.c.history().entries().size(), 2u);
}

TEST(CanvasController, AltWithOtherKeysCommitsNothing)
{
    Canvas cv;
    cv.type(u"a");
    cv.c.setModified(false);
    const size_t entries = cv.c.history().entries().size();
    const int writes = cv.view.writes;
    for (auto mods : {Qt::KeyboardModifiers(Qt::AltModifier), Qt::AltModifier | Qt::ShiftModifier}) {
        EXPECT_TRUE(cv.c.KeyDown(Qt::Key_Q, mods));
        cv.c.keyUp(Qt::Key_Q);
    }
    // Shift+Alt with a selection, and Alt+Left at column 0, change nothing either.
    cv.drag(0, 1);
    cv.key(Qt::Key_Left, 0, Qt::AltModifier | Qt::ShiftModifier);
    cv.click(0);
    cv.key(Qt::Key_Left, 0, Qt::AltModifier);
    EXPECT_EQ(cv.c.history().entries().size(), entries);
    EXPECT_EQ(cv.view.writes, writes);
    EXPECT_FALSE(cv.c.modified());
}

TEST(CanvasController, FullStepPullAndCtrlAltIsNoPush)
{
    Canvas cv(u"\u3042\u3044\u3046\u3048", 4, 1);
    cv.c.setHalfPush(false);
    cv.click(2);
    cv.key(Qt::Key_Left, 0, Qt::AltModifier | Qt::ShiftModifier);  // pull the cell before
    EXPECT_EQ(cv.c.text(), u"\u3042\u3046\u3048\u3000");
    EXPECT_EQ(cv.view.selectionStart(), 1);
    cv.key(Qt::Key_Down, 0, Qt::AltModifier | Qt::ControlModifier);  // not a push code
    EXPECT_EQ(cv.c.text(), u"\u3042\u3046\u3048\u3000");
}

TEST(CanvasController, TheDotStepMovesByTheDotAndSaysWhenItMovesMore)
{
    // "a" then a full-width space (11 dots) then "b": Alt+Right after the space widens it to 12.
    Canvas cv(u"a\u3000b\u3000\u3000\u3000", 5, 1);
    QString said;
    cv.c.setCallbacks({.notice = [&](const QString& s) { said = s; }});
    cv.c.setPushStep(masumemo::editor::PushStep::Dot);
    EXPECT_EQ(cv.c.pushModeText(), QStringLiteral("ﾄﾞｯﾄ移動"));
    EXPECT_FALSE(cv.c.halfPush());
    cv.click(2);
    cv.key(Qt::Key_Right, 0, Qt::AltModifier);
    EXPECT_EQ(cv.c.text(), u"a\u3000\u200Ab\u3000\u3000 ");
    EXPECT_EQ(cv.view.selectionStart(), 3);  // still before "b"
    EXPECT_TRUE(said.isEmpty());
    EXPECT_EQ(cv.c.history().entries().size(), 2u);
    cv.expectInStep();

    // Without Unicode spaces one dot cannot be made: the smallest distance that can, said.
    cv.c.setUnicodeSpaces(false);
    cv.c.resetCanvas(u"a\u3000b\u3000\u3000\u3000", 5, 1);
    cv.click(2);
    cv.key(Qt::Key_Right, 0, Qt::AltModifier);
    EXPECT_EQ(cv.c.text(), u"a\u3000 b\u3000\u3000 ");
    EXPECT_EQ(said, QStringLiteral("5ﾄﾞｯﾄ移動しました"));

    // Shift+Alt+Left pulls the part after the caret back; Alt+Down still moves lines.
    cv.c.setUnicodeSpaces(true);
    cv.key(Qt::Key_Left, 0, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(cv.c.text(), u"a\u3000\u2005b\u3000\u3000 ");  // 16 - 1 = 11 + 4 dots
    cv.expectInStep();
}

TEST(CanvasController, EscapeBlanksASelectionAndRecordsItOnce)
{
    Canvas cv(u"abcd", 2, 1);
    cv.drag(1, 3);
    cv.key(Qt::Key_Escape, 27);
    EXPECT_EQ(cv.c.text(), u"a  d");
    EXPECT_TRUE(cv.c.modified());
    EXPECT_EQ(cv.c.history().entries().size(), 2u);
    cv.key(Qt::Key_Escape, 27);
    EXPECT_EQ(cv.c.history().entries().size(), 2u);
}

TEST(CanvasController, SelectionsAreBlankedFromTheirLowerEnd)
{
    Canvas cv(u"abcd", 2, 1);
    cv.drag(3, 1);  // dragged leftwards: the lower end counts
    cv.type(u"\u3042");
    EXPECT_EQ(cv.c.text(), u"a\u3042d");
    cv.drag(0, 1);
    cv.key(Qt::Key_Backspace, 8);
    EXPECT_EQ(cv.c.text(), u" \u3042d");
    cv.drag(3, 2);
    cv.key(Qt::Key_Delete, 0);
    EXPECT_EQ(cv.c.text(), u" \u3042 ");
    EXPECT_EQ(cv.view.selectionStart(), 3);
    cv.c.undo();
    EXPECT_EQ(cv.c.text(), u" \u3042d");
    cv.expectInStep();
}

TEST(CanvasController, CharactersBeyondCodePage932AreTypedAsThemselves)
{
    // An emoji committed by an input method is one character of one cell, typed over a
    // full-width space as any half-width character is; a Unicode space likewise.
    Canvas cv(u"\u3000\u3000\u3000\u3000", 4, 1);
    cv.c.inputText(u"\U0001F600\u2009");
    EXPECT_EQ(cv.c.text(), u"\U0001F600\u2009\u3000\u3000\u3000");
    EXPECT_EQ(cv.c.history().entries().size(), 3u);
}

TEST(CanvasController, OverwritingASelectionIsOneStepEvenWithoutAChange)
{
    // The new text equals the blanked text: the blanking must still be a step of its own, or
    // one undo takes back two steps and a refusal brings the selection's text back.
    struct Row
    {
        const char* name;
        std::function<void(Canvas&)> overwrite;
    };
    const Row rows[] = {
        {"typed space", [](Canvas& cv) { cv.type(u" "); }},
        {"input-method commit", [](Canvas& cv) { cv.c.inputText(u" "); }},
        {"paste", [](Canvas& cv) { cv.c.pasteText(u" "); }},
    };
    const std::u16string typed = u"abc " + fw(33);
    const std::u16string blank = u"    " + fw(33);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Canvas cv;
        cv.type(u"abc");
        cv.drag(3, 0);  // Shift+Home
        row.overwrite(cv);
        EXPECT_EQ(cv.line(1), blank);
        EXPECT_EQ(cv.c.history().current().Text, cv.c.text());
        cv.navigate(Qt::Key_End, 4 + 33);
        cv.type(u"x");  // refused at the line end: the canvas as last accepted stays
        EXPECT_EQ(cv.line(1), blank);
        cv.c.undo();
        EXPECT_EQ(cv.line(1), typed);
        cv.c.redo();
        EXPECT_EQ(cv.line(1), blank);
        cv.expectInStep();
    }

    // A full-width space from the palette over a selection that starts with a full-width one.
    Canvas cv(u"\u3042\u3044\u3046\u3048", 4, 1);
    cv.drag(0, 2);
    cv.c.pasteText(u"\u3000");
    EXPECT_EQ(cv.c.text(), u"\u3000\u3000\u3046\u3048");
    EXPECT_EQ(cv.c.history().entries().size(), 2u);
    cv.c.undo();
    EXPECT_EQ(cv.c.text(), u"\u3042\u3044\u3046\u3048");
}

TEST(CanvasController, RefusalAfterAResizeKeepsTheNewSize)
{
    // The undo entry still holds the canvas from before the resize; restoring it would put
    // lines of the old width under the new size.
    Canvas cv(4, 2);
    cv.c.replaceCanvas(grid::blankCanvas(3, 3), 3, 3);
    cv.click(3);
    cv.type(u"x");
    EXPECT_EQ(cv.c.text(), grid::blankCanvas(3, 3));
    EXPECT_EQ(cv.view.text(), grid::blankCanvas(3, 3));
}

TEST(CanvasController, InputTextTypesEachCharacterInItsCanvasForm)
{
    Canvas cv(4, 2);
    cv.c.inputText(u"\u3042\u301Cb\tc");  // the wave dash is kept in its round-trip form
    EXPECT_EQ(cv.line(1), u"\u3042\uFF5Ebc\u3000");
    EXPECT_EQ(cv.c.history().entries().size(), 5u);
    cv.c.inputText(u"zzq");  // q falls on the line end: refused
    EXPECT_EQ(cv.line(1), u"\u3042\uFF5Ebczz");
    EXPECT_EQ(cv.c.history().entries().size(), 7u);
    EXPECT_EQ(cv.view.selectionStart(), 6);
}

TEST(CanvasController, MousePressesTakeTheSnapshotAndStamp)
{
    Canvas cv(u"\u3042ab\u3000\u3000\r\n\u3000\u3000\u3000\u3000", 4, 2);
    int shows = 0;
    char16_t held = 0;
    cv.c.setCallbacks({.dataShow = [&] { ++shows; }, .clickStamp = [&] { return held; }});
    cv.click(2);
    EXPECT_EQ(cv.c.positionText(), QStringLiteral("列[ 3/8 ]　行[ 1/2 ]"));
    EXPECT_GT(shows, 0);

    cv.drag(9, 7);
    held = u'b';  // click input stamps like a typed key, never over a selection
    cv.c.mousePress(Qt::LeftButton);
    EXPECT_EQ(cv.line(2), u"b \u3000\u3000\u3000");
    EXPECT_FALSE(cv.view.selectionLength());
}

TEST(CanvasController, TheCaretsLineStaysRightAcrossEditsAboveBelowAndBack)
{
    // The line is counted from the last place known, not from the start: each step moves the
    // caret or the text before it in another way, and the display must follow.
    Canvas cv(4, 6);
    const int lineLength = 4 + 2;  // four full-width spaces and a CR LF
    const struct
    {
        const char* name;
        std::function<void()> step;
        int line;  // 0: only checked against the count from the start
    } steps[] = {
        {"a click on line 5", [&] { cv.click(4 * lineLength + 1); }, 5},
        {"typing there", [&] { cv.type(u"ab"); }, 5},
        {"a click back up on line 2", [&] { cv.click(lineLength); }, 2},
        {"a paste of three lines", [&] { cv.c.pasteText(u"x\r\ny\r\nz"); }, 4},
        {"a click on the last line", [&] { cv.click(static_cast<int>(cv.c.text().size()) - 2); }, 6},
        {"Backspace on the last line", [&] { cv.key(Qt::Key_Backspace, 8); }, 6},
        {"undo of the paste above", [&] { cv.c.undo(); cv.c.undo(); }, 0},
        {"a canvas of two lines", [&] { cv.c.resizeCanvas([](const std::u16string&) {
             return grid::blankCanvas(4, 2); }, 4, 2); }, 1},
        {"a click on its second line", [&] { cv.click(lineLength + 3); }, 2},
        {"a new canvas of the same size", [&] { cv.c.resetCanvas(grid::blankCanvas(4, 2), 4, 2); }, 1},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        s.step();
        cv.expectInStep();  // the line too, counted from the start
        if (s.line > 0) {
            EXPECT_EQ(cv.c.snapshot().line, s.line);
        }
        EXPECT_TRUE(
            cv.c.positionText().contains(QStringLiteral("行[ %1/").arg(cv.expectedLine())));
    }
}
