#include "LibraryTool.h"

#include <QAction>

#include "host/ToolHost.h"

namespace masumemo::library {
namespace {

class HostCanvas final : public PartsCanvas
{
public:
    explicit HostCanvas(host::ToolCanvas& canvas) : m_canvas(canvas) {}

    std::u16string selectionOrCanvas() const override { return m_canvas.selectionOrCanvas(); }
    void layOver(std::u16string_view text) override { m_canvas.layOver(text); }
    bool openAsNew(std::u16string_view text) override { return m_canvas.openAsNew(text); }
    QFont canvasFont() const override { return m_canvas.font(); }

private:
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
    return std::make_unique<HostCanvas>(host.canvas());
}

}  // namespace masumemo::library
