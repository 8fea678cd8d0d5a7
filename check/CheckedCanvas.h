#pragma once
// What the posting check needs of the canvas. CanvasLink (CheckTool.h) implements it over the
// tool host; the check never includes the editor.

#include <functional>
#include <string>
#include <string_view>

class QObject;
class QWidget;

namespace masumemo::host {
class CanvasLayers;
}

namespace masumemo::check {

class CheckedCanvas
{
public:
    virtual ~CheckedCanvas() = default;

    /// The canvas text: its lines joined by CR LF.
    virtual std::u16string_view canvasText() const = 0;
    /// Selects length characters from offset start (a line break counting two characters) and
    /// gives the canvas the focus.
    virtual void selectInCanvas(int start, int length) = 0;
    /// What build makes (the same size) becomes the canvas as one undo step: Modified is set,
    /// the snapshot taken and the position display refreshed. build runs once the change has
    /// been announced, so canvasText() then is the text it must build on.
    virtual void applyAsOneStep(const std::function<std::u16string()>& build) = 0;
    /// The canvas is shown in the proportional font: its pictures are fixed in that font's dots.
    virtual bool proportionalFont() const = 0;
    /// The layers painted under the canvas text.
    virtual host::CanvasLayers& layers() = 0;
    /// The widget that shows the canvas; this interface lives exactly as long as it.
    virtual QWidget* canvasWidget() const = 0;
    /// Calls changed(first, removed, added) after each write to the canvas, as long as context
    /// lives: lines [first, first + removed) (from 0) became added lines; removed < 0 means the
    /// whole canvas.
    virtual void followChanges(QObject* context,
                               std::function<void(int first, int removed, int added)> changed) = 0;
};

}  // namespace masumemo::check
