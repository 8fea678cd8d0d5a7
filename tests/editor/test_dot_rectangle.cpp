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
        font.setFamily(platform::kPGothic);
        font.setPixelSize(16);
        m_w->setFont(font);
        m_w->controller().resetCanvas(picture(), kKeta, 3);
        m_w->controller().setUnicodeSpaces(true);
        m_bar = std::make_unique<QMenuBar>();
        QMenu* menu = m_bar->addMenu(QStringLiteral("edit"));
        menu->setObjectName(QStringLiteral("mnuEdit"));
        EditorHost& host = EditorHost::of(*m_w, *m_w);
        host.setMenuBar(m_bar.get());
        host.setNotice([this](const QString& said) { m_said = said; });
        m_block = std::make_unique<BlockEditing>(*m_w, nullptr);
        m_block->addMenuEntries(host);
        m_block->setTransparent(false);
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
        m_w->setSelection(0, 0);
        m_w->controller().caretMoved();
        m_block->setActive(true);
        QVERIFY(m_block->inDots());
        m_said.clear();
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
        // From the caret at the line start of line 2: each Shift+Right takes one more
        // character on some line and never two on one.
        m_w->setSelection(static_cast<int>(linesOf(*m_w)[0].size()) + 2, 0);
        m_w->controller().caretMoved();
        QTest::keyClick(m_w.get(), Qt::Key_Up, Qt::ShiftModifier);
        const std::vector<std::u16string> lines = linesOf(*m_w);
        const board::CharDots dots = board::DotRuler().charDots();
        int before[2] = {0, 0};
        for (int step = 0; step < 6; ++step) {
            QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ShiftModifier);
            const board::DotRect r = m_block->dots().rect();
            QCOMPARE(r.line, 0);
            QCOMPARE(r.lines, 2);
            int grown = 0;
            for (int k = 0; k < 2; ++k) {
                const board::DotChoice c = board::chooseByMiddle(lines[static_cast<size_t>(k)],
                                                                 r.x0, r.x1, dots);
                const int count = static_cast<int>(board::dotSpans(
                    std::u16string_view(lines[static_cast<size_t>(k)]).substr(
                        static_cast<size_t>(c.start), static_cast<size_t>(c.end - c.start)),
                    dots).size());
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
        QVERIFY(QString::fromStdU16String(lines[0]).startsWith(copied[0]));
        QVERIFY(QString::fromStdU16String(lines[1]).startsWith(copied[1]));
        QCOMPARE(copied[0].size(), before[0]);
        QCOMPARE(copied[1].size(), before[1]);
        QCOMPARE(m_w->controller().text(), picture());
    }

    void theShadeCoversExactlyTheChosenCharacters()
    {
        // The bubble's "＞" on both lines, chosen by a range around their middles.
        const std::vector<std::u16string> lines = linesOf(*m_w);
        const int gt0 = static_cast<int>(lines[0].find(u'\uff1e'));
        const int gt1 = static_cast<int>(lines[1].find(u'\uff1e'));
        const auto [lo, hi] = bubbleEdgeRange(lines);
        m_block->dots().select({0, lo}, {1, hi});
        QCOMPARE(QString::fromStdU16String(lines[0]).mid(gt0, 1), QStringLiteral("＞"));
        ClipboardCommands::copy(*m_w);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("＞\n＞"));

        const QImage shot = m_w->viewport()->grab().toImage();
        const QPoint origin = m_w->cursorRect(QTextCursor(m_w->document())).topLeft();
        const QColor paper = m_w->background();
        const auto shaded = [&](QPoint p) { return shot.pixelColor(p + origin) != paper; };
        for (int line = 0; line < 2; ++line) {
            const int at = line == 0 ? gt0 : gt1;
            const QRect r = m_w->textRect(line, at, 1);
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
        const std::vector<std::u16string> lines = linesOf(*m_w);
        const board::CharDots dots = board::DotRuler().charDots();
        const auto [lo, hi] = bubbleEdgeRange(lines);
        m_block->dots().select({0, lo}, {1, hi});
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

        // Both "＞" went one line down and three dots right; the rest kept its dots.
        const std::vector<std::u16string> after = linesOf(*m_w);
        for (int line = 1; line < 3; ++line) {
            const auto was = places(lines[static_cast<size_t>(line - 1)]);
            const auto now = places(after[static_cast<size_t>(line)]);
            const int from = static_cast<int>(lines[static_cast<size_t>(line - 1)].find(u'\uff1e'));
            const int xWas = board::dotPosition(lines[static_cast<size_t>(line - 1)], from, dots);
            QVERIFY(std::find(now.begin(), now.end(), std::pair<char16_t, int>{u'\uff1e', xWas + 3}) !=
                    now.end());
        }
        QCOMPARE(places(after[0]).size() + 1, places(lines[0]).size());
        for (const auto& p : places(after[0])) {
            const auto was = places(lines[0]);
            QVERIFY(std::find(was.begin(), was.end(), p) != was.end());
        }
        // The rectangle stands around the block where it was laid.
        QCOMPARE(m_block->dots().rect(), (board::DotRect{1, 2, lo + 3, hi + 3}));
        QVERIFY(m_w->controller().modified());
        m_w->controller().undo();
        QCOMPARE(m_w->controller().text(), picture());
        QVERIFY(!m_w->controller().canUndo());
    }

    void theStatusBarSaysHowFarLinesMissBeforeAndAfter()
    {
        // Without Unicode spaces, one dot cannot be made: the lines miss, and say so.
        m_w->controller().setUnicodeSpaces(false);
        const std::vector<std::u16string> lines = linesOf(*m_w);
        const board::CharDots dots = board::DotRuler().charDots();
        const auto [lo, hi] = bubbleEdgeRange(lines);
        m_block->dots().select({0, lo}, {1, hi});
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ControlModifier);
        QVERIFY2(m_said.startsWith(QStringLiteral("ここに置くと ")), qPrintable(m_said));
        const QString forecast = m_said;
        QTest::keyClick(m_w.get(), Qt::Key_Return);
        QVERIFY2(m_said.endsWith(QStringLiteral("ﾄﾞｯﾄ）")), qPrintable(m_said));
        QCOMPARE(QString(forecast).remove(QStringLiteral("ここに置くと ")).remove(u'す'),
                 QString(m_said).remove(u'し').remove(u'た'));

        // The true distances: each "＞" against where it should stand, the rest against
        // where it stood.
        const std::vector<std::u16string> after = linesOf(*m_w);
        int offLines = 0;
        int largest = 0;
        for (size_t line = 0; line < 2; ++line) {
            const auto was = places(lines[line]);
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
        QCOMPARE(m_said, QStringLiteral("%1 行がずれました（最大 %2 ﾄﾞｯﾄ）").arg(offLines).arg(largest));
    }

    void escapePutsItBackAndTheFloatingBlockIsDrawnWhereItFloats()
    {
        const std::vector<std::u16string> lines = linesOf(*m_w);
        const int gt = static_cast<int>(lines[0].find(u'\uff1e'));
        const int x = board::dotPosition(lines[0], gt, board::DotRuler().charDots());
        m_block->dots().select({0, x}, {0, x + 12});
        const board::DotRect chosen = m_block->dots().rect();
        QTest::keyClick(m_w.get(), Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(m_w.get(), Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);

        const QImage shot = m_w->viewport()->grab().toImage();
        const QPoint origin = m_w->cursorRect(QTextCursor(m_w->document())).topLeft();
        const auto inkIn = [&](const QRect& area) {
            const QRect r = area.translated(origin).adjusted(2, 1, -2, -1);
            int dark = 0;
            for (int py = r.top(); py <= r.bottom(); ++py) {
                for (int px = r.left(); px <= r.right(); ++px) {
                    dark += qGray(shot.pixel(px, py)) < 128;
                }
            }
            return dark;
        };
        const QRect source = m_w->textRect(0, gt, 1);
        QCOMPARE(inkIn(source), 0);  // lifted: hidden where it still stands in the text
        const QRect below = m_w->textRect(2, 0, 1);
        // 11 dots right: a pixel a dot at the board's 16 pixels.
        const QRect floating(source.left() + 11, below.top(), source.width(), below.height());
        QVERIFY(inkIn(floating) > 0);

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
        const QPoint origin = m_w->cursorRect(QTextCursor(m_w->document())).topLeft();
        const std::vector<std::u16string> lines = linesOf(*m_w);
        const int gt = static_cast<int>(lines[0].find(u'\uff1e'));
        const QRect r0 = m_w->textRect(0, gt, 1);
        const QRect r1 = m_w->textRect(1, static_cast<int>(lines[1].find(u'\uff1e')), 1);
        // A pixel a dot at the board's 16 pixels.
        const auto [lo, hi] = bubbleEdgeRange(lines);
        mouse(view, QEvent::MouseButtonPress, QPoint(lo, r0.center().y()) + origin);
        mouse(view, QEvent::MouseMove, QPoint(hi, r1.center().y()) + origin);
        mouse(view, QEvent::MouseButtonRelease, QPoint(hi, r1.center().y()) + origin);
        QCOMPARE(m_block->dots().rect(), (board::DotRect{0, 2, lo, hi}));
        ClipboardCommands::copy(*m_w);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("＞\n＞"));

        // Pressed on a chosen character and dragged 20 pixels right: 20 dots at 16 pixels.
        const QPoint grip = r0.center() + origin;
        mouse(view, QEvent::MouseButtonPress, grip);
        mouse(view, QEvent::MouseMove, grip + QPoint(20, 0));
        mouse(view, QEvent::MouseButtonRelease, grip + QPoint(20, 0));
        QVERIFY(m_block->isFloating());
        QCOMPARE(m_block->dots().right(), 20);
        QCOMPARE(m_block->dots().down(), 0);
        QCOMPARE(m_w->controller().text(), picture());
        // A click elsewhere lays it down.
        mouse(view, QEvent::MouseButtonPress, m_w->textRect(2, 0, 1).center() + origin);
        mouse(view, QEvent::MouseButtonRelease, m_w->textRect(2, 0, 1).center() + origin);
        QVERIFY(!m_block->isFloating());
        QVERIFY(m_w->controller().text() != picture());
    }

    void cutLeavesBlanksOfTheSameWidthAsOneStep()
    {
        const std::vector<std::u16string> lines = linesOf(*m_w);
        const auto [lo, hi] = bubbleEdgeRange(lines);
        m_block->dots().select({0, lo}, {1, hi});
        ClipboardCommands::cut(*m_w);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("＞\n＞"));
        const std::vector<std::u16string> after = linesOf(*m_w);
        for (size_t line = 0; line < 2; ++line) {
            auto was = places(lines[line]);
            was.erase(std::find_if(was.begin(), was.end(),
                                   [](const auto& p) { return p.first == u'\uff1e'; }));
            QCOMPARE(places(after[line]), was);
        }
        m_w->controller().undo();
        QCOMPARE(m_w->controller().text(), picture());
    }

    void theFixedFontKeepsTheRectangleOfCells()
    {
        QFont fixed = m_w->font();
        fixed.setFamily(platform::kGothic);
        m_w->setFont(fixed);
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
        QFont fixed = m_w->font();
        fixed.setFamily(platform::kGothic);
        m_w->setFont(fixed);
        m_block->select({6, 0}, {8, 0});  // "＞"
        QTest::keyClick(m_w.get(), Qt::Key_Down, Qt::ControlModifier);
        QVERIFY(m_block->isFloating());
        QFont proportional = m_w->font();
        proportional.setFamily(platform::kPGothic);
        m_w->setFont(proportional);
        QVERIFY(!m_block->isFloating());
        QVERIFY(m_w->controller().text() != picture());
        m_w->controller().undo();
        QCOMPARE(m_w->controller().text(), picture());

        // And a block of dots afloat when it goes.
        const std::vector<std::u16string> lines = linesOf(*m_w);
        const int gt = static_cast<int>(lines[0].find(u'\uff1e'));
        const int x = board::dotPosition(lines[0], gt, board::DotRuler().charDots());
        m_block->dots().select({0, x}, {0, x + 12});
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ControlModifier);
        QVERIFY(m_block->isFloating());
        m_w->setFont(fixed);
        QVERIFY(!m_block->isFloating());
        QVERIFY(m_w->controller().text() != picture());
        QVERIFY(m_w->controller().canUndo());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CanvasWidget> m_w;
    std::unique_ptr<QMenuBar> m_bar;
    std::unique_ptr<BlockEditing> m_block;
    QString m_said;
};

QTEST_MAIN(TestDotRectangle)
#include "test_dot_rectangle.moc"
