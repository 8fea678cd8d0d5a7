#include "CheckTool.h"

#include <QAction>

#include "check/frmCheck.h"
#include "document/Document.h"
#include "host/ToolHost.h"
#include "platform/Fonts.h"

namespace masumemo::check {

CanvasLink::CanvasLink(host::ToolHost& host) : QObject(host.canvas().widget()), m_host(host) {}

std::u16string_view CanvasLink::canvasText() const
{
    return m_host.document().page().text;
}

bool CanvasLink::proportionalFont() const
{
    return m_host.canvas().font().family() == platform::kPGothic;
}

void CanvasLink::selectInCanvas(int start, int length)
{
    m_host.canvas().select(start, length);
}

void CanvasLink::applyAsOneStep(const std::function<std::u16string()>& build)
{
    m_host.canvas().applyAsOneStep([&build](const std::u16string&) { return build(); });
}

host::CanvasLayers& CanvasLink::layers()
{
    return m_host.layers();
}

QWidget* CanvasLink::canvasWidget() const
{
    return m_host.canvas().widget();
}

void CanvasLink::followChanges(QObject* context, std::function<void(int, int, int)> changed)
{
    connect(&m_host.document(), &document::Document::changed, context, std::move(changed));
}

CheckTool::CheckTool(host::ToolHost& host, QObject* parent) : QObject(parent), m_host(host)
{
    connect(host.addAction({QStringLiteral("mnuTool")}, QStringLiteral("mnuToolCheck"),
                           QStringLiteral("投稿チェック(&C)...")),
            &QAction::triggered, this, &CheckTool::show);
}

frmCheck* CheckTool::show()
{
    QWidget* canvas = m_host.canvas().widget();
    auto* link = canvas->findChild<CanvasLink*>(QString(), Qt::FindDirectChildrenOnly);
    if (link == nullptr) {
        link = new CanvasLink(m_host);
    }
    return frmCheck::showFor(m_host.window(), *link);
}

}  // namespace masumemo::check
