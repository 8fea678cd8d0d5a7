#pragma once
// The editor's side of the tool host: the canvas widget, its document and the window's menus
// as tools see them. Built over a canvas widget alone (tests, benchmarks) or by the window,
// which adds its menu bar, the file commands' "open as new" and its window requests. It is a
// child of the canvas widget: it lives exactly as long as the canvas it hands out.

#include <QObject>

#include <functional>

#include "host/ToolHost.h"

class QMenuBar;

namespace masumemo::editor {

class CanvasWidget;

class EditorHost final : public QObject, public host::ToolHost, public host::ToolCanvas
{
    Q_OBJECT
public:
    /// window: the parent of the tools' dialogs and windows.
    EditorHost(CanvasWidget& canvas, QWidget& window);

    /// The host of canvas, made on first use.
    static EditorHost& of(CanvasWidget& canvas, QWidget& window);

    /// Where addAction finds the menus by name; without one, actions belong to the window only.
    void setMenuBar(QMenuBar* bar) { m_menuBar = bar; }
    void setOpenText(std::function<bool(std::u16string_view)> open) { m_openText = std::move(open); }
    using OpenDocument = std::function<bool(const std::function<void(document::Document&)>&)>;
    void setOpenDocument(OpenDocument open) { m_openDocument = std::move(open); }
    void setOpenFile(std::function<bool(const QString&)> open) { m_openFile = std::move(open); }
    void setWindowRequest(std::function<void(const QString&)> request)
    {
        m_windowRequest = std::move(request);
    }
    void setNotice(std::function<void(const QString&)> notice) { m_notice = std::move(notice); }

    // host::ToolHost
    document::Document& document() override;
    host::ToolCanvas& canvas() override { return *this; }
    host::CanvasLayers& layers() override;
    QWidget* window() override { return &m_window; }
    std::unique_ptr<QSettings> settings() override;
    QAction* addAction(const host::MenuPlace& place, const QString& name, const QString& caption,
                       const QKeySequence& keys = {}) override;
    void requestWindow(const QString& name) override;
    void addMenu(const QString& name, const QString& title, const QString& before = {}) override;
    QWidget* addPanel(QWidget* panel, const QString& title) override;

    // host::ToolCanvas
    std::u16string selectionOrCanvas() const override;
    void select(int start, int length) override;
    void applyAsOneStep(const Rewrite& build) override;
    void layOver(std::u16string_view text) override;
    bool openAsNew(std::u16string_view text) override;
    bool openDocument(const std::function<void(document::Document&)>& fill) override;
    bool openFile(const QString& path) override;
    Selection selection() const override;
    std::optional<host::CellRect> selectedCells() const override;
    std::optional<host::DotArea> selectedDots() const override;
    bool turnFloatingDots(const host::DotTurn& turn) override;
    void notice(const QString& text) override;
    QFont font() const override;
    QWidget* widget() const override;

private:
    CanvasWidget& m_canvas;
    QWidget& m_window;
    QMenuBar* m_menuBar = nullptr;
    std::function<bool(std::u16string_view)> m_openText;
    OpenDocument m_openDocument;
    std::function<bool(const QString&)> m_openFile;
    std::function<void(const QString&)> m_windowRequest;
    std::function<void(const QString&)> m_notice;
};

}  // namespace masumemo::editor
