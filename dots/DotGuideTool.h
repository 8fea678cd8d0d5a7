#pragma once
// A guide for lining up to the dot, in pictures drawn for the proportional board font: the caret's
// dot position remembered and drawn as a thin vertical line over the canvas (never part of the
// text), and the commands that recompose blank runs so characters start or end on it. Joins the
// editor through the tool host; the rules are board/DotMoves.

#include <QObject>

#include <functional>
#include <optional>
#include <string>

#include "board/DotMoves.h"
#include "host/CanvasLayer.h"
#include "host/ToolHost.h"

class QAction;

namespace masumemo::dots {

class DotGuideTool : public QObject, public host::CanvasLayer
{
    Q_OBJECT
public:
    /// Adds "基準の位置にする(&R)" (F8), "基準にそろえる(&J)" (F9) and "右端をそろえる(&E)"
    /// (Shift+F9) to the Edit menu, enabled while the canvas font is the proportional one.
    DotGuideTool(host::ToolHost& host, QObject* parent);
    ~DotGuideTool() override;

    /// The guide in dots from the line start, if one is set.
    std::optional<int> guide() const { return m_guide; }
    /// "　基準 200" for the dots panel; empty without a guide.
    QString guideText() const;

    void setGuideAtCaret();
    void alignToGuide();
    void alignRightEdges();

    // host::CanvasLayer
    void paint(QPainter& painter, const QRect& exposed) override;
    void canvasClosed() override { m_closed = true; }

    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void guideChanged();

private:
    bool offered() const;
    void updateActions();
    /// One undo step: align makes the new text from the text and selection as they stand once
    /// the change is announced; the selection follows what it says, and skipped lines are told.
    void rewrite(const std::function<board::DotOutcome(const std::u16string& text,
                                                       host::ToolCanvas::Selection)>& align);

    host::ToolHost& m_host;
    std::optional<int> m_guide;
    QAction* m_set = nullptr;
    QAction* m_align = nullptr;
    QAction* m_right = nullptr;
    bool m_closed = false;
};

}  // namespace masumemo::dots
