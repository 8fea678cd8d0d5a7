#pragma once
// The file commands of the editor: New, Open, Save, Save As, the changed-mark question, and
// the dictionary's hand-over of a file (KaoKara). The document reads and writes the files and
// knows which file it belongs to (the window's title follows it); this class asks the questions
// through the Dialogs seam.

#include <QString>
#include <functional>
#include <string_view>

#include "document/Document.h"
#include "grid/Fit.h"

class QWidget;

namespace masumemo::editor {

class CanvasController;

/// The editor window's title: "住所不定 - Masumemo" for a picture never saved, else its file +
/// " - Masumemo", with the place of the unsaved-changes mark.
QString editorTitle(const QString& path);

/// The name of a file's encoding as the status bar shows it: "Shift_JIS" or "UTF-8".
QString encodingName(const document::FileForm& form);

class FileCommands
{
public:
    /// window: the parent of the dialogs and the owner of the title. canvas: the controller
    /// showing the document whose files these are. canvasReset runs after the canvas was
    /// replaced by New or Open (the size boxes follow it).
    FileCommands(QWidget& window, CanvasController& canvas, std::function<void()> canvasReset);

    /// The changed-mark question when the canvas is modified. True to go on: No, Yes followed
    /// by a save that happened, or an unmodified canvas. False stops the command: Cancel, or
    /// Yes whose save was cancelled or failed (the picture must not be thrown away).
    bool saveQuestion();

    void New();
    void Open();
    /// Save to CurrentFile, or Save As without one. True when the file was written.
    bool Save();
    /// True when a name was chosen and the file written. Text in both encodings, MLT and AST
    /// are offered, the file's own format and encoding first; a name ending in .txt, .mlt or
    /// .ast is written in that format. A document of several pages written as text asks first
    /// whether to write only the page shown (as Save of such a document does).
    bool SaveAs();

    /// Reads the file into the canvas fitted to the grid. On success the document belongs to
    /// path and the
    /// title follows it; on failure a message says why and nothing changes. A file with bytes
    /// that are not code page 932 opens, with one message saying what saving will do to them.
    bool FileOpen(const QString& path);
    /// Writes the canvas as it stands to the document's file. A failure says why and leaves
    /// Modified.
    bool FileSave();

    /// Opens text as a new, untitled canvas fitted as an opened file is, after the changed-mark
    /// question. False when the question stopped it or the text would make too large a canvas.
    bool OpenText(std::u16string_view text);

    /// After the changed-mark question, fill replaces what the document holds (a picture brought
    /// back) and the canvas, title and size boxes show it. False when the question stopped it.
    bool OpenDocument(const std::function<void(document::Document&)>& fill);

    /// The dictionary's edit hand-over: the save question, then FileOpen. False when the
    /// question was cancelled, its save did not happen, or the file could not be read.
    bool KaoKara(const QString& path);

    /// Called with the path of every file opened or saved.
    void setFileUsed(std::function<void(const QString&)> used) { m_fileUsed = std::move(used); }

private:
    bool writeTo(const QString& path, const document::FileForm& form);
    /// The fitted canvas becomes the canvas of a new picture, belonging to no file.
    void showFitted(const grid::FittedCanvas& fitted);
    /// The title and the size boxes follow a canvas that was replaced.
    void canvasReplaced();

    QWidget& m_window;
    CanvasController& m_canvas;
    std::function<void()> m_canvasReset;
    std::function<void(const QString&)> m_fileUsed;
    /// Dlg keeps the last name chosen in either dialog and offers it next time.
    QString m_lastName;
};

}  // namespace masumemo::editor
