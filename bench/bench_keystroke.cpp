// One keystroke on the largest canvas (40 x 800) through txtMain, against the same keystroke in
// a bare QPlainTextEdit holding the same text; and a whole-canvas push (Alt+Down, answered by
// Shift+Alt+Up so the canvas keeps changing) against assigning the whole text once.

#include <QApplication>
#include <QPlainTextEdit>

#include "Canvas.h"
#include "Keys.h"
#include "Timing.h"
#include "editor/CanvasWidget.h"
#include "grid/LineModel.h"

using namespace masumemo;
using bench::kGyou;
using bench::kKeta;
using bench::placeCaretAtLine;
using bench::sendKey;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const std::u16string text = bench::largestCanvas();
    const QString documentText = QString::fromStdU16String(grid::lineEndsAs(text, u"\n"));

    editor::CanvasWidget canvas;
    canvas.resize(800, 600);
    canvas.controller().resetCanvas(text, kKeta, kGyou);
    canvas.show();

    QPlainTextEdit bare;
    bare.resize(800, 600);
    bare.setUndoRedoEnabled(false);
    bare.setLineWrapMode(QPlainTextEdit::NoWrap);
    bare.setPlainText(documentText);
    bare.show();
    QCoreApplication::processEvents();

    // Each call types at the start of one of 20 lines on screen (line 400 on), alternating
    // characters so that every keystroke changes the canvas; the bare edit gets the same caret
    // move and key. Staying on screen keeps scrolling out of both measures.
    constexpr int kFirst = 400;
    constexpr int kLines = 20;
    for (QPlainTextEdit* edit : {static_cast<QPlainTextEdit*>(&canvas), &bare}) {
        placeCaretAtLine(*edit, kFirst + kLines);
        placeCaretAtLine(*edit, kFirst);
    }
    long typed = 0;
    const auto typeOnCanvas = [&] {
        const int line = kFirst + static_cast<int>(typed % kLines);
        const bool odd = (typed / kLines) % 2 != 0;
        ++typed;
        placeCaretAtLine(canvas, line);
        sendKey(&canvas, odd ? Qt::Key_Y : Qt::Key_X, Qt::NoModifier,
                odd ? QStringLiteral("y") : QStringLiteral("x"));
    };
    long inserted = 0;
    const auto typeInBareEdit = [&] {
        placeCaretAtLine(bare, kFirst + static_cast<int>(inserted++ % kLines));
        sendKey(&bare, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    };
    const auto [keystroke, insertion] = bench::bestOfAlternating(typeOnCanvas, typeInBareEdit);

    canvas.controller().resetCanvas(text, kKeta, kGyou);
    placeCaretAtLine(canvas, 0);
    const QString other = QString(documentText).replace(QChar(u'a'), QChar(u'c'));
    const auto [pushes, assignments] = bench::bestOfAlternating(
        [&] {
            sendKey(&canvas, Qt::Key_Down, Qt::AltModifier, QString());
            sendKey(&canvas, Qt::Key_Up, Qt::AltModifier | Qt::ShiftModifier, QString());
        },
        [&] {
            bare.setPlainText(documentText);
            bare.setPlainText(other);
        });

    bool ok = bench::report("typed character on 40 x 800: txtMain vs bare edit", keystroke,
                            insertion, 2.0);
    ok = bench::report("Alt+Down on 40 x 800 vs one text assignment", pushes / 2,
                       assignments / 2, 2.0) &&
         ok;
    return ok ? 0 : 1;
}
