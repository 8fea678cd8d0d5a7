// One keystroke on the largest canvas (40 x 800) through the editor window (txtMain with its
// status panels and toolbar), against the same keystroke overwriting one character in place in
// a bare QPlainTextEdit holding the same text, each followed by the paint it causes; and a
// whole-canvas push in the same window (Alt+Down, answered by Shift+Alt+Up so the canvas keeps
// changing) against assigning the whole text once; and one move of a floating 20 x 10 block in
// the editor window against the typed character there (a move changes no text, so it should
// cost no more); and one dot step (Alt+Right, answered by Shift+Alt+Left) on a canvas of the
// same size whose lines have blank runs, in the proportional font, against a typed character in
// that font; and there a one-dot move of a floating 20-line block against the same character;
// and whole runs of typed characters with recovery snapshots on against off, long enough that
// each run with them takes several.

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>

#include "Canvas.h"
#include "Keys.h"
#include "Offscreen.h"
#include "Timing.h"
#include "editor/BlockEditing.h"
#include "editor/CanvasController.h"
#include "editor/CanvasWidget.h"
#include "editor/DotRectangle.h"
#include "editor/frmMain.h"
#include "grid/LineModel.h"
#include "platform/AppPaths.h"
#include "platform/Fonts.h"
#include "recovery/RecoveryTool.h"

using namespace masumemo;
using bench::kGyou;
using bench::kKeta;
using bench::placeCaretAtLine;
using bench::sendKey;

int main(int argc, char** argv)
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    // The window reads and writes its settings file; keep it away from the build's folder.
    const QTemporaryDir settings;
    platform::AppPaths::setProgramDirectoryForTesting(settings.path());
    const std::u16string text = bench::largestCanvas();
    const QString documentText = QString::fromStdU16String(grid::lineEndsAs(text, u"\n"));

    editor::frmMain window;
    window.canvas().resetCanvas(text, kKeta, kGyou);
    window.show();
    editor::CanvasWidget& txtMain = *window.txtMain();

    QPlainTextEdit bare;
    bare.resize(txtMain.size());
    bare.setUndoRedoEnabled(false);
    bare.setLineWrapMode(QPlainTextEdit::NoWrap);
    // Typing replaces the character after the caret, so every line keeps its length.
    bare.setOverwriteMode(true);
    bare.setFont(txtMain.font());
    bare.setPlainText(documentText);
    bare.show();
    QCoreApplication::processEvents();

    // Each call types at the start of one of 20 lines on screen (line 400 on), alternating
    // characters so that every keystroke changes the text, and then lets the event loop paint;
    // the bare edit gets the same caret move and key. Staying on screen keeps scrolling out of
    // both measures.
    constexpr int kFirst = 400;
    constexpr int kLines = 20;
    for (QPlainTextEdit* edit : {static_cast<QPlainTextEdit*>(&txtMain), &bare}) {
        placeCaretAtLine(*edit, kFirst + kLines);
        placeCaretAtLine(*edit, kFirst);
        QCoreApplication::processEvents();
    }
    const std::function<void()> typeInWindow = bench::typistAtLineStarts(txtMain, kFirst, kLines);
    const std::function<void()> typeInBareEdit = bench::typistAtLineStarts(bare, kFirst, kLines);
    const auto [keystroke, overwrite] = bench::bestOfAlternating(typeInWindow, typeInBareEdit);
    bare.setOverwriteMode(false);

    // Means over whole runs, not medians: the few keystrokes that take a snapshot must count.
    // A schedule of 20 ms quiet and 100 ms at most makes a run of 300 characters take several.
    const QTemporaryDir state;
    const auto typingRun = [&] {
        constexpr int kTyped = 300;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kTyped; ++i) {
            typeInWindow();
        }
        return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
                   .count() /
               kTyped;
    };
    double withSnapshots = 1e300;
    double withoutSnapshots = 1e300;
    bool snapshotsWritten = true;
    for (int round = 0; round < 5; ++round) {
        {
            recovery::RecoveryTool snapshots(
                window.toolHost(),
                {state.path(), {std::chrono::milliseconds(20), std::chrono::milliseconds(100)}});
            withSnapshots = std::min(withSnapshots, typingRun());
            snapshots.store()->waitForIdle();
            snapshotsWritten = snapshotsWritten && QFile::exists(snapshots.store()->snapshotPath());
        }
        withoutSnapshots = std::min(withoutSnapshots, typingRun());
    }

    // The block is lifted by the first move and then goes right and left by turns, each move
    // followed by its paint, on the lines the typing used.
    auto* blocks = window.findChild<editor::BlockEditing*>();
    blocks->setActive(true);
    blocks->select(QPoint(10, kFirst), QPoint(30, kFirst + 9));
    const grid::BlockRect rect = blocks->selection();
    long moves = 0;
    const double blockMove = bench::medianNanos([&] {
        sendKey(&txtMain, moves++ % 2 ? Qt::Key_Left : Qt::Key_Right, Qt::ControlModifier,
                QString());
        QCoreApplication::processEvents();
    });
    const bool floated = blocks->isFloating() && rect.width == 20 && rect.lines == 10;
    blocks->cancel();
    blocks->setActive(false);

    // The push runs in the editor window too, so both sides lay out the same lines in view.
    window.canvas().resetCanvas(text, kKeta, kGyou);
    placeCaretAtLine(txtMain, 0);
    const QString other = QString(documentText).replace(QChar(u'a'), QChar(u'c'));
    const auto [pushes, assignments] = bench::bestOfAlternating(
        [&] {
            sendKey(&txtMain, Qt::Key_Down, Qt::AltModifier, QString());
            sendKey(&txtMain, Qt::Key_Up, Qt::AltModifier | Qt::ShiftModifier, QString());
        },
        [&] {
            bare.setPlainText(documentText);
            bare.setPlainText(other);
        });

    // The dot step recomposes the blank run at the caret and the line's end: lines of "ab", "あ"
    // and a full-width space by turns, with room at their end, in the proportional font.
    std::u16string dotLine;
    for (int i = 0; i < kKeta; ++i) {
        dotLine += i >= kKeta - 2 || i % 3 == 2 ? std::u16string(u"\u3000")
                   : i % 3 == 0                 ? std::u16string(u"ab")
                                                : std::u16string(u"\u3042");
    }
    window.canvas().resetCanvas(grid::joinLines(std::vector<std::u16string>(kGyou, dotLine)),
                                kKeta, kGyou);
    QFont proportional = txtMain.font();
    proportional.setFamily(platform::kPGothic);
    txtMain.setFont(proportional);
    window.canvas().setPushStep(editor::PushStep::Dot);
    // The baseline types in the same font: drawing proportional text costs more in itself.
    placeCaretAtLine(txtMain, kFirst + kLines);
    placeCaretAtLine(txtMain, kFirst);
    QCoreApplication::processEvents();
    const double typedProportional = bench::medianNanos(typeInWindow);
    placeCaretAtLine(txtMain, kFirst);
    txtMain.setSelection(txtMain.selectionStart() + 2, 0);  // after "ab", before "あ"
    QCoreApplication::processEvents();
    const std::u16string beforeDots = window.canvas().text();
    sendKey(&txtMain, Qt::Key_Right, Qt::AltModifier, QString());
    const bool dotsMoved = window.canvas().text() != beforeDots;
    long dotSteps = 1;
    const double dotStep = bench::medianNanos([&] {
        const bool right = dotSteps++ % 2 == 0;  // the first step above went right
        sendKey(&txtMain, right ? Qt::Key_Right : Qt::Key_Left,
                right ? Qt::AltModifier : Qt::AltModifier | Qt::ShiftModifier, QString());
        QCoreApplication::processEvents();
    });

    // A 20-line block of that canvas afloat in dots, moved one dot right and left by turns, each
    // move followed by its paint: every move lays the block down in the model to know how the
    // lines would come out, so it must still cost no more than the typed character.
    window.canvas().resetCanvas(grid::joinLines(std::vector<std::u16string>(kGyou, dotLine)),
                                kKeta, kGyou);
    blocks->setActive(true);
    blocks->dots().select({kFirst, 40}, {kFirst + kLines - 1, 220});
    long dotMoves = 0;
    const double dotBlockMove = bench::medianNanos([&] {
        sendKey(&txtMain, dotMoves++ % 2 ? Qt::Key_Left : Qt::Key_Right, Qt::ControlModifier,
                QString());
        QCoreApplication::processEvents();
    });
    const bool dotsFloated = blocks->dots().isFloating() &&
                             blocks->dots().rect().lines == kLines && blocks->inDots();
    blocks->cancel();
    blocks->setActive(false);

    bool ok = bench::report("typed character on 40 x 800: editor window vs bare edit", keystroke,
                            overwrite, 2.0);
    if (!snapshotsWritten) {
        std::printf("no snapshot was written while typing\n");
    }
    ok = bench::report("typed character on 40 x 800, 300 in a run: snapshots on vs off",
                       withSnapshots, withoutSnapshots, 1.1) &&
         snapshotsWritten && ok;
    ok = bench::report("Alt+Down on 40 x 800 vs one text assignment", pushes / 2, assignments / 2,
                       2.0) &&
         ok;
    if (!floated) {
        std::printf("the block did not float as 20 x 10\n");
    }
    ok = bench::report("floating 20 x 10 block: one move vs typed character", blockMove,
                       keystroke, 1.0) &&
         floated && ok;
    if (!dotsMoved) {
        std::printf("the dot step changed nothing\n");
    }
    ok = bench::report("one dot step on 40 x 800 vs typed character, proportional font", dotStep,
                       typedProportional, 1.5) &&
         dotsMoved && ok;
    if (!dotsFloated) {
        std::printf("the block did not float in dots as 20 lines\n");
    }
    ok = bench::report("floating 20-line block in dots: one-dot move vs typed character, "
                       "proportional font",
                       dotBlockMove, typedProportional, 1.0) &&
         dotsFloated && ok;
    return ok ? 0 : 1;
}
