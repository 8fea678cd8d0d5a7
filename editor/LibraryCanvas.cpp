#include "LibraryCanvas.h"

#include "editor/CanvasWidget.h"
#include "editor/FileCommands.h"
#include "editor/frmMain.h"

namespace masumemo::editor {
namespace {

class LibraryCanvas final : public library::PartsCanvas
{
public:
    explicit LibraryCanvas(frmMain& window) : m_window(window) {}

    std::u16string selectionOrCanvas() const override
    {
        const CanvasController& canvas = m_window.canvas();
        return m_window.txtMain()->selectionLength() > 0 ? canvas.selectedText() : canvas.text();
    }

    void layOver(std::u16string_view text) override
    {
        m_window.canvas().pasteText(text);
    }

    bool openAsNew(std::u16string_view text) override { return m_window.files().OpenText(text); }

    QFont canvasFont() const override { return m_window.txtMain()->font(); }

private:
    frmMain& m_window;
};

}  // namespace

std::unique_ptr<library::PartsCanvas> libraryCanvas(frmMain& window)
{
    return std::make_unique<LibraryCanvas>(window);
}

}  // namespace masumemo::editor
