#pragma once
// What the parts window needs of the canvas it works beside. partsCanvas (LibraryTool.h) makes
// one over the tool host; the window never sees the editor itself.

#include <QFont>
#include <QString>

#include <string>
#include <string_view>

namespace masumemo::library {

class PartsCanvas
{
public:
    virtual ~PartsCanvas() = default;

    /// The selected text, or the whole canvas when nothing is selected (lines joined by CR LF).
    virtual std::u16string selectionOrCanvas() const = 0;
    /// Lays text over the canvas at the caret exactly as a paste is laid, as one undo step.
    virtual void layOver(std::u16string_view text) = 0;
    /// Opens text as a new canvas, fitted as an opened file is, after the usual question about
    /// unsaved changes. False when the question was cancelled or the text cannot be a canvas.
    virtual bool openAsNew(std::u16string_view text) = 0;
    /// Opens the file at path as the editor's File > Open does, after the same question, and
    /// shows its page page (from 0) when it is a file of pages. False when nothing was opened.
    virtual bool openFile(const QString& path, int page) = 0;
    /// The font the canvas is shown in.
    virtual QFont canvasFont() const = 0;
};

}  // namespace masumemo::library
