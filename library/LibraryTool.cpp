#include "LibraryTool.h"

#include <QAction>

#include "document/Document.h"
#include "host/ToolHost.h"

namespace masumemo::library {
namespace {

class HostCanvas final : public PartsCanvas
{
public:
    explicit HostCanvas(host::ToolHost& host) : m_host(host), m_canvas(host.canvas()) {}

    std::u16string selectionOrCanvas() const override { return m_canvas.selectionOrCanvas(); }
    void layOver(std::u16string_view text) override { m_canvas.layOver(text); }
    bool openAsNew(std::u16string_view text) override { return m_canvas.openAsNew(text); }
    QFont canvasFont() const override { return m_canvas.font(); }
    bool openFile(const QString& path, int page) override
    {
        if (!m_canvas.openFile(path)) {
            return false;
        }
        m_host.document().setCurrentIndex(page);
        return true;
    }

private:
    host::ToolHost& m_host;
    host::ToolCanvas& m_canvas;
};

}  // namespace

LibraryTool::LibraryTool(host::ToolHost& host, QObject* parent) : QObject(parent)
{
    connect(host.addAction({QStringLiteral("mnuTool")}, QStringLiteral("mnuToolLibrary"),
                           QStringLiteral("AA素材(&M)...")),
            &QAction::triggered, this,
            [&host] { host.requestWindow(QLatin1String(kPartsWindow)); });
}

std::unique_ptr<PartsCanvas> partsCanvas(host::ToolHost& host)
{
    return std::make_unique<HostCanvas>(host);
}

}  // namespace masumemo::library
