#include "ExportCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>

#include "export/ExportFiles.h"
#include "export/PngExport.h"
#include "document/Document.h"
#include "host/ToolHost.h"
#include "platform/Dialogs.h"
#include "platform/FileAccess.h"

namespace masumemo::exporting {
namespace {

using platform::Dialogs;

const QString kImageFilter =
    QStringLiteral("PNG画像(*.png)|*.png|PNG画像 2倍の大きさ(*.png)|*.png");
const QString kHtmlFilter = QStringLiteral("HTMLﾌｧｲﾙ(*.html)|*.html");

/// The host's picture as the commands read it.
class HostPicture final : public PictureSource
{
public:
    explicit HostPicture(host::ToolHost& host) : m_host(host) {}
    std::u16string canvasText() const override { return m_host.document().page().text; }
    QFont canvasFont() const override { return m_host.canvas().font(); }
    QString currentFile() const override { return m_host.document().path(); }

private:
    host::ToolHost& m_host;
};

}  // namespace

ExportTool::ExportTool(host::ToolHost& host, QObject* parent)
    : QObject(parent), m_commands(*host.window(), std::make_unique<HostPicture>(host))
{
    const host::MenuPlace file{QStringLiteral("mnuFile"), QStringLiteral("mnuFileBar1")};
    connect(host.addAction(file, QStringLiteral("mnuFileSaveImage"),
                           QStringLiteral("画像として保存(&I)...")),
            &QAction::triggered, this, [this] { m_commands.saveImage(); });
    connect(host.addAction(file, QStringLiteral("mnuFileSaveHtml"),
                           QStringLiteral("HTMLとして保存(&H)...")),
            &QAction::triggered, this, [this] { m_commands.saveHtml(); });
    connect(host.addAction({QStringLiteral("mnuEdit")}, QStringLiteral("mnuEditCopyImage"),
                           QStringLiteral("画像としてｺﾋﾟｰ(&I)")),
            &QAction::triggered, this, [this] { m_commands.copyImage(); });
}

ExportCommands::ExportCommands(QWidget& window, std::unique_ptr<PictureSource> source)
    : m_window(window), m_source(std::move(source))
{
}

ExportCommands::~ExportCommands() = default;

QString ExportCommands::offeredName(const QString& extension) const
{
    const QString current = m_source->currentFile();
    if (current.isEmpty()) {
        return {};
    }
    const QFileInfo info(current);
    return info.dir().filePath(info.completeBaseName() + QLatin1Char('.') + extension);
}

bool ExportCommands::save(const QString& title, const QString& filter, const QString& extension,
                          bool image)
{
    int chosenFilter = 0;
    Dialogs::FileRequest request{title, filter, offeredName(extension)};
    request.chosenFilter = &chosenFilter;
    const QString path = Dialogs::instance().saveFileName(&m_window, request);
    if (path.isEmpty()) {
        return false;
    }
    ExportOptions options;
    options.format = image ? Format::Png : Format::Html;
    options.font = pictureFont(m_source->canvasFont());
    options.scale = image && chosenFilter == 1 ? 2 : 1;
    options.title = QFileInfo(m_source->currentFile().isEmpty() ? path : m_source->currentFile())
                        .fileName();
    const std::u16string text = m_source->canvasText();
    if (image && !imageFits(text, options.font, options.scale)) {
        return false;
    }
    const QByteArray bytes = exportBytes(text, options);
    QString why = QStringLiteral("画像を作れませんでした。");
    if (!bytes.isEmpty()) {
        why = platform::problemText(platform::writeWholeFile(
            path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()))));
    }
    if (!why.isEmpty()) {
        Dialogs::instance().message(
            &m_window, QStringLiteral("ファイルを保存できませんでした。\n%1\n\n%2").arg(path, why),
            Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return false;
    }
    return true;
}

bool ExportCommands::saveImage()
{
    return save(QStringLiteral("画像として保存"), kImageFilter, QStringLiteral("png"), true);
}

bool ExportCommands::saveHtml()
{
    return save(QStringLiteral("HTMLとして保存"), kHtmlFilter, QStringLiteral("html"), false);
}

bool ExportCommands::imageFits(std::u16string_view text, const QFont& font, int scale)
{
    const QSize size = pictureImageSize(layOutPicture(text), font, scale);
    if (fitsImageLimit(size)) {
        return true;
    }
    Dialogs::instance().message(&m_window, imageTooLargeText(size), Dialogs::Buttons::Ok,
                                Dialogs::Icon::Warning);
    return false;
}

void ExportCommands::copyImage()
{
    const std::u16string text = m_source->canvasText();
    const QFont font = pictureFont(m_source->canvasFont());
    if (!imageFits(text, font, 1)) {
        return;
    }
    const QByteArray png = pngBytes(renderPicture(layOutPicture(text), font, 1));
    if (png.isEmpty()) {
        // An empty image on the clipboard would paste as nothing, or fail in the other program.
        Dialogs::instance().message(&m_window, QStringLiteral("画像を作れませんでした。"),
                                    Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
        return;
    }
    // Only PNG: every other image type would be converted from a full-colour copy on request,
    // which for a large picture takes gigabytes.
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/png"), png);
    QApplication::clipboard()->setMimeData(data);
}

}  // namespace masumemo::exporting
