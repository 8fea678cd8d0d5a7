// The posting check: the whole largest canvas checked against splitting it into line records
// with their widths; and one typed character with the check window open (following the canvas
// and marking cells) against the same keystroke without it.

#include <QApplication>

#include <vector>

#include "Canvas.h"
#include "Keys.h"
#include "Offscreen.h"
#include "Timing.h"
#include "check/BoardCheck.h"
#include "check/frmCheck.h"
#include "editor/CanvasWidget.h"
#include "check/CheckTool.h"
#include "editor/EditorHost.h"
#include "grid/LineModel.h"

using namespace masumemo;

namespace {

/// The largest canvas with a run of half-width spaces and a leading one on every tenth line,
/// so the check has problems to find and marks to paint.
std::u16string canvasWithProblems()
{
    std::vector<std::u16string> lines = grid::SplitText(bench::largestCanvas());
    for (size_t i = 0; i < lines.size(); i += 10) {
        lines[i].replace(0, 4, u"  a ");
    }
    return grid::joinLines(lines);
}

}  // namespace

int main(int argc, char** argv)
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    const std::u16string text = canvasWithProblems();

    volatile long sink = 0;
    const auto [checked, split] = bench::bestOfAlternating(
        [&] { sink = sink + static_cast<long>(check::BoardCheck(text).problems.size()); },
        [&] { sink = sink + bench::splitAndMeasure(text); });
    bool ok = bench::report("whole check, 40 x 800 vs SplitCanvas + WidthOf", checked, split, 2.0);

    editor::CanvasWidget watched;
    editor::CanvasWidget plain;
    for (editor::CanvasWidget* canvas : {&watched, &plain}) {
        canvas->resize(800, 600);
        canvas->setFocusPolicy(Qt::NoFocus);  // no caret blinking on one side only
        canvas->controller().resetCanvas(text, bench::kKeta, bench::kGyou);
        canvas->show();
    }
    QWidget owner;
    auto* link = new check::CanvasLink(editor::EditorHost::of(watched, owner));
    auto* window = new check::frmCheck(&owner, *link);
    window->show();
    QCoreApplication::processEvents();

    // Each call types at the start of one of 20 lines in view (some with problems), then lets
    // the windows paint. The two sides take turns call by call and each keeps its median.
    constexpr int kLines = 20;
    const auto [withWindow, withoutWindow] = bench::medianOfTurns(
        bench::typistAtLineStarts(watched, 0, kLines), bench::typistAtLineStarts(plain, 0, kLines));
    ok = bench::report("typed character + paint: check window open vs not", withWindow,
                       withoutWindow, 1.2) &&
         ok;
    return ok ? 0 : 1;
}
