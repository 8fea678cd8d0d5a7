#pragma once
// The export commands of a window that shows a picture: save as an image, save as an HTML
// page, copy as an image. The window implements PictureSource; this room never includes it.

#include <QFont>
#include <QString>
#include <memory>
#include <string>

class QWidget;

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

    QWidget& m_window;
    std::unique_ptr<PictureSource> m_source;
};

}  // namespace masumemo::exporting
