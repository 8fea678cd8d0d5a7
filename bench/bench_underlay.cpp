// One typed character on the largest canvas (40 x 800) with a 2000 x 2000 photo shown under it
// at half opacity, against the same keystroke on the same canvas without an underlay. Both
// sides paint what the keystroke changed before the next one.

#include <QApplication>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>

#include "Canvas.h"
#include "Keys.h"
#include "Offscreen.h"
#include "Timing.h"
#include "editor/CanvasWidget.h"
#include "underlay/UnderlayLayer.h"

using namespace masumemo;

namespace {

/// Something like a photo: smooth gradients, a few shapes and noise, no flat areas to favour.
QImage photo(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, side, side);
    sky.setColorAt(0, QColor(40, 90, 160));
    sky.setColorAt(1, QColor(220, 180, 120));
    p.fillRect(image.rect(), sky);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 40; ++i) {
        p.setBrush(QColor::fromHsv(i * 9 % 360, 120, 200, 160));
        p.drawEllipse(QPoint(i * 97 % side, i * 53 % side), 60 + i * 5, 40 + i * 3);
    }
    p.end();
    auto* rng = QRandomGenerator::global();
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const int n = static_cast<int>(rng->bounded(16)) - 8;
            line[x] = qRgb(std::clamp(qRed(line[x]) + n, 0, 255), std::clamp(qGreen(line[x]) + n, 0, 255),
                           std::clamp(qBlue(line[x]) + n, 0, 255));
        }
    }
    return image;
}

/// Counts the paints of a canvas's viewport.
struct PaintCount : QObject
{
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        paints += e->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    const std::u16string text = bench::largestCanvas();

    underlay::UnderlayLayer underlay;
    underlay.setPicture(photo(2000), {2000, 2000});
    underlay.setPlacement({50, 100, 0, 0});

    editor::CanvasWidget traced;
    editor::CanvasWidget plain;
    for (editor::CanvasWidget* canvas : {&traced, &plain}) {
        canvas->resize(800, 600);
        // Neither takes the focus: the focused one alone would blink its caret and keep the
        // input method informed, which has nothing to do with the underlay.
        canvas->setFocusPolicy(Qt::NoFocus);
        canvas->controller().resetCanvas(text, bench::kKeta, bench::kGyou);
        canvas->show();
    }
    traced.addLayer(&underlay);
    QCoreApplication::processEvents();

    PaintCount tracedPaints;
    PaintCount plainPaints;
    traced.viewport()->installEventFilter(&tracedPaints);
    plain.viewport()->installEventFilter(&plainPaints);
    // Each call types at the start of one of 20 lines in view, then lets the window paint.
    // Paints are short: the two sides take turns call by call.
    constexpr int kLines = 20;
    const auto [withPhoto, without] = bench::medianOfTurns(
        bench::typistAtLineStarts(traced, 0, kLines), bench::typistAtLineStarts(plain, 0, kLines));
    const bool ok = bench::report("typed character + paint: 2000 x 2000 underlay vs none",
                                  withPhoto, without, 1.5);
    traced.removeLayer(&underlay);
    // A side that never painted measured nothing of what this is about.
    if (tracedPaints.paints == 0 || plainPaints.paints == 0) {
        std::printf("no paint reached one of the canvases\n");
        return 1;
    }
    return ok ? 0 : 1;
}
