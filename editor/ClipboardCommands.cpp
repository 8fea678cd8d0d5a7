#include "ClipboardCommands.h"

#include <QClipboard>
#include <QGuiApplication>

#include "editor/CanvasWidget.h"
#include "grid/LineModel.h"
#include "grid/References.h"

namespace masumemo::editor {

namespace {

void putOnClipboard(std::u16string_view text)
{
    QGuiApplication::clipboard()->setText(
        QString::fromStdU16String(std::u16string(text)));
}

}  // namespace

std::u16string brGetText(std::u16string_view canvasText)
{
    std::vector<std::u16string> lines = grid::SplitText(canvasText);
    for (std::u16string& line : lines) {
        line = grid::trimTrailingSpaces(line);
    }
    // Trailing blank lines give no markers. Dropping whole lines rather than trailing "<br>"
    // texts keeps a last line that itself ends in the text "<br>".
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    std::u16string result;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            result += u"<br>";
        }
        result += lines[i];
    }
    // What the board stores: characters code page 932 lacks as their references.
    return grid::withReferences(result);
}

namespace ClipboardCommands {

void selectAll(CanvasWidget& txtMain)
{
    txtMain.setFocus();
    if (txtMain.layerSelectAll()) {
        return;
    }
    const CanvasController& canvas = txtMain.controller();
    txtMain.setSelection(0, static_cast<int>(canvas.text().size()));
}

void copy(CanvasWidget& txtMain)
{
    if (const auto own = txtMain.layerSelection(false)) {
        putOnClipboard(own->toStdU16String());
        return;
    }
    putOnClipboard(grid::lineEndsAs(txtMain.controller().selectedText(), u"\n"));
}

void cut(CanvasWidget& txtMain)
{
    if (const auto own = txtMain.layerSelection(true)) {
        putOnClipboard(own->toStdU16String());
        return;
    }
    copy(txtMain);
    // The controller reads the selection as it stands, blanks it cell by cell, sets Modified,
    // records the undo step and leaves the caret at the selection's start.
    txtMain.controller().blankSelection();
}

void paste(CanvasWidget& txtMain)
{
    txtMain.pasteFromClipboard();
}

void brGet(const CanvasWidget& txtMain)
{
    putOnClipboard(brGetText(txtMain.controller().text()));
}

}  // namespace ClipboardCommands

}  // namespace masumemo::editor
