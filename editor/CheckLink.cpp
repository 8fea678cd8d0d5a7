#include "CheckLink.h"

#include <algorithm>

#include "check/frmCheck.h"
#include "editor/CanvasWidget.h"
#include "editor/frmMain.h"
#include "platform/Fonts.h"

namespace masumemo::editor {

CanvasCheckLink::CanvasCheckLink(CanvasWidget& canvas) : QObject(&canvas), m_canvas(canvas) {}

std::u16string_view CanvasCheckLink::canvasText() const
{
    return m_canvas.controller().text();
}

bool CanvasCheckLink::proportionalFont() const
{
    return m_canvas.font().family() == platform::kPGothic;
}

void CanvasCheckLink::selectInCanvas(int start, int length)
{
    const int size = static_cast<int>(m_canvas.controller().text().size());
    const int from = std::clamp(start, 0, size);
    m_canvas.setSelection(from, std::clamp(length, 0, size - from));
    m_canvas.controller().caretMoved();
    m_canvas.activateWindow();
    m_canvas.setFocus(Qt::OtherFocusReason);
}

void CanvasCheckLink::applyAsOneStep(std::u16string text)
{
    m_canvas.controller().applyText(std::move(text));
}

host::CanvasLayers& CanvasCheckLink::layers()
{
    return m_canvas;
}

QWidget* CanvasCheckLink::canvasWidget() const
{
    return &m_canvas;
}

void CanvasCheckLink::followChanges(QObject* context, std::function<void(int, int, int)> changed)
{
    connect(&m_canvas, &CanvasWidget::linesReplaced, context, std::move(changed));
}

void showBoardCheck(frmMain& window)
{
    CanvasWidget* canvas = window.txtMain();
    auto* link = canvas->findChild<CanvasCheckLink*>(QString(), Qt::FindDirectChildrenOnly);
    if (link == nullptr) {
        link = new CanvasCheckLink(*canvas);
    }
    check::frmCheck::showFor(&window, *link);
}

}  // namespace masumemo::editor
