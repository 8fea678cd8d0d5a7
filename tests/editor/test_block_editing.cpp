// Rectangle mode on a real txtMain (offscreen): Shift+arrows and the mouse select, Ctrl+arrows
// lift and move a floating block that only the layer shows, Enter lays it down as one undo
// step, Escape puts it back, copy and cut take the rectangle.

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QInputMethodEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "LeftButton.h"
#include "editor/BlockEditing.h"
#include "editor/CanvasWidget.h"
#include "editor/ClipboardCommands.h"
#include "editor/EditorHost.h"
#include "grid/LineModel.h"
#include "platform/AppPaths.h"
#include "platform/ProgramSettings.h"

using masumemo::editor::BlockEditing;
using masumemo::editor::CanvasWidget;
using masumemo::editor::EditorHost;
namespace ClipboardCommands = masumemo::editor::ClipboardCommands;
namespace grid = masumemo::grid;
namespace platform = masumemo::platform;

namespace {

// "　" is U+3000.
const std::u16string kPicture = u"abcdefgh\r\nあいうえ\r\n12345678";

QString clipboard()
{
    return QGuiApplication::clipboard()->text();
}

const auto mouse = masumemo::testing::leftButton;

}  // namespace

class TestBlockEditing : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        platform::AppPaths::setProgramDirectoryForTesting(m_dir->path());
        m_w = std::make_unique<CanvasWidget>();
        m_w->resize(400, 200);
        m_w->controller().resetCanvas(kPicture, 4, 3);
        m_bar = std::make_unique<QMenuBar>();
        m_menu = m_bar->addMenu(QStringLiteral("edit"));
        m_menu->setObjectName(QStringLiteral("mnuEdit"));
        EditorHost& host = EditorHost::of(*m_w, *m_w);
        host.setMenuBar(m_bar.get());
        m_block = std::make_unique<BlockEditing>(*m_w, nullptr);
        m_block->addMenuEntries(host);
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
        m_w->setSelection(0, 0);
        m_w->controller().caretMoved();
        action("mnuBlock")->trigger();
        QVERIFY(m_block->isActive());
    }
    void cleanup()
    {
        m_block.reset();
        m_bar.reset();
        m_w.reset();
        platform::AppPaths::setProgramDirectoryForTesting(QString());
        m_dir.reset();
    }

    void shiftArrowsSelectAndCopyTakesTheRectangle()
    {
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(m_w.get(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(m_block->selection(), (grid::BlockRect{0, 0, 2, 2}));
        ClipboardCommands::copy(*m_w);
        QCOMPARE(clipboard(), QStringLiteral("ab\nあ"));
        QCOMPARE(m_w->controller().text(), kPicture);

        // A rectangle whose edge cuts い: the cut cell is a space on the clipboard.
        m_block->select({1, 0}, {4, 1});
        ClipboardCommands::copy(*m_w);
        QCOMPARE(clipboard(), QStringLiteral("bcd\n い"));
    }

    void selectAllTakesTheWholeCanvasAsTheRectangle()
    {
        // A small rectangle chosen before: select all must not leave copy on it.
        m_block->select({0, 0}, {2, 0});
        ClipboardCommands::selectAll(*m_w);
        QCOMPARE(m_block->selection(), (grid::BlockRect{0, 0, 3, 8}));
        ClipboardCommands::copy(*m_w);
        QCOMPARE(clipboard(), QStringLiteral("abcdefgh\nあいうえ\n12345678"));

        // While a block floats it is laid down first, then everything is selected.
        m_block->select({0, 0}, {2, 0});
        m_block->moveBlock(grid::Arrow::Down);
        QVERIFY(m_block->isFloating());
        ClipboardCommands::selectAll(*m_w);
        QVERIFY(!m_block->isFloating());
        ClipboardCommands::copy(*m_w);
        QCOMPARE(clipboard(), QStringLiteral("  cdefgh\nabいうえ\n12345678"));
    }

    void cutLeavesSpacesAsOneStep()
    {
        m_block->select({0, 0}, {2, 1});
        ClipboardCommands::cut(*m_w);
        QCOMPARE(clipboard(), QStringLiteral("ab\nあ"));
        QCOMPARE(m_w->controller().text(), std::u16string(u"  cdefgh\r\n　いうえ\r\n12345678"));
        QVERIFY(m_w->controller().modified());
        m_w->controller().undo();
        QCOMPARE(m_w->controller().text(), kPicture);
    }

    void closingSavingOrAMenuLayTheBlockDownFirst()
    {
        // Each of these reads or writes the canvas (the save question, the file, the menu's
        // commands, an input method): the block must be in it, as shown, not left afloat.
        const std::u16string laid = u"  cdefgh\r\nabいうえ\r\nあ345678";
        QKeyEvent save(QEvent::ShortcutOverride, Qt::Key_S, Qt::ControlModifier);
        QCloseEvent close;
        QFocusEvent menu(QEvent::FocusOut, Qt::PopupFocusReason);
        QKeyEvent ctrlRight(QEvent::ShortcutOverride, Qt::Key_Right, Qt::ControlModifier);
        QFocusEvent otherWindow(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QInputMethodEvent composing(QStringLiteral("か"), {});
        QKeyEvent undo(QEvent::ShortcutOverride, Qt::Key_Z, Qt::ControlModifier);
        const std::pair<QEvent*, bool> events[] = {
            {&save, true}, {&close, true}, {&menu, true}, {&composing, true}, {&undo, true},
            {&ctrlRight, false}, {&otherWindow, false},  // moving on, or looking elsewhere
        };
        for (const auto& [event, laysDown] : events) {
            m_block->select({0, 0}, {2, 1});
            QTest::keyClick(m_w.get(), Qt::Key_Down, Qt::ControlModifier);
            QVERIFY(m_block->isFloating());
            QCoreApplication::sendEvent(m_w.get(), event);
            QCOMPARE(m_block->isFloating(), !laysDown);
            QCOMPARE(m_w->controller().text(), laysDown ? laid : kPicture);
            QCOMPARE(m_w->controller().modified(), laysDown);
            if (laysDown) {
                m_w->controller().undo();
                m_w->controller().setModified(false);
            } else {
                m_block->cancel();
            }
            QCOMPARE(m_w->controller().text(), kPicture);
        }
    }

    void aPressElsewhereInTheWindowLaysTheBlockDown()
    {
        // The canvas beside a button (as the toolbar's save beside txtMain).
        QWidget window;
        auto* canvas = new CanvasWidget(&window);
        canvas->setGeometry(0, 0, 300, 120);
        auto* button = new QPushButton(QStringLiteral("save"), &window);
        button->setGeometry(0, 130, 80, 24);
        canvas->controller().resetCanvas(kPicture, 4, 3);
        BlockEditing blocks(*canvas, nullptr);
        blocks.setActive(true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        blocks.select({0, 0}, {2, 1});
        blocks.moveBlock(grid::Arrow::Down);
        QVERIFY(blocks.isFloating());
        // The canvas's own scroll bar keeps it afloat; the button lays it down before it acts.
        QTest::mouseClick(canvas->verticalScrollBar(), Qt::LeftButton);
        QVERIFY(blocks.isFloating());
        bool sawItLaid = false;
        connect(button, &QPushButton::pressed, this, [&] {
            sawItLaid = !blocks.isFloating() && canvas->controller().text() != kPicture;
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(sawItLaid);
    }

    void aNewFontRedrawsTheFloatingBlockInItsCells()
    {
        m_block->select({0, 0}, {2, 1});
        QTest::keyClick(m_w.get(), Qt::Key_Down, Qt::ControlModifier);
        QFont font = m_w->font();
        font.setPointSizeF(font.pointSizeF() * 2);
        m_w->setFont(font);
        QCoreApplication::processEvents();
        const QImage shot = m_w->viewport()->grab().toImage();
        // Canvas pixels to the viewport's: the caret at the first cell sits at both origins.
        QTextCursor first(m_w->document());
        const QPoint offset = m_w->cursorRect(first).topLeft() - m_w->unitSpan(0, 0, 0).topLeft();
        const auto inkIn = [&](const QRect& cells) {
            const QRect r = cells.translated(offset).adjusted(2, 1, -2, -1);
            int dark = 0;
            for (int y = r.top(); y <= r.bottom(); ++y) {
                for (int x = r.left(); x <= r.right(); ++x) {
                    dark += qGray(shot.pixel(x, y)) < 128;
                }
            }
            return dark;
        };
        // Where "ab" stood it is hidden; on the next line, where it floats, it is drawn.
        QCOMPARE(inkIn(m_w->unitSpan(0, 0, 2)), 0);
        QVERIFY(inkIn(m_w->unitSpan(1, 0, 2)) > 0);
    }

    void ctrlArrowsFloatTheBlockAndEnterLaysItDownOnce()
    {
        m_block->select({0, 0}, {2, 1});
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ControlModifier);
        QVERIFY(m_block->isFloating());
        QCOMPARE(m_block->floatingRect(), (grid::BlockRect{0, 1, 2, 2}));
        // Floating changes nothing in the canvas, the document or the history.
        QCOMPARE(m_w->controller().text(), kPicture);
        QCOMPARE(m_w->toPlainText(), QString::fromStdU16String(kPicture).replace("\r\n", "\n"));
        QVERIFY(!m_w->controller().canUndo());
        QVERIFY(!m_w->controller().modified());
        // Off the canvas's right edge it stops.
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ControlModifier);
        }
        QCOMPARE(m_block->floatingRect(), (grid::BlockRect{0, 6, 2, 2}));
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(m_w.get(), Qt::Key_Left, Qt::ControlModifier);
        }
        QTest::keyClick(m_w.get(), Qt::Key_Return);
        QVERIFY(!m_block->isFloating());
        QCOMPARE(m_w->controller().text(), std::u16string(u"  cdefgh\r\n　いうえ\r\n12345678")
                                               .replace(0, 8, u" abdefgh")
                                               .replace(10, 4, u" あ うえ"));
        QVERIFY(m_w->controller().modified());
        m_w->controller().undo();
        QCOMPARE(m_w->controller().text(), kPicture);
        QVERIFY(!m_w->controller().canUndo());
    }

    void escapePutsItBackThenLeavesTheMode()
    {
        m_block->select({0, 0}, {2, 1});
        QTest::keyClick(m_w.get(), Qt::Key_Down, Qt::ControlModifier);
        QVERIFY(m_block->isFloating());
        QTest::keyClick(m_w.get(), Qt::Key_Escape);
        QVERIFY(!m_block->isFloating());
        QVERIFY(m_block->isActive());
        QCOMPARE(m_w->controller().text(), kPicture);
        QVERIFY(!m_w->controller().canUndo());
        QVERIFY(!m_w->controller().modified());
        // The pointer says which mode the canvas is in.
        QCOMPARE(m_w->viewport()->cursor().shape(), Qt::CrossCursor);
        QTest::keyClick(m_w.get(), Qt::Key_Escape);
        QVERIFY(!m_block->isActive());
        QVERIFY(!action("mnuBlock")->isChecked());
        QCOMPARE(m_w->viewport()->cursor().shape(), Qt::IBeamCursor);
        // Out of the mode, Ctrl+arrows and Shift+arrows are the canvas's own again.
        QTest::keyClick(m_w.get(), Qt::Key_Right, Qt::ControlModifier);
        QVERIFY(!m_block->isFloating());
    }

    void transparentLaysOnlyCharactersAndIsRemembered()
    {
        m_w->controller().resetCanvas(u"a b \r\nxxxx", 2, 2);
        action("mnuBlockTransparent")->trigger();
        QVERIFY(m_block->isTransparent());
        m_block->select({0, 0}, {4, 0});
        QTest::keyClick(m_w.get(), Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(m_w.get(), Qt::Key_Return);
        QCOMPARE(m_w->controller().text(), std::u16string(u"    \r\naxbx"));
        QCOMPARE(platform::openProgramSettings()->value("Block/Transparent").toBool(), true);
        BlockEditing again(*m_w, nullptr);
        QVERIFY(again.isTransparent());
    }

    void mouseSelectsDragsAndAClickOutsideLaysDown()
    {
        QWidget* view = m_w->viewport();
        const auto at = [&](int line, int unit) {
            const QRect row = m_w->textRect(line, 0, 1);
            return QPoint(m_w->unitX(line, unit) + 1, row.center().y()) +
                   m_w->cursorRect(QTextCursor(m_w->document())).topLeft();
        };
        mouse(view, QEvent::MouseButtonPress, at(0, 0));
        mouse(view, QEvent::MouseMove, at(1, 2));
        mouse(view, QEvent::MouseButtonRelease, at(1, 2));
        QCOMPARE(m_block->selection(), (grid::BlockRect{0, 0, 2, 2}));
        // Dragging the rectangle lifts it and moves it one line down.
        mouse(view, QEvent::MouseButtonPress, at(0, 0));
        mouse(view, QEvent::MouseMove, at(1, 0));
        mouse(view, QEvent::MouseButtonRelease, at(1, 0));
        QVERIFY(m_block->isFloating());
        QCOMPARE(m_block->floatingRect(), (grid::BlockRect{1, 0, 2, 2}));
        QCOMPARE(m_w->controller().text(), kPicture);
        mouse(view, QEvent::MouseButtonPress, at(0, 6));
        mouse(view, QEvent::MouseButtonRelease, at(0, 6));
        QVERIFY(!m_block->isFloating());
        QCOMPARE(m_w->controller().text(), std::u16string(u"  cdefgh\r\nabいうえ\r\nあ345678"));
    }

    void anotherWriterFindsTheBlockLaidDown()
    {
        // A part from the parts library is laid over the canvas as a paste while the block
        // floats: the move stays, and the part lands where the block was laid.
        m_block->select({0, 0}, {2, 1});
        QTest::keyClick(m_w.get(), Qt::Key_Down, Qt::ControlModifier);
        QVERIFY(m_block->isFloating());
        m_w->controller().pasteText(u"x");
        QVERIFY(!m_block->isFloating());
        QCOMPARE(m_w->controller().text(), std::u16string(u"  cdefgh\r\nxbいうえ\r\nあ345678"));
        // Two steps: the part, then the move.
        m_w->controller().undo();
        QCOMPARE(m_w->controller().text(), std::u16string(u"  cdefgh\r\nabいうえ\r\nあ345678"));
        m_w->controller().undo();
        QCOMPARE(m_w->controller().text(), kPicture);
    }

private:
    QAction* action(const char* name)
    {
        return m_menu->findChild<QAction*>(QLatin1String(name));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CanvasWidget> m_w;
    std::unique_ptr<QMenuBar> m_bar;
    QMenu* m_menu = nullptr;
    std::unique_ptr<BlockEditing> m_block;
};

QTEST_MAIN(TestBlockEditing)
#include "test_block_editing.moc"
