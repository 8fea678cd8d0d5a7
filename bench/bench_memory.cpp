// Resident memory of the editor window holding the largest canvas (40 x 800) with a full undo
// history (31 snapshots) against the same window with a fresh history, in one process.

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "Canvas.h"
#include "Memory.h"
#include "Offscreen.h"
#include "Timing.h"
#include "editor/CanvasController.h"
#include "editor/frmMain.h"
#include "grid/LineModel.h"
#include "document/History.h"
#include "platform/AppPaths.h"

using namespace masumemo;
using bench::kGyou;
using bench::kKeta;

namespace {

/// A full canvas whose lines differ from one variant to the next, so no two snapshots match.
std::u16string canvasVariant(int variant)
{
    std::vector<std::u16string> lines;
    for (int i = 0; i < kGyou; ++i) {
        std::u16string line;
        for (int c = 0; c < kKeta; ++c) {
            line += ((i + c + variant) % 4 == 0) ? std::u16string(u"ab")
                                                 : std::u16string(1, u'\u3042');
        }
        lines.push_back(std::move(line));
    }
    return grid::joinLines(lines);
}

}  // namespace

int main(int argc, char** argv)
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    // The window reads its settings file when created; keep it off the build folder.
    QTemporaryDir programDir;
    platform::AppPaths::setProgramDirectoryForTesting(programDir.path());

    editor::frmMain window;
    window.show();
    editor::CanvasController& canvas = window.canvas();
    canvas.resetCanvas(canvasVariant(0), kKeta, kGyou);
    QCoreApplication::processEvents();
    const long fresh = bench::residentKb();

    const int snapshots = document::History::kMaxUpperBound + 1;
    for (int i = 1; i < snapshots; ++i) {
        canvas.replaceCanvas(canvasVariant(i), kKeta, kGyou);
        canvas.RirekiKakunou();
        QCoreApplication::processEvents();
    }
    const long full = bench::residentKb();
    const auto held = canvas.history().entries().size();
    if (fresh == 0 || held != static_cast<size_t>(snapshots)) {
        std::fprintf(stderr, "could not measure: VmRSS %ld kB, %zu snapshots held\n", fresh,
                     held);
        return 1;
    }
    std::printf("%-52s %9ld kB -> %ld kB\n", "resident memory, fresh history -> 31 snapshots",
                fresh, full);
    const bool ok = bench::reportValue("full history on 40 x 800: resident memory added",
                                       static_cast<double>(full - fresh) / 1024.0, "MB", 8.0);
    return ok ? 0 : 1;
}
