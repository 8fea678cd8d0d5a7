#pragma once
// The posting check as a tool of the editor: its entry in the tools menu, and the canvas as
// the check window sees it, taken from the tool host.

#include <QObject>

#include "check/CheckedCanvas.h"

namespace masumemo::host {
class ToolHost;
}

namespace masumemo::check {

class frmCheck;

/// The host's canvas as the check sees it. Lives as a child of the canvas widget, so it goes
/// when the canvas goes.
class CanvasLink final : public QObject, public CheckedCanvas
{
    Q_OBJECT
public:
    explicit CanvasLink(host::ToolHost& host);

    std::u16string_view canvasText() const override;
    void selectInCanvas(int start, int length) override;
    void applyAsOneStep(const std::function<std::u16string()>& build) override;
    bool proportionalFont() const override;
    host::CanvasLayers& layers() override;
    QWidget* canvasWidget() const override;
    void followChanges(QObject* context,
                       std::function<void(int first, int removed, int added)> changed) override;

private:
    host::ToolHost& m_host;
};

class CheckTool : public QObject
{
    Q_OBJECT
public:
    /// Adds "投稿チェック(&C)..." to the tools menu.
    CheckTool(host::ToolHost& host, QObject* parent);

    /// Shows the check of the host's canvas beside the window.
    frmCheck* show();

private:
    host::ToolHost& m_host;
};

}  // namespace masumemo::check
