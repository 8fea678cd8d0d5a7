// The posting check window through real widgets beside a real editor window: choosing a
// problem, the fix as one undo step, the copy, live updates while typing, the limits and the
// marks painted under the canvas text.

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeView>
#include <QtTest>

#include <memory>

#include "FakeToolHost.h"
#include "board/BoardBlanks.h"
#include "board/DotRuler.h"
#include "check/BoardFix.h"
#include "check/CellMarks.h"
#include "editor/BlockEditing.h"
#include "grid/Fit.h"
#include "check/frmCheck.h"
#include "editor/frmMain.h"
#include "grid/LineModel.h"
#include "platform/Fonts.h"
#include "platform/ProgramSettings.h"

using namespace masumemo;
using check::frmCheck;
using check::ProblemKind;
using editor::frmMain;

namespace {

/// Four lines of 10 units: a leading space, a run of three, a reference, and a clean line.
const std::u16string kCanvas = u" abcdefghi\r\nab   cdefg\r\n&amp;abcde\r\n\u3000\u3000\u3000\u3000\u3000";

QStringList rowTexts(const frmCheck& w)
{
    QStringList rows;
    const QAbstractItemModel* m = w.lvwProblems()->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        rows << QStringLiteral("%1:%2 %3")
                    .arg(m->index(r, 0).data().toInt())
                    .arg(m->index(r, 1).data().toInt())
                    .arg(m->index(r, 2).data().toString());
    }
    return rows;
}

}  // namespace

class TestFrmCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { platform::installFontSubstitutions(); }
    void init()
    {
        m_folder = std::make_unique<testing::TemporaryProgramFolder>();
        m_editor = std::make_unique<frmMain>();
        m_editor->show();
        m_editor->canvas().resetCanvas(kCanvas, 5, 4);
        m_editor->findChild<QAction*>(QStringLiteral("mnuToolCheck"))->trigger();
        m_check = m_editor->findChild<frmCheck*>();
        QVERIFY(m_check != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(m_check));
    }
    void cleanup()
    {
        m_editor.reset();
        m_folder.reset();
    }

    void opensBesideTheEditorOnceListingEveryProblem()
    {
        frmCheck& w = *m_check;
        QCOMPARE(w.windowTitle(), QStringLiteral("投稿チェック"));
        QVERIFY(!w.isModal());
        // A tool window of the editor, and a window (named by its title) to a screen reader.
        QCOMPARE(w.windowType(), Qt::Tool);
        QCOMPARE(w.parentWidget(), m_editor.get());
        QAccessibleInterface* announced = QAccessible::queryAccessibleInterface(&w);
        QCOMPARE(announced->role(), QAccessible::Window);
        QCOMPARE(announced->text(QAccessible::Name), QStringLiteral("投稿チェック"));
        QCOMPARE(m_editor->findChild<QAction*>(QStringLiteral("mnuToolCheck"))->text(),
                 QStringLiteral("投稿チェック(&C)..."));
        m_editor->findChild<QAction*>(QStringLiteral("mnuToolCheck"))->trigger();
        QCOMPARE(m_editor->findChildren<frmCheck*>().size(), 1);
        QCOMPARE(rowTexts(w), (QStringList{
                                  QStringLiteral("1:0 行頭の半角スペース（消えます）"),
                                  QStringLiteral("2:2 半角スペースの連続（1つになります）"),
                                  QStringLiteral("3:0 文字参照（別の文字になります）"),
                              }));
        // 10 + 6 + 10 + 6 + 10 bytes; the blank fourth line is not posted.
        QCOMPARE(w.lblBytes()->text(), QStringLiteral("バイト数 42 / 4096"));
        QCOMPARE(w.lblLines()->text(), QStringLiteral("行数 3 / 64"));
        QCOMPARE(w.cmdFix()->text(), QStringLiteral("整える(&F)"));
        QCOMPARE(w.cmdFixCopy()->text(), QStringLiteral("整えてｺﾋﾟｰ(&P)"));
    }

    void choosingAProblemSelectsItsCellsInTheCanvas()
    {
        frmCheck& w = *m_check;
        w.lvwProblems()->setFocus();
        w.lvwProblems()->setCurrentIndex(w.lvwProblems()->model()->index(1, 0));
        QTest::keyClick(w.lvwProblems(), Qt::Key_Return);
        editor::CanvasWidget& canvas = *m_editor->txtMain();
        QCOMPARE(canvas.selectionStart(), 12 + 2);
        QCOMPARE(canvas.selectionLength(), 3);
        QCOMPARE(m_editor->canvas().snapshot().line, 2);
        QTRY_VERIFY(canvas.hasFocus());

        const QRect row = w.lvwProblems()->visualRect(w.lvwProblems()->model()->index(2, 2));
        QTest::mouseClick(w.lvwProblems()->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(canvas.selectionStart(), 24);
        QCOMPARE(canvas.selectionLength(), 5);
    }

    void fixIsOneUndoStepAndCopyLeavesTheCanvas()
    {
        frmCheck& w = *m_check;
        const std::u16string fixed =
            u" abcdefghi\r\nab\u3000 cdefg\r\n&amp;abcde\r\n\u3000\u3000\u3000\u3000\u3000";
        w.cmdFixCopy()->click();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString::fromStdU16String(grid::lineEndsAs(fixed, u"\n")));
        QCOMPARE(m_editor->canvas().text(), kCanvas);
        QVERIFY(!m_editor->canvas().modified());

        const size_t steps = m_editor->canvas().history().entries().size();
        w.cmdFix()->click();
        QCOMPARE(m_editor->canvas().text(), fixed);
        QVERIFY(m_editor->canvas().modified());
        QCOMPARE(m_editor->canvas().history().entries().size(), steps + 1);
        // The lone leading space cannot be fixed in place and stays listed; the run is gone.
        QCOMPARE(w.check().problemCount(), 2);
        w.cmdFix()->click();
        QCOMPARE(m_editor->canvas().history().entries().size(), steps + 1);
        m_editor->canvas().undo();
        QCOMPARE(m_editor->canvas().text(), kCanvas);
        QCOMPARE(w.check().problemCount(), 3);
    }

    void fixKeepsAMoveOfAFloatingBlock()
    {
        // Rectangle mode: two cells of lines 1 and 2 lifted and moved a line down, floating.
        m_editor->findChild<QAction*>(QStringLiteral("mnuBlock"))->trigger();
        auto* block = m_editor->findChild<editor::BlockEditing*>();
        QVERIFY(block != nullptr && block->isActive());
        block->select({0, 0}, {2, 1});
        QTest::keyClick(m_editor->txtMain(), Qt::Key_Down, Qt::ControlModifier);
        QVERIFY(block->isFloating());
        const std::u16string moved =
            u"  bcdefghi\r\n a   cdefg\r\nabmp;abcde\r\n\u3000\u3000\u3000\u3000\u3000";

        m_check->cmdFix()->click();
        QVERIFY(!block->isFloating());
        QCOMPARE(m_editor->canvas().text(), check::fixForBoard(moved));
        // Two steps: the mend, then the move.
        m_editor->canvas().undo();
        QCOMPARE(m_editor->canvas().text(), moved);
        m_editor->canvas().undo();
        QCOMPARE(m_editor->canvas().text(), kCanvas);
    }

    void fixKeepsDotsInTheProportionalFont()
    {
        // Eight half-width spaces: four full-width ones on the grid, 40 dots' worth (38, the
        // nearest a board keeps) in the proportional font, the line padded back to its cells.
        const std::u16string canvas = u"a        b\r\n\u3000\u3000\u3000\u3000\u3000";
        // For a board that makes Unicode spaces "?": only the blanks of code page 932.
        m_check->chkUnicode()->setChecked(false);
        m_editor->canvas().resetCanvas(canvas, 5, 2);
        m_check->cmdFix()->click();
        QCOMPARE(m_editor->canvas().text(),
                 std::u16string(u"a\u3000\u3000\u3000\u3000b\r\n\u3000\u3000\u3000\u3000\u3000"));
        m_editor->canvas().resetCanvas(canvas, 5, 2);
        m_editor->txtMain()->setFont(QFont(platform::kPGothic, 12));
        m_check->cmdFix()->click();
        QCOMPARE(m_editor->canvas().text(),
                 std::u16string(u"a\u3000 \u3000\u3000b \r\n\u3000\u3000\u3000\u3000\u3000"));
        // Where the board passes them, Unicode spaces make up the 40 dots exactly.
        m_check->chkUnicode()->setChecked(true);
        m_editor->canvas().resetCanvas(canvas, 5, 2);
        m_check->cmdFix()->click();
        const std::u16string fixed = grid::canvasLines(m_editor->canvas().text()).front();
        QCOMPARE(board::DotRuler().width(grid::trimTrailingSpaces(fixed)),
                 board::DotRuler().width(u"a        b"));
        QVERIFY(std::ranges::any_of(fixed, [](char16_t c) { return board::isUnicodeSpace(c); }));
    }

    void showsHowFarTheFixMovesALineOnlyInTheProportionalFont()
    {
        // Eight half-width spaces: 40 dots, which the blanks of code page 932 make 38 at best.
        m_check->chkUnicode()->setChecked(false);
        m_editor->canvas().resetCanvas(u"a        b\r\n\u3000\u3000\u3000\u3000\u3000", 5, 2);
        const QString run = QStringLiteral("1:1 半角スペースの連続（1つになります）");
        QCOMPARE(rowTexts(*m_check), QStringList{run});
        m_editor->txtMain()->setFont(QFont(platform::kPGothic, 12));
        QCOMPARE(rowTexts(*m_check),
                 (QStringList{run, QStringLiteral("1:1 整えると 2 ﾄﾞｯﾄ左にずれます")}));
        // Its row leads to the run to mend, and follows typing.
        m_check->chooseProblem(1);
        QCOMPARE(m_editor->txtMain()->selectionStart(), 1);
        QCOMPARE(m_editor->txtMain()->selectionLength(), 8);
        m_editor->canvas().resetCanvas(u"a         b\r\n\u3000\u3000\u3000\u3000\u3000", 5, 2);
        QCOMPARE(rowTexts(*m_check).value(1), QStringLiteral("1:1 整えると 1 ﾄﾞｯﾄ左にずれます"));
        // With the Unicode spaces the fix keeps every dot: nothing moves.
        m_check->chkUnicode()->setChecked(true);
        QCOMPARE(rowTexts(*m_check), QStringList{run});
        m_editor->txtMain()->setFont(QFont(platform::kGothic, 12));
        QCOMPARE(rowTexts(*m_check), QStringList{run});
    }

    void followsTypingAndTheLimits()
    {
        frmCheck& w = *m_check;
        editor::CanvasWidget& canvas = *m_editor->txtMain();
        canvas.setSelection(12 + 5, 0);  // line 2, after the run
        m_editor->canvas().caretMoved();
        QTest::keyClick(&canvas, Qt::Key_Space);
        QCOMPARE(rowTexts(w).at(1), QStringLiteral("2:2 半角スペースの連続（1つになります）"));
        QCOMPARE(w.check().lineProblems().at(1).charCount, 4);
        canvas.setSelection(0, 0);
        m_editor->canvas().caretMoved();
        QTest::keyClick(&canvas, Qt::Key_X);
        QCOMPARE(rowTexts(w).size(), 2);
        QCOMPARE(w.check().lineProblems(), check::BoardCheck(m_editor->canvas().text()).problems);

        w.spnMaxLines()->setValue(2);
        QCOMPARE(w.lblLines()->text(), QStringLiteral("行数 3 / 2"));
        QVERIFY(w.lblLines()->property("overLimit").toBool());
        QVERIFY(!w.lblBytes()->property("overLimit").toBool());
        QCOMPARE(rowTexts(w).last(), QStringLiteral("3:0 行数の上限を超えます"));
        w.spnMaxBytes()->setValue(100);
        QCOMPARE(platform::openProgramSettings()->value(QStringLiteral("BoardCheck/MaxLines")).toInt(), 2);

        // A new window starts with the remembered limits.
        w.close();
        QTRY_VERIFY(m_editor->findChild<frmCheck*>() == nullptr);
        m_editor->findChild<QAction*>(QStringLiteral("mnuToolCheck"))->trigger();
        auto* again = m_editor->findChild<frmCheck*>();
        QCOMPARE(again->spnMaxLines()->value(), 2);
        QCOMPARE(again->spnMaxBytes()->value(), 100);
    }

    void unicodeSettingDecidesAndCopiesWriteReferences()
    {
        frmCheck& w = *m_check;
        m_editor->canvas().resetCanvas(u"a\u2009b\U0001F600\u3000\r\n\u3000\u3000\u3000", 3, 2);
        QCOMPARE(w.chkUnicode()->text(), QStringLiteral("Unicodeを通す掲示板(&U)"));
        QVERIFY(w.chkUnicode()->isChecked());
        QVERIFY(rowTexts(w).isEmpty());
        // 1 + 8 + 1 + 9 bytes: each character as the reference the board stores.
        QCOMPARE(w.lblBytes()->text(), QStringLiteral("バイト数 19 / 4096"));
        w.cmdFixCopy()->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a&#x2009;b&#x1F600;\u3000\n\u3000\u3000\u3000"));

        w.chkUnicode()->click();
        QCOMPARE(rowTexts(w), (QStringList{QStringLiteral("1:1 Unicode文字（?になります）"),
                                           QStringLiteral("1:3 Unicode文字（?になります）")}));
        QCOMPARE(w.lblBytes()->text(), QStringLiteral("バイト数 19 / 4096"));
        QVERIFY(!platform::openProgramSettings()->value(QStringLiteral("BoardCheck/PassesUnicode"))
                     .toBool());
        w.close();
        QTRY_VERIFY(m_editor->findChild<frmCheck*>() == nullptr);
        m_editor->findChild<QAction*>(QStringLiteral("mnuToolCheck"))->trigger();
        QVERIFY(!m_editor->findChild<frmCheck*>()->chkUnicode()->isChecked());
    }

    void limitsReadBackAreBroughtIntoRange()
    {
        // A hand-edited or damaged masumemo.conf: the label and the box show one limit.
        m_check->close();
        QTRY_VERIFY(m_editor->findChild<frmCheck*>() == nullptr);
        const struct
        {
            const char* name;
            QVariant bytes, lines;
            int wantBytes, wantLines;
        } rows[] = {
            {"below the range", QStringLiteral("-2147483648"), 0, 1, 1},
            {"beyond the range", QStringLiteral("99999999999"), 100'000'001, check::kLargestLimit,
             check::kLargestLimit},
            {"not numbers", QStringLiteral("lots"), QStringLiteral("4x"), check::kDefaultMaxBytes,
             check::kDefaultMaxLines},
        };
        for (const auto& row : rows) {
            {
                const auto settings = platform::openProgramSettings();
                settings->setValue(QStringLiteral("BoardCheck/MaxBytes"), row.bytes);
                settings->setValue(QStringLiteral("BoardCheck/MaxLines"), row.lines);
            }
            m_editor->findChild<QAction*>(QStringLiteral("mnuToolCheck"))->trigger();
            auto* w = m_editor->findChild<frmCheck*>();
            QVERIFY(w != nullptr);
            QCOMPARE(w->spnMaxBytes()->value(), row.wantBytes);
            QCOMPARE(w->spnMaxLines()->value(), row.wantLines);
            QVERIFY2(w->lblBytes()->text().endsWith(QStringLiteral(" / %1").arg(row.wantBytes)),
                     row.name);
            QCOMPARE(w->check().limits().maxLines, row.wantLines);
            w->close();
            QTRY_VERIFY(m_editor->findChild<frmCheck*>() == nullptr);
        }
    }

    void marksTheProblemCellsUnderTheTextWhileOpen()
    {
        editor::CanvasWidget& canvas = *m_editor->txtMain();
        const QRect run = canvas.textRect(1, 2, 3).translated(canvas.textRect(0, 0, 0).topLeft());
        const QColor mark = check::CellMarks::colourOf(ProblemKind::SpaceRun);
        const auto marked = [&] {
            const QImage shot = canvas.viewport()->grab().toImage();
            return shot.pixelColor(run.center()) == mark;
        };
        QVERIFY(marked());
        const std::u16string text = m_editor->canvas().text();
        m_check->close();
        QTRY_VERIFY(m_editor->findChild<frmCheck*>() == nullptr);
        QVERIFY(!marked());
        QCOMPARE(m_editor->canvas().text(), text);
    }

private:
    std::unique_ptr<testing::TemporaryProgramFolder> m_folder;
    std::unique_ptr<frmMain> m_editor;
    frmCheck* m_check = nullptr;
};

QTEST_MAIN(TestFrmCheck)
#include "test_frmcheck.moc"
