// txtMain driven through real Qt events (offscreen): every edit path reaches the canvas only
// through the controller, and the document always shows the controller's text.

#include <array>

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QVBoxLayout>
#include <QtTest>

#include "editor/CanvasWidget.h"
#include "platform/AppPaths.h"
#include "editor/frmMain.h"
#include "platform/Fonts.h"
#include "grid/LineModel.h"

using masumemo::editor::CanvasWidget;
namespace grid = masumemo::grid;

namespace {

QString fw(int n)
{
    return QString(n, QChar(0x3000));
}

QString lineOf(const CanvasWidget& w, int n)
{
    return w.document()->findBlockByNumber(n - 1).text();
}

/// The document in model form (CR LF), to compare with the controller's text.
std::u16string documentText(const CanvasWidget& w)
{
    return w.toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdU16String();
}

void putCaret(CanvasWidget& w, int line, int column)
{
    const auto& text = w.controller().text();
    int offset = 0;
    for (int n = 1; n < line; ++n) {
        offset = static_cast<int>(text.find(u'\r', static_cast<size_t>(offset))) + 2;
    }
    w.setSelection(offset + column, 0);
    w.controller().caretMoved();
}

}  // namespace

class TestCanvasWidget : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_w = std::make_unique<CanvasWidget>();
        m_w->resize(400, 300);
        m_w->controller().resetCanvas(grid::blankCanvas(35, 20), 35, 20);
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
    }
    void cleanup()
    {
        QCOMPARE(documentText(*m_w), m_w->controller().text());
        m_w.reset();
    }

    void typingOverwritesAndDeleteBlanks()
    {
        CanvasWidget& w = *m_w;
        QTest::keyClicks(&w, "ab");
        QCOMPARE(lineOf(w, 1), QStringLiteral("ab") + fw(34));
        QTest::keyClick(&w, Qt::Key_End);
        QTest::keyClick(&w, Qt::Key_Home);
        QTest::keyClick(&w, Qt::Key_Delete);
        QCOMPARE(lineOf(w, 1), QStringLiteral(" b") + fw(34));
        QTest::keyClick(&w, Qt::Key_Return);
        QTest::keyClick(&w, Qt::Key_Backspace);  // at a line start: back to the line end
        QCOMPARE(w.document()->blockCount(), 20);
        QCOMPARE(w.controller().snapshot().line, 1);
        QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);  // Ctrl keys never type
        QTest::keyClick(&w, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(lineOf(w, 1), QStringLiteral(" b") + fw(34));
    }

    void arrowsStepOneCharacterEvenOverVoicedMarks()
    {
        // "ﾊﾞ" and "ｶﾟ" are two cells each; the emoji is one character of two code units.
        CanvasWidget& w = *m_w;
        w.controller().resetCanvas(u"ﾊﾞｶﾟ\U0001F600abc\r\n12345678", 4, 2);
        w.setSelection(0, 0);
        const std::vector<int> right = {1, 2, 3, 4, 6, 7, 8, 9, 11, 12};
        int x = w.shownCaretRect().x();
        for (size_t i = 0; i < right.size(); ++i) {
            QTest::keyClick(&w, Qt::Key_Right);
            QCOMPARE(w.selectionStart(), right[i]);
            if (right[i] <= 9) {
                // The caret is drawn a cell further on, not at the start of the pair.
                QVERIFY2(w.shownCaretRect().x() > x, qPrintable(QString::number(right[i])));
                x = w.shownCaretRect().x();
            }
        }
        for (const int want : {11, 9, 8, 7, 6, 4, 3, 2, 1, 0, 0}) {
            QTest::keyClick(&w, Qt::Key_Left);
            QCOMPARE(w.selectionStart(), want);
        }
        // Shift selects character by character; a plain arrow then leaves the selection at the
        // side it points to.
        QTest::keyClick(&w, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(&w, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(&w, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(w.selectionLength(), 3);
        QTest::keyClick(&w, Qt::Key_Left);
        QCOMPARE(w.selectionStart(), 0);
        QCOMPARE(w.selectionLength(), 0);
    }

    void altArrowsPushAndPull()
    {
        CanvasWidget& w = *m_w;
        QTest::keyClicks(&w, "ab");
        putCaret(w, 1, 0);
        QTest::keyClick(&w, Qt::Key_Down, Qt::AltModifier);
        QCOMPARE(lineOf(w, 1), fw(35));
        QCOMPARE(lineOf(w, 2), QStringLiteral("ab") + fw(34));
        QCOMPARE(w.controller().snapshot().line, 2);
        QTest::keyClick(&w, Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(lineOf(w, 2), QStringLiteral(" ab") + fw(33) + QStringLiteral(" "));
        QTest::keyClick(&w, Qt::Key_Left, Qt::AltModifier | Qt::ShiftModifier);
        QCOMPARE(lineOf(w, 2), QStringLiteral("ab") + fw(33) + QStringLiteral("  "));
        QTest::keyClick(&w, Qt::Key_Q, Qt::AltModifier);
        QCOMPARE(w.controller().history().entries().size(), size_t(6));
        // Up and Down over two lines change nothing and select both lines whole.
        for (const auto key : {Qt::Key_Up, Qt::Key_Down}) {
            w.setSelection(3, 37);
            QTest::keyClick(&w, key, Qt::AltModifier);
            QCOMPARE(w.textCursor().selectedText(), lineOf(w, 1) + QChar::ParagraphSeparator +
                                                        lineOf(w, 2));
            QCOMPARE(w.controller().history().entries().size(), size_t(6));
        }
    }

    void pasteTakesAnyLineEnds_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("LF, Ctrl+V") << "ab\ncd" << int(Qt::Key_V) << int(Qt::ControlModifier);
        QTest::newRow("lone CR, Shift+Insert") << "ab\rcd" << int(Qt::Key_Insert)
                                               << int(Qt::ShiftModifier);
        // The widget's own paste goes through insertFromMimeData, as the middle click does.
        QTest::newRow("CR LF, widget paste") << "ab\r\ncd" << 0 << 0;
    }
    void pasteTakesAnyLineEnds()
    {
        QFETCH(QString, clip);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        CanvasWidget& w = *m_w;
        QGuiApplication::clipboard()->setText(clip);
        putCaret(w, 2, 1);
        if (key == 0) {
            w.paste();
        } else {
            QTest::keyClick(&w, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        }
        QCOMPARE(lineOf(w, 2), fw(1) + QStringLiteral("ab") + fw(33));
        QCOMPARE(lineOf(w, 3), fw(1) + QStringLiteral("cd") + fw(33));
        QCOMPARE(w.document()->blockCount(), 20);
    }

    void dropIsLaidOverAsACopy()
    {
        CanvasWidget& w = *m_w;
        QTextCursor target(w.document()->findBlockByNumber(2));
        target.setPosition(target.position() + 2);
        const QPoint at = w.cursorRect(target).center() + QPoint(1, 0);
        QMimeData data;
        data.setText(QStringLiteral("x\ny"));
        const auto actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w.viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w.viewport(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(drop.dropAction(), Qt::CopyAction);
        QCOMPARE(lineOf(w, 3), fw(2) + QStringLiteral("x ") + fw(32));
        QCOMPARE(lineOf(w, 4), fw(2) + QStringLiteral("y ") + fw(32));
    }

    void inputMethodCommitIsTypedCharacterByCharacter()
    {
        CanvasWidget& w = *m_w;
        QInputMethodEvent composing(QStringLiteral("か"), {});
        QCoreApplication::sendEvent(&w, &composing);
        QCOMPARE(lineOf(w, 1), fw(35));  // composition is shown, not written
        QInputMethodEvent commit(QString(), {});
        commit.setCommitString(QStringLiteral("かa\u301C"));
        QCoreApplication::sendEvent(&w, &commit);
        QCOMPARE(lineOf(w, 1), QStringLiteral("かa\uFF5E ") + fw(32));
        QCOMPARE(w.controller().history().entries().size(), size_t(4));
    }

    void inputMethodOverASelection()
    {
        // Composing leaves the canvas and the selection alone; the commit blanks the selection
        // and is laid over its start; a cancelled composition keeps the selection.
        CanvasWidget& w = *m_w;
        const QString typed = QStringLiteral("abcdef") + fw(32);
        const auto selectAbcd = [&] {
            QTest::keyClick(&w, Qt::Key_Home);
            for (int i = 0; i < 4; ++i) {
                QTest::keyClick(&w, Qt::Key_Right, Qt::ShiftModifier);
            }
            QCOMPARE(w.textCursor().selectedText(), QStringLiteral("abcd"));
        };
        const auto compose = [&](const QString& preedit) {
            QInputMethodEvent composing(preedit, {});
            QCoreApplication::sendEvent(&w, &composing);
            QCOMPARE(lineOf(w, 1), typed);
            QCOMPARE(w.textCursor().selectedText(), QStringLiteral("abcd"));
            QCOMPARE(w.document()->firstBlock().layout()->preeditAreaText(), preedit);
        };
        QTest::keyClicks(&w, "abcdef");
        selectAbcd();
        compose(QStringLiteral("a"));
        compose(QStringLiteral("\u3042"));
        compose(QString());  // cancelled
        QTest::keyClick(&w, Qt::Key_X);
        QCOMPARE(lineOf(w, 1), QStringLiteral("x   ef") + fw(32));

        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        selectAbcd();
        compose(QStringLiteral("\u3042"));
        QInputMethodEvent commit(QStringLiteral("\u3044"), {});  // goes on composing after it
        commit.setCommitString(QStringLiteral("\u3042"));
        QCoreApplication::sendEvent(&w, &commit);
        QCOMPARE(lineOf(w, 1), QStringLiteral("\u3042  ef") + fw(32));
        QCOMPARE(w.controller().history().current().Text, w.controller().text());
        QCOMPARE(w.textCursor().position(), 1);
        QCOMPARE(w.document()->firstBlock().layout()->preeditAreaText(), QStringLiteral("\u3044"));
        QInputMethodEvent cancel;
        QCoreApplication::sendEvent(&w, &cancel);
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(lineOf(w, 1), typed);
    }

    void overwritingASelectionIsOneUndoStep()
    {
        // A space typed over "abc": Ctrl+Z gives "abc" back, Ctrl+Y the blanks, and a refused
        // key after it keeps the blanks.
        CanvasWidget& w = *m_w;
        const QString blank = QStringLiteral("    ") + fw(33);
        QTest::keyClicks(&w, "abc");
        QTest::keyClick(&w, Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClick(&w, Qt::Key_Space);
        QCOMPARE(lineOf(w, 1), blank);
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(lineOf(w, 1), QStringLiteral("abc ") + fw(33));
        QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(lineOf(w, 1), blank);
        QTest::keyClick(&w, Qt::Key_End);
        QTest::keyClick(&w, Qt::Key_X);
        QCOMPARE(lineOf(w, 1), blank);
    }

    void tabLeavesTheCanvas()
    {
        QWidget form;
        auto* layout = new QVBoxLayout(&form);
        auto* canvas = new CanvasWidget;
        auto* next = new QLineEdit;
        layout->addWidget(canvas);
        layout->addWidget(next);
        canvas->controller().resetCanvas(grid::blankCanvas(4, 2), 4, 2);
        form.show();
        QApplication::setActiveWindow(&form);
        canvas->setFocus();
        QTRY_VERIFY(canvas->hasFocus());
        QTest::keyClick(canvas, Qt::Key_Tab);
        QTRY_VERIFY(next->hasFocus());
        QCOMPARE(canvas->controller().text(), grid::blankCanvas(4, 2));
        QCOMPARE(documentText(*canvas), grid::blankCanvas(4, 2));
    }

    void ctrlZAndCtrlYRunTheCanvasHistory()
    {
        CanvasWidget& w = *m_w;
        QTest::keyClicks(&w, "ab");
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(lineOf(w, 1), QStringLiteral("a ") + fw(34));
        QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(lineOf(w, 1), fw(35));
        QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(lineOf(w, 1), QStringLiteral("a ") + fw(34));
        QCOMPARE(w.controller().snapshot().caret, 1);
    }

    void anEditDownTheCanvasKeepsTheScrollPosition()
    {
        CanvasWidget& w = *m_w;
        w.controller().resetCanvas(grid::blankCanvas(40, 800), 40, 800);
        putCaret(w, 700, 3);
        const int scrolled = w.verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        QTest::keyClick(&w, Qt::Key_X);
        QTest::keyClick(&w, Qt::Key_Delete);
        QCOMPARE(lineOf(w, 700), fw(3) + QStringLiteral("x ") + fw(36));
        QCOMPARE(w.verticalScrollBar()->value(), scrolled);
    }

    void aWholeNewTextKeepsTheCursorOnItsLine()
    {
        // A size change or a push writes every line. The widget's own cursor must not be carried
        // to the end on the way: putting the caret back would lay out the lines between.
        CanvasWidget& w = *m_w;
        const auto numbered = [](int width, int count) {
            std::vector<std::u16string> rows;
            for (int i = 1; i <= count; ++i) {
                rows.push_back(QString::number(i).leftJustified(width, u'.').toStdU16String());
            }
            return grid::joinLines(rows);
        };
        // Columns and lines of the new text, the caret's line and column, where the cursor ends.
        for (const auto& [columns, lines, line, column, atLine, atColumn] :
             {std::array{78, 800, 700, 3, 700, 3}, {10, 800, 650, 60, 650, 10},
              {80, 400, 700, 3, 400, 80}, {78, 800, 800, 80, 800, 78}}) {
            w.controller().resetCanvas(numbered(80, 800), 40, 800);
            putCaret(w, line, column);
            const int scrolled = w.verticalScrollBar()->value();
            w.replaceLines(0, -1, numbered(columns, lines));
            QCOMPARE(documentText(w), numbered(columns, lines));
            QCOMPARE(w.textCursor().blockNumber() + 1, atLine);
            QCOMPARE(w.textCursor().positionInBlock(), atColumn);
            QVERIFY(lines < 800 || w.verticalScrollBar()->value() == scrolled);
            w.replaceLines(0, -1, w.controller().text());  // back in step with the controller
        }
    }

    void linesReplacedReportsTheChangedLines()
    {
        CanvasWidget& w = *m_w;
        QList<QList<int>> seen;
        connect(&w, &CanvasWidget::linesReplaced,
                [&](int first, int removed, int added) { seen.append({first, removed, added}); });
        putCaret(w, 3, 0);
        QTest::keyClick(&w, Qt::Key_A);
        w.controller().pasteText(u"x\r\ny");
        w.controller().resetCanvas(grid::blankCanvas(10, 4), 10, 4);
        QCOMPARE(seen, (QList<QList<int>>{{2, 1, 1}, {2, 2, 2}, {0, -1, 4}}));
    }

    void spansOfOneLineMeasuredTogetherMatchEachMeasuredAlone()
    {
        CanvasWidget& w = *m_w;
        // Unit columns: 0-1 "ab", 2-3 "あ", 4-5 a full-width space, 6 "c".
        w.controller().resetCanvas(u"ab\u3042\u3000c\r\nabcdefg", 4, 2);
        QCoreApplication::processEvents();
        const struct
        {
            const char* name;
            int line;
            std::vector<std::pair<int, int>> spans;
        } rows[] = {
            {"shared edges, repeated spans", 0, {{0, 2}, {2, 6}, {0, 2}, {4, 7}, {2, 4}}},
            {"inside a full-width character", 0, {{1, 3}, {3, 5}, {5, 7}}},
            {"empty spans and past the end", 0, {{3, 3}, {0, 0}, {7, 9}}},
            {"another line, same units", 1, {{0, 2}, {2, 6}, {3, 3}}},
            {"no such line", 5, {{0, 2}, {1, 1}}},
        };
        for (const auto& row : rows) {
            const std::vector<QRect> together = w.unitSpans(row.line, row.spans);
            QCOMPARE(together.size(), row.spans.size());
            for (size_t i = 0; i < row.spans.size(); ++i) {
                const auto [from, to] = row.spans[i];
                QVERIFY2(together[i] == w.unitSpan(row.line, from, to),
                         qPrintable(QStringLiteral("%1: span %2").arg(row.name).arg(i)));
            }
        }
        // Measured alone, the spans still go by the line's own characters.
        QVERIFY(w.unitSpan(0, 2, 4).width() > w.unitSpan(0, 0, 1).width());
    }

    void charactersBeyondCodePage932TakeTheirWidths()
    {
        CanvasWidget& w = *m_w;
        masumemo::platform::installFontSubstitutions();
        // Unit columns: 0 "a", 1 an emoji, 2 U+2006, 3 "b".
        w.controller().resetCanvas(u"a\U0001F600\u2006b\u3000", 3, 1);
        const auto span = [&](int unit) { return w.unitX(0, unit + 1) - w.unitX(0, unit); };
        // The fixed font: each fills exactly its one cell, the emoji too.
        w.setFont(QFont(masumemo::platform::kGothic, 12));
        QVERIFY2(qAbs(span(1) - span(0)) <= 1, qPrintable(QString::number(span(1))));
        QVERIFY2(qAbs(span(2) - span(0)) <= 1, qPrintable(QString::number(span(2))));
        QVERIFY(qAbs(w.unitX(0, 4) - 4 * (w.unitX(0, 1) - w.unitX(0, 0))) <= 2);
        // The board font at its 16 pixels: U+2006 is 3 dots wide there.
        QFont board(masumemo::platform::kPGothic);
        board.setPixelSize(16);
        w.setFont(board);
        QTRY_VERIFY(span(0) > 0);  // laid out again in the new font
        QVERIFY2(qAbs(span(2) - 3) <= 1, qPrintable(QString::number(span(2))));
    }

    void offsetsConvertBetweenModelAndDocument()
    {
        CanvasWidget& w = *m_w;
        w.controller().resetCanvas(u"\u3042\u3044\r\n\u3046\u3048\r\nab\u3000", 2, 3);
        const int model[] = {0, 2, 4, 6, 8, 11};
        const int document[] = {0, 2, 3, 5, 6, 9};
        for (size_t i = 0; i < std::size(model); ++i) {
            QCOMPARE(w.toDocumentPosition(model[i]), document[i]);
            QCOMPARE(w.toModelOffset(document[i]), model[i]);
        }
        w.setSelection(5, 4);
        QCOMPARE(w.textCursor().selectedText(), QStringLiteral("\u3048\u2029a"));
        QCOMPARE(w.selectionStart(), 5);
        QCOMPARE(w.selectionLength(), 4);
    }

    void editsThatBypassTheControllerAreUndone()
    {
        CanvasWidget& w = *m_w;
        QTest::keyClicks(&w, "a");
        const std::u16string accepted = w.controller().text();
        w.insertPlainText(QStringLiteral("zz\nzz"));
        QTRY_COMPARE(documentText(w), accepted);
        QCOMPARE(w.controller().text(), accepted);
        QCOMPARE(w.document()->isUndoRedoEnabled(), false);
    }

    void rightClickShowsTheEditMenu()
    {
        CanvasWidget& w = *m_w;
        QMenu menu;
        menu.addAction(QStringLiteral("x"));
        w.setEditMenu(&menu);
        QTest::mouseClick(w.viewport(), Qt::RightButton, {}, QPoint(20, 20));
        QTRY_VERIFY(menu.isVisible());
        menu.hide();
        QCOMPARE(lineOf(w, 1), fw(35));
    }

    void keypadOfTheEditorWindow()
    {
        // The push step chosen below is remembered: in a folder of this test's own.
        QTemporaryDir dir;
        masumemo::platform::AppPaths::setProgramDirectoryForTesting(dir.path());
        const auto restore = qScopeGuard(
            [] { masumemo::platform::AppPaths::setProgramDirectoryForTesting(QString()); });
        masumemo::editor::frmMain window;
        CanvasWidget& w = *window.txtMain();
        const auto keypad = [&](const char* name) {
            return window.findChild<QPushButton*>(QString::fromLatin1(name));
        };
        const auto press = [&](const char* name, Qt::KeyboardModifiers modifiers) {
            QTest::mousePress(keypad(name), Qt::LeftButton, modifiers);
            QTest::mouseRelease(keypad(name), Qt::LeftButton, modifiers);
        };
        QTest::keyClicks(&w, "ab");
        const std::u16string typed = w.controller().text();
        window.setModified(false);

        putCaret(w, 1, 36);  // the line end
        QTest::mouseClick(keypad("cmdDel"), Qt::LeftButton);
        QCOMPARE(w.controller().text(), typed);
        QCOMPARE(w.selectionStart(), 38);
        QTest::mouseClick(keypad("cmdBack"), Qt::LeftButton);  // at a line start: back up
        QCOMPARE(w.selectionStart(), 36);
        QTest::mouseClick(keypad("cmdEnt"), Qt::LeftButton);
        QCOMPARE(w.selectionStart(), 38);
        QCOMPARE(window.statusPanel(1)->text(), QStringLiteral("列[ 0/70 ]　行[ 2/20 ]"));

        putCaret(w, 1, 0);
        press("cmdCars_0", Qt::ShiftModifier);  // Shift alone is no push code
        press("cmdCars_2", Qt::ControlModifier);
        QCOMPARE(w.controller().text(), typed);
        QVERIFY(!w.controller().modified());
        press("cmdCars_2", Qt::AltModifier);
        QCOMPARE(lineOf(w, 1), fw(35));
        QCOMPARE(lineOf(w, 2), QStringLiteral("ab") + fw(34));
        QVERIFY(w.controller().modified());
        press("cmdCars_2", Qt::NoModifier);  // a plain arrow just moves
        QCOMPARE(w.controller().snapshot().line, 3);
        window.optPush_Click(1);
        QCOMPARE(window.statusPanel(2)->text(), QStringLiteral("全角移動"));
        putCaret(w, 2, 0);
        press("cmdCars_3", Qt::AltModifier);  // a full-width step
        QCOMPARE(lineOf(w, 2), fw(1) + QStringLiteral("ab") + fw(33));

        putCaret(w, 20, 0);
        const std::u16string before = w.controller().text();
        press("cmdCars_2", Qt::AltModifier);  // the last line: nothing
        press("cmdCars_2", Qt::NoModifier);
        QCOMPARE(w.controller().text(), before);
        QCOMPARE(w.controller().snapshot().line, 20);
        QCOMPARE(documentText(w), w.controller().text());
    }

private:
    std::unique_ptr<CanvasWidget> m_w;
};

QTEST_MAIN(TestCanvasWidget)
#include "test_canvas_widget.moc"
