// Layers painted under txtMain's text: where they land, that they scroll with the text and stay
// under it, and that a layer taking the mouse and arrow keys leaves the text and caret alone.

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

#include "editor/CanvasWidget.h"
#include "grid/LineModel.h"

using masumemo::editor::CanvasWidget;
namespace grid = masumemo::grid;

namespace {

const QColor kRed(255, 0, 0);

/// A red rectangle in canvas pixels; records what reaches it while it takes the input.
class RectLayer : public masumemo::host::CanvasLayer
{
public:
    QRect rect;
    bool capturing = false;
    QStringList seen;

    void paint(QPainter& painter, const QRect&) override { painter.fillRect(rect, kRed); }
    bool capturesInput() const override { return capturing; }
    void pointerPressed(QPoint p) override { seen << QStringLiteral("press %1,%2").arg(p.x()).arg(p.y()); }
    void pointerMoved(QPoint p) override { seen << QStringLiteral("move %1,%2").arg(p.x()).arg(p.y()); }
    void pointerReleased(QPoint) override { seen << QStringLiteral("release"); }
    bool keyPressed(int key, Qt::KeyboardModifiers) override
    {
        seen << QStringLiteral("key %1").arg(key, 0, 16);
        return key == Qt::Key_Left;
    }
};

void mouse(QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent e(type, at, to->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  held, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &e);
}

/// The first row of column x (viewport pixels) that is red, or -1.
int firstRedRow(const QImage& shot, int x)
{
    for (int y = 0; y < shot.height(); ++y) {
        if (shot.pixelColor(x, y) == kRed) {
            return y;
        }
    }
    return -1;
}

}  // namespace

class TestCanvasLayers : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_w = std::make_unique<CanvasWidget>();
        m_w->resize(400, 300);
        m_w->controller().resetCanvas(grid::blankCanvas(35, 40), 35, 40);
        m_w->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_w.get()));
    }
    void cleanup()
    {
        m_w->removeLayer(&m_layer);
        m_w.reset();
    }

    void aLayerIsPaintedUnderTheTextAndScrollsWithIt()
    {
        CanvasWidget& w = *m_w;
        QTest::keyClicks(&w, "WW");
        const QRect firstCells = w.textRect(0, 0, 2);
        QCOMPARE(firstCells.topLeft(), QPoint(0, 0));
        QVERIFY(firstCells.width() > 4 && firstCells.height() > 4);
        QVERIFY(w.textRect(400, 0, 1).isEmpty());

        m_layer.rect = QRect(0, 0, 3 * firstCells.width(), 3 * firstCells.height());
        w.addLayer(&m_layer);
        w.addLayer(&m_layer);  // once only
        w.setTextCursor(QTextCursor(w.document()->findBlockByNumber(5)));  // caret off the rect
        QImage shot = w.viewport()->grab().toImage();
        const QPoint origin = w.cursorRect(QTextCursor(w.document())).topLeft();
        const int x = origin.x() + 2 * firstCells.width() + 2;  // right of the typed letters
        const int top = firstRedRow(shot, x);
        QVERIFY(std::abs(top - origin.y()) <= 1);
        QCOMPARE(shot.pixelColor(x, top + m_layer.rect.height() + 2), w.background());

        // The letters are drawn over the layer: their cells hold red and text-coloured pixels.
        int dark = 0;
        int red = 0;
        for (int y = top; y < top + firstCells.height(); ++y) {
            for (int xx = origin.x(); xx < origin.x() + firstCells.width(); ++xx) {
                const QColor c = shot.pixelColor(xx, y);
                dark += c.lightness() < 100 ? 1 : 0;
                red += c == kRed ? 1 : 0;
            }
        }
        QVERIFY(dark > 0);
        QVERIFY(red > 0);

        w.verticalScrollBar()->setValue(1);
        shot = w.viewport()->grab().toImage();
        QCOMPARE(firstRedRow(shot, x), 0);  // the layer's top is above the view now
        const int lineHeight = firstCells.height();
        int last = -1;
        for (int y = 0; y < shot.height(); ++y) {
            last = shot.pixelColor(x, y) == kRed ? y : last;
        }
        // The layer keeps its place against the text: its bottom stays two lines below line 2.
        const int line2 = w.cursorRect(QTextCursor(w.document()->findBlockByNumber(1))).top();
        QVERIFY(std::abs(last + 1 - (line2 + m_layer.rect.height() - lineHeight)) <= 1);

        w.removeLayer(&m_layer);
        shot = w.viewport()->grab().toImage();
        QCOMPARE(firstRedRow(shot, x), -1);
    }

    void aCapturingLayerTakesDragsAndArrowsInsteadOfTheText()
    {
        CanvasWidget& w = *m_w;
        w.addLayer(&m_layer);
        const std::u16string before = w.controller().text();
        const QPoint origin = w.cursorRect(QTextCursor(w.document())).topLeft();
        for (const bool capturing : {true, false}) {
            m_layer.capturing = capturing;
            m_layer.seen.clear();
            w.setSelection(0, 0);
            mouse(w.viewport(), QEvent::MouseButtonPress, origin + QPoint(30, 30), Qt::LeftButton);
            mouse(w.viewport(), QEvent::MouseMove, origin + QPoint(80, 60), Qt::LeftButton);
            mouse(w.viewport(), QEvent::MouseButtonRelease, origin + QPoint(80, 60), Qt::NoButton);
            QTest::keyClick(&w, Qt::Key_Left);
            if (capturing) {
                QCOMPARE(m_layer.seen, QStringList({QStringLiteral("press 30,30"),
                                                    QStringLiteral("move 80,60"),
                                                    QStringLiteral("release"),
                                                    QStringLiteral("key 1000012")}));
                QCOMPARE(w.selectionStart(), 0);
                QCOMPARE(w.selectionLength(), 0);
            } else {
                QVERIFY(m_layer.seen.isEmpty());
                QVERIFY(w.selectionStart() > 0);  // the drag placed the caret, Left moved it
            }
            QVERIFY(w.controller().text() == before);
        }
    }

private:
    std::unique_ptr<CanvasWidget> m_w;
    RectLayer m_layer;
};

QTEST_MAIN(TestCanvasLayers)
#include "test_canvas_layers.moc"
