#pragma once
// The editor's side of the posting check: its canvas as the check sees it.

#include <QObject>

#include "check/CheckedCanvas.h"

namespace masumemo::editor {

class CanvasWidget;
class frmMain;

/// Lives as a child of the canvas widget, so it goes when the canvas goes.
class CanvasCheckLink final : public QObject, public check::CheckedCanvas
{
    Q_OBJECT
public:
    explicit CanvasCheckLink(CanvasWidget& canvas);

    std::u16string_view canvasText() const override;
    void selectInCanvas(int start, int length) override;
    void applyAsOneStep(std::u16string text) override;
    bool proportionalFont() const override;
    host::CanvasLayers& layers() override;
    QWidget* canvasWidget() const override;
    void followChanges(QObject* context,
                       std::function<void(int first, int removed, int added)> changed) override;

private:
    CanvasWidget& m_canvas;
};

/// Shows the posting check of the window's canvas beside it.
void showBoardCheck(frmMain& window);

}  // namespace masumemo::editor
