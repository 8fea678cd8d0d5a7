// Rectangle mode in the proportional board font on a real txtMain (offscreen): the rectangle is
// a range of dots choosing characters by their middles, shaded over exactly those; Ctrl+arrows
// move the floating block by dots and lines; Enter lays it down as one undo step with every
// other character where it stood, and the status bar says how far the lines miss when they do.
// In the fixed font the rectangle stays one of cells.

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "board/BoardBlanks.h"
#include "board/DotBlock.h"
#include "board/DotRuler.h"
#include "LeftButton.h"
#include "editor/BlockEditing.h"
#include "editor/CanvasWidget.h"
#include "editor/ClipboardCommands.h"
#include "editor/DotRectangle.h"
#include "editor/EditorHost.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "platform/AppPaths.h"
#include "platform/Fonts.h"

using masumemo::editor::BlockEditing;
using masumemo::editor::CanvasWidget;
using masumemo::editor::DotRectangle;
using masumemo::editor::EditorHost;
namespace ClipboardCommands = masumemo::editor::ClipboardCommands;
namespace board = masumemo::board;
namespace grid = masumemo::grid;
namespace platform = masumemo::platform;

namespace {

constexpr int kKeta = 16;

/// A line filled with full-width spaces to the canvas's 32 units.
std::u16string padded(std::u16string line)
{
    const int room = 2 * kKeta - grid::WidthOf(line);
    if (room % 2 != 0) {
        line += u' ';
    }
    return line.append(static_cast<size_t>(room / 2), u'\u3000');
}

/// A bubble's edge: "＞" at 33 dots on the first line and at 30 on the second, after blanks
/// of different kinds.
std::u16string picture()
{
    return grid::joinLines(std::vector<std::u16string>{
        padded(u"\u3000\u3000\u3000\uff1e\u3000\u3042\u3000(\u00b4\uff65\u03c9\uff65`)"),
        padded(u"\u3000\u3000\u2002\uff1e\u3000\u3044\u3000 |::::|"),
        padded(u"\u3000\u3000 \u30fd\u3000\u3000\u3000\u3000 \u3046"),
    });
}

/// A range of dots that takes both "＞" of the first two lines and nothing else: from a little
/// left of the right one's start to a little right of the left one's end.
std::pair<int, int> bubbleEdgeRange(const std::vector<std::u16string>& lines)
{
    const board::CharDots dots = board::DotRuler().charDots();
    int lo = 0;
    int hi = 1 << 20;
    for (int k = 0; k < 2; ++k) {
        const std::u16string& line = lines[static_cast<size_t>(k)];
        const int at = static_cast<int>(line.find(u'\uff1e'));
        const int x = board::dotPosition(line, at, dots);
        lo = std::max(lo, x - 5);
        hi = std::min(hi, x + dots(u'\uff1e') + 5);
    }
    return {lo, hi};
}

/// The visible characters of a line, each with its dot.
std::vector<std::pair<char16_t, int>> places(std::u16string_view line)
{
    std::vector<std::pair<char16_t, int>> out;
    for (const board::DotSpan& s : board::dotSpans(line, board::DotRuler().charDots())) {
        if (!s.blank) {
            out.emplace_back(line[static_cast<size_t>(s.index)], s.x);
        }
    }
    return out;
}

std::vector<std::u16string> linesOf(const CanvasWidget& w)
{
    return grid::SplitText(w.controller().text());
}

const auto mouse = masumemo::testing::leftButton;

}  // namespace

class TestDotRectangle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { platform::installFontSubstitutions(); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        platform::AppPaths::setProgramDirectoryForTesting(m_dir->path());
        m_w = std::make_unique<CanvasWidget>();
        m_w->resize(700, 200);
        QFont font = m_w->font();
        font.setPixelSize(16);  // the board's size: a pixel a dot
        m_w->setFont(font);
        setFamily(platform::kPGothic);
        m_w->controller().resetCanvas(picture(), kKeta, 3);
        m_w->controller().setUnicodeSpaces(true);
        m_lines = linesOf(*m_w);
        m_bar = std::make_unique<QMenuBar>();
        m_bar->addMenu(QStringLiteral("edit"))->setObjectName(QStringLiteral("mnuEdit"));
        EditorHost& host = EditorHost::of(*m_w, *m_w);
        host.setMenuBar(m_bar.get());
        host.setNotice([this](const QString& said) { m_said = said; });
        m_block = std::make_unique<BlockEditing>(*m_w, nullptr);
        m_block->addMenuEntries(host);
        m_block->setTransparent(false);
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
        m_block->setActive(true);
        QVERIFY(m_block->inDots());
    }

    void cleanup()
    {
        m_block.reset();
        m_bar.reset();
        m_w.reset();
        platform::AppPaths::setProgramDirectoryForTesting(QString());
        m_dir.reset();
    }

    void shiftArrowsTakeOneCharacterAtATimeAndCopyTakesThem()
    {
        // From the caret at the start of line 2, a line up: each Shift+Right takes one more
        // character on some line and never two on one.
        m_w->setSelection(static_cast<int>(m_lines[0].size()) + 2, 0);
        m_w->controller().caretMoved();
        QTest::keyClick(m_w.get(), Qt::Key_Up, Qt::ShiftModifier);
        const board::CharDots dots = board::DotRuler().charDots();
        int before[2] = {0, 0};
        for (int step = 0; step < 6; ++step) {
            QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ShiftModifier);
            const board::DotRect r = m_block->dots().rect();
            QCOMPARE(r.line, 0);
            QCOMPARE(r.lines, 2);
            int grown = 0;
            for (int k = 0; k < 2; ++k) {
                const std::u16string_view line = m_lines[static_cast<size_t>(k)];
                const board::DotChoice c = board::chooseByMiddle(line, r.x0, r.x1, dots);
                const int count = static_cast<int>(
                    board::dotSpans(line.substr(0, static_cast<size_t>(c.end)), dots).size());
                QVERIFY(count - before[k] <= 1);
                grown += count - before[k];
                before[k] = count;
            }
            QVERIFY2(grown >= 1, qPrintable(QString::number(step)));
        }
        // Copy takes the chosen characters of each line; the text stays.
        ClipboardCommands::copy(*m_w);
        const QStringList copied = QGuiApplication::clipboard()->text().split(u'\n');
        QCOMPARE(copied.size(), 2);
        for (int k = 0; k < 2; ++k) {
            QCOMPARE(copied[k], QString::fromStdU16String(m_lines[static_cast<size_t>(k)]).left(before[k]));
        }
        QCOMPARE(m_w->controller().text(), picture());
    }

    void theShadeCoversExactlyTheChosenCharacters()
    {
        selectBubbleEdge();
        ClipboardCommands::copy(*m_w);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("＞\n＞"));
        const QImage shot = m_w->viewport()->grab().toImage();
        const QColor paper = m_w->background();
        const auto shaded = [&](QPoint p) { return shot.pixelColor(p + origin()) != paper; };
        for (int line = 0; line < 2; ++line) {
            const QRect r = m_w->textRect(line, bubbleEdge(line), 1);
            // The top rows of a line hold no ink: only the shade colours them. The outline
            // goes round both lines, at 30 and 49 dots: the blanks beside are looked at
            // clear of it.
            QVERIFY(shaded(QPoint(r.center().x(), r.top() + 2)));
            QVERIFY(!shaded(QPoint(r.left() - 2, r.top() + 2)));
            QVERIFY(!shaded(QPoint(r.right() + 5, r.top() + 2)));
        }
    }

    void ctrlArrowsMoveByDotsAndEnterLaysItDownAsOneStep()
    {
        const board::DotRect chosen = selectBubbleEdge();
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ControlModifier);
        QVERIFY(m_block->isFloating());
        QCOMPARE(m_block->dots().right(), 1);
        // Floating changes nothing in the canvas or the history.
        QCOMPARE(m_w->controller().text(), picture());
        QVERIFY(!m_w->controller().canUndo());
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m_block->dots().right(), 12);
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(m_w.get(), Qt::Key_Left, Qt::ControlModifier);
        }
        QTest::keyClick(m_w.get(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(m_block->dots().right(), 3);
        QCOMPARE(m_block->dots().down(), 1);
        QTest::keyClick(m_w.get(), Qt::Key_Return);
        QVERIFY(!m_block->isFloating());
        QVERIFY(m_said.isEmpty());  // with Unicode spaces every run is exact

        // Both "＞" went one line down and three dots right; the rest of line 1 kept its dots.
        const std::vector<std::u16string> after = linesOf(*m_w);
        for (int line = 1; line < 3; ++line) {
            const auto now = places(after[static_cast<size_t>(line)]);
            const std::pair<char16_t, int> moved{u'\uff1e', bubbleEdgeX(line - 1) + 3};
            QVERIFY(std::find(now.begin(), now.end(), moved) != now.end());
        }
        auto was = places(m_lines[0]);
        was.erase(was.begin());  // "＞" comes first
        QCOMPARE(places(after[0]), was);
        // The rectangle stands around the block where it was laid.
        QCOMPARE(m_block->dots().rect(),
                 (board::DotRect{1, 2, chosen.x0 + 3, chosen.x1 + 3}));
        QVERIFY(m_w->controller().modified());
        m_w->controller().undo();
        QCOMPARE(m_w->controller().text(), picture());
        QVERIFY(!m_w->controller().canUndo());
    }

    void theStatusBarSaysHowFarLinesMissBeforeAndAfter()
    {
        // Without Unicode spaces, one dot cannot be made: the lines miss, and say so.
        m_w->controller().setUnicodeSpaces(false);
        selectBubbleEdge();
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ControlModifier);
        const QString forecast = m_said;
        QTest::keyClick(m_w.get(), Qt::Key_Return);

        // The true distances: each "＞" against where it should stand, the rest against
        // where it stood.
        const std::vector<std::u16string> after = linesOf(*m_w);
        int offLines = 0;
        int largest = 0;
        for (size_t line = 0; line < 2; ++line) {
            const auto was = places(m_lines[line]);
            const auto now = places(after[line]);
            QCOMPARE(now.size(), was.size());
            int off = 0;
            for (size_t k = 0; k < now.size(); ++k) {
                const int shift = now[k].first == u'\uff1e' ? 1 : 0;
                off = std::max(off, std::abs(now[k].second - was[k].second - shift));
            }
            offLines += off > 0 ? 1 : 0;
            largest = std::max(largest, off);
        }
        QVERIFY(offLines > 0);
        QCOMPARE(forecast,
                 QStringLiteral("ここに置くと %1 行がずれます（最大 %2 ﾄﾞｯﾄ）").arg(offLines).arg(largest));
        QCOMPARE(m_said, QStringLiteral("%1 行がずれました（最大 %2 ﾄﾞｯﾄ）").arg(offLines).arg(largest));
    }

    void escapePutsItBackAndTheFloatingBlockIsDrawnWhereItFloats()
    {
        const board::DotRect chosen = selectBubbleEdge();
        QTest::keyClick(m_w.get(), Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);

        const QImage shot = m_w->viewport()->grab().toImage();
        const auto inkIn = [&](const QRect& area) {
            const QRect r = area.translated(origin()).adjusted(2, 1, -2, -1);
            int dark = 0;
            for (int py = r.top(); py <= r.bottom(); ++py) {
                for (int px = r.left(); px <= r.right(); ++px) {
                    dark += qGray(shot.pixel(px, py)) < 128;
                }
            }
            return dark;
        };
        // Lifted: hidden where it still stands in the text; drawn a line down, 11 dots right.
        const QRect source = m_w->textRect(0, bubbleEdge(0), 1);
        QCOMPARE(inkIn(source), 0);
        QVERIFY(inkIn(source.translated(11, m_w->textRect(1, 0, 1).top() - source.top())) > 0);

        QTest::keyClick(m_w.get(), Qt::Key_Escape);
        QVERIFY(!m_block->isFloating());
        QVERIFY(m_block->isActive());
        QCOMPARE(m_block->dots().rect(), chosen);
        QCOMPARE(m_w->controller().text(), picture());
        QVERIFY(!m_w->controller().canUndo());
    }

    void aDragSelectsAndDraggingTheBlockMovesIt()
    {
        QWidget* view = m_w->viewport();
        const int y0 = m_w->textRect(0, 0, 1).center().y();
        const int y1 = m_w->textRect(1, 0, 1).center().y();
        const auto [lo, hi] = bubbleEdgeRange(m_lines);
        mouse(view, QEvent::MouseButtonPress, QPoint(lo, y0) + origin());
        mouse(view, QEvent::MouseMove, QPoint(hi, y1) + origin());
        mouse(view, QEvent::MouseButtonRelease, QPoint(hi, y1) + origin());
        QCOMPARE(m_block->dots().rect(), (board::DotRect{0, 2, lo, hi}));

        // Pressed on a chosen character and dragged 20 pixels right: 20 dots.
        const QPoint grip = m_w->textRect(0, bubbleEdge(0), 1).center() + origin();
        mouse(view, QEvent::MouseButtonPress, grip);
        mouse(view, QEvent::MouseMove, grip + QPoint(20, 0));
        mouse(view, QEvent::MouseButtonRelease, grip + QPoint(20, 0));
        QVERIFY(m_block->isFloating());
        QCOMPARE(m_block->dots().right(), 20);
        QCOMPARE(m_block->dots().down(), 0);
        QCOMPARE(m_w->controller().text(), picture());
        // A click elsewhere lays it down.
        const QPoint elsewhere = m_w->textRect(2, 0, 1).center() + origin();
        mouse(view, QEvent::MouseButtonPress, elsewhere);
        mouse(view, QEvent::MouseButtonRelease, elsewhere);
        QVERIFY(!m_block->isFloating());
        QVERIFY(m_w->controller().text() != picture());
    }

    void cutLeavesBlanksOfTheSameWidthAsOneStep()
    {
        selectBubbleEdge();
        ClipboardCommands::cut(*m_w);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("＞\n＞"));
        const std::vector<std::u16string> after = linesOf(*m_w);
        for (size_t line = 0; line < 2; ++line) {
            auto was = places(m_lines[line]);
            was.erase(std::find_if(was.begin(), was.end(),
                                   [](const auto& p) { return p.first == u'\uff1e'; }));
            QCOMPARE(places(after[line]), was);
        }
        m_w->controller().undo();
        QCOMPARE(m_w->controller().text(), picture());
    }

    void theFixedFontKeepsTheRectangleOfCells()
    {
        setFamily(platform::kGothic);
        QVERIFY(!m_block->inDots());
        m_w->setSelection(0, 0);
        m_w->controller().caretMoved();
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(m_block->selection(), (grid::BlockRect{0, 0, 1, 2}));
        QVERIFY(!m_block->dots().hasRect());
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(m_block->floatingRect().column, 1);
        QVERIFY(!m_block->dots().isFloating());
    }

    void changingTheFontLaysAFloatingBlockDown()
    {
        // A block of cells afloat when the proportional font comes.
        setFamily(platform::kGothic);
        m_block->select({6, 0}, {8, 0});  // "＞"
        QTest::keyClick(m_w.get(), Qt::Key_Down, Qt::ControlModifier);
        QVERIFY(m_block->isFloating());
        setFamily(platform::kPGothic);
        QVERIFY(!m_block->isFloating());
        QVERIFY(m_w->controller().text() != picture());
        m_w->controller().undo();
        QCOMPARE(m_w->controller().text(), picture());

        // And a block of dots afloat when it goes.
        selectBubbleEdge();
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ControlModifier);
        QVERIFY(m_block->isFloating());
        setFamily(platform::kGothic);
        QVERIFY(!m_block->isFloating());
        QVERIFY(m_w->controller().text() != picture());
        QVERIFY(m_w->controller().canUndo());
    }

private:
    void setFamily(const QString& family)
    {
        QFont font = m_w->font();
        font.setFamily(family);
        m_w->setFont(font);
    }
    /// Viewport pixels of the canvas's layer pixel (0, 0).
    QPoint origin() const { return m_w->cursorRect(QTextCursor(m_w->document())).topLeft(); }
    /// Where "＞" stands on line (0 or 1) of the picture: its index and its dot.
    int bubbleEdge(int line) const
    {
        return static_cast<int>(m_lines[static_cast<size_t>(line)].find(u'\uff1e'));
    }
    int bubbleEdgeX(int line) const
    {
        return board::dotPosition(m_lines[static_cast<size_t>(line)], bubbleEdge(line),
                                  board::DotRuler().charDots());
    }
    /// Both "＞" as the rectangle, by the keys' way of choosing: a range of dots.
    board::DotRect selectBubbleEdge()
    {
        const auto [lo, hi] = bubbleEdgeRange(m_lines);
        m_block->dots().select({0, lo}, {1, hi});
        return m_block->dots().rect();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CanvasWidget> m_w;
    std::unique_ptr<QMenuBar> m_bar;
    std::unique_ptr<BlockEditing> m_block;
    std::vector<std::u16string> m_lines;  ///< the picture's lines
    QString m_said;
};

QTEST_MAIN(TestDotRectangle)
#include "test_dot_rectangle.moc"
