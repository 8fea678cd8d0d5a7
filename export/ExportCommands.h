#pragma once
// The export commands of a window that shows a picture: save as an image, save as an HTML
// page, copy as an image. ExportTool reads the picture from the tool host; this room never
// includes the editor.

#include <QFont>
#include <QObject>
#include <QString>
#include <memory>
#include <string>

class QWidget;

namespace masumemo::host {
class ToolHost;
}

namespace masumemo::exporting {

/// What the export commands need of the window's canvas.
class PictureSource
{
public:
    virtual ~PictureSource() = default;
    virtual std::u16string canvasText() const = 0;
    /// The font the canvas is shown in.
    virtual QFont canvasFont() const = 0;
    /// The file the canvas came from or was saved to; empty for a new canvas.
    virtual QString currentFile() const = 0;
};

class ExportCommands
{
public:
    /// window: the parent of the dialogs.
    ExportCommands(QWidget& window, std::unique_ptr<PictureSource> source);
    ~ExportCommands();

    /// Asks for a name and a scale (the dialog's two PNG filters) and writes the image. True
    /// when it was written; a failure says why and leaves any existing file as it was.
    bool saveImage();
    /// Asks for a name and writes the HTML page, as saveImage does.
    bool saveHtml();
    /// Puts the image (scale 1) on the clipboard as image/png.
    void copyImage();

private:
    bool save(const QString& title, const QString& filter, const QString& extension,
              bool image);
    QString offeredName(const QString& extension) const;
    /// Whether the image of text stays within the image limit; says why not when it does not.
    bool imageFits(std::u16string_view text, const QFont& font, int scale);

    QWidget& m_window;
    std::unique_ptr<PictureSource> m_source;
};

/// Export as a tool of the editor, over the host's document and canvas: "画像として保存(&I)..."
/// and "HTMLとして保存(&H)..." in the File menu after the recent files, "画像としてｺﾋﾟｰ(&I)" at
/// the end of the Edit menu as it stands when the tool is built.
class ExportTool : public QObject
{
    Q_OBJECT
public:
    ExportTool(host::ToolHost& host, QObject* parent);

    ExportCommands& commands() { return m_commands; }

private:
    ExportCommands m_commands;
};

}  // namespace masumemo::exporting
