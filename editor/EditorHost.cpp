#include "EditorHost.h"

#include <QAction>
#include <QDockWidget>
#include <QEvent>
#include <QScreen>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStyle>
#include <QTimer>

#include <algorithm>

#include "editor/CanvasWidget.h"
#include "platform/ProgramSettings.h"

namespace masumemo::editor {

namespace {

/// The window is sized to show the palette and the canvas whole: a panel docked beside them
/// widens the window by its own width (as far as the screen allows) instead of squeezing them,
/// and gives the width back when it goes.
class MakeRoomForPanel : public QObject
{
public:
    MakeRoomForPanel(QDockWidget& dock, QMainWindow& window)
        : QObject(&dock), m_dock(dock), m_window(window)
    {
        dock.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &m_dock) {
            return false;
        }
        if (event->type() == QEvent::Show && !m_dock.isFloating() && resizable() && m_added == 0) {
            grow(takes(m_dock.sizeHint().width()));
            // The window lays the panel out later and may give it another width than it asked
            // for: once that is done, make up what the working area still lacks.
            QTimer::singleShot(0, this, [this] {
                if (m_dock.isVisible() && !m_dock.isFloating() && resizable()) {
                    grow(takes(m_dock.width()) - m_added);
                }
            });
        } else if (event->type() == QEvent::Hide && m_added > 0) {
            if (resizable()) {
                m_window.resize(std::max(m_window.width() - m_added, m_window.minimumWidth()),
                                m_window.height());
            }
            m_added = 0;
        }
        return false;
    }

private:
    bool resizable() const { return !m_window.isMaximized() && !m_window.isFullScreen(); }

    /// What a panel this wide takes from the window: itself and the handle beside it.
    int takes(int panelWidth) const
    {
        return panelWidth +
               m_window.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, &m_window);
    }

    /// Widens the window by `pixels`, as far as the screen allows.
    void grow(int pixels)
    {
        const QScreen* screen = m_window.screen();
        const int room = screen != nullptr
                             ? screen->availableGeometry().width() - m_window.frameGeometry().width()
                             : pixels;
        const int added = std::clamp(pixels, 0, std::max(room, 0));
        if (added > 0) {
            m_added += added;
            m_window.resize(m_window.width() + added, m_window.height());
        }
    }

    QDockWidget& m_dock;
    QMainWindow& m_window;
    int m_added = 0;  ///< the width the window grew for the panel
};

}  // namespace

EditorHost::EditorHost(CanvasWidget& canvas, QWidget& window)
    : QObject(&canvas), m_canvas(canvas), m_window(window)
{
}

EditorHost& EditorHost::of(CanvasWidget& canvas, QWidget& window)
{
    auto* host = canvas.findChild<EditorHost*>(QString(), Qt::FindDirectChildrenOnly);
    return host != nullptr ? *host : *new EditorHost(canvas, window);
}

document::Document& EditorHost::document()
{
    return m_canvas.controller().document();
}

host::CanvasLayers& EditorHost::layers()
{
    return m_canvas;
}

std::unique_ptr<QSettings> EditorHost::settings()
{
    return platform::openProgramSettings();
}

QAction* EditorHost::addAction(const host::MenuPlace& place, const QString& name,
                               const QString& caption, const QKeySequence& keys)
{
    QMenu* menu = m_menuBar ? m_menuBar->findChild<QMenu*>(place.menu) : nullptr;
    auto* action = new QAction(caption, menu ? static_cast<QObject*>(menu) : &m_window);
    action->setObjectName(name);
    action->setSeparator(caption.isEmpty());
    action->setShortcut(keys);
    if (menu == nullptr) {
        // Still reachable by its keys while the canvas's window is active.
        m_window.addAction(action);
        return action;
    }
    const QList<QAction*> entries = menu->actions();
    const auto before = std::find_if(entries.begin(), entries.end(), [&](const QAction* a) {
        return !place.before.isEmpty() && a->objectName() == place.before;
    });
    menu->insertAction(before == entries.end() ? nullptr : *before, action);
    return action;
}

void EditorHost::addMenu(const QString& name, const QString& title, const QString& before)
{
    if (m_menuBar == nullptr) {
        return;
    }
    auto* menu = new QMenu(title, m_menuBar);
    menu->setObjectName(name);
    QMenu* next = before.isEmpty() ? nullptr : m_menuBar->findChild<QMenu*>(before);
    m_menuBar->insertMenu(next ? next->menuAction() : nullptr, menu);
}

QWidget* EditorHost::addPanel(QWidget* panel, const QString& title)
{
    auto* main = qobject_cast<QMainWindow*>(&m_window);
    if (main == nullptr) {
        // A bare window (tests): the panel is its child, shown where it is put.
        panel->setParent(&m_window);
        panel->hide();
        return panel;
    }
    auto* dock = new QDockWidget(title, main);
    dock->setObjectName(panel->objectName() + QStringLiteral("Panel"));
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    dock->setWidget(panel);
    main->addDockWidget(Qt::LeftDockWidgetArea, dock);
    dock->hide();
    new MakeRoomForPanel(*dock, *main);
    return dock;
}

void EditorHost::requestWindow(const QString& name)
{
    if (m_windowRequest) {
        m_windowRequest(name);
    }
}

std::u16string EditorHost::selectionOrCanvas() const
{
    const CanvasController& c = m_canvas.controller();
    return m_canvas.selectionLength() > 0 ? c.selectedText() : c.text();
}

void EditorHost::select(int start, int length)
{
    const int size = static_cast<int>(m_canvas.controller().text().size());
    const int from = std::clamp(start, 0, size);
    m_canvas.setSelection(from, std::clamp(length, 0, size - from));
    m_canvas.controller().caretMoved();
    m_canvas.activateWindow();
    m_canvas.setFocus(Qt::OtherFocusReason);
}

void EditorHost::applyAsOneStep(const Rewrite& build)
{
    m_canvas.controller().applyText(build);
}

void EditorHost::layOver(std::u16string_view text)
{
    m_canvas.controller().pasteText(text);
}

bool EditorHost::openFile(const QString& path)
{
    return m_openFile ? m_openFile(path) : false;
}

bool EditorHost::openAsNew(std::u16string_view text)
{
    return m_openText && m_openText(text);
}

bool EditorHost::openDocument(const std::function<void(document::Document&)>& fill)
{
    return m_openDocument && m_openDocument(fill);
}

host::ToolCanvas::Selection EditorHost::selection() const
{
    return {m_canvas.selectionStart(), m_canvas.selectionLength()};
}

std::optional<host::CellRect> EditorHost::selectedCells() const
{
    return m_canvas.layerCells();
}

std::optional<host::DotArea> EditorHost::selectedDots() const
{
    return m_canvas.layerDots();
}

bool EditorHost::turnFloatingDots(const host::DotTurn& turn)
{
    return m_canvas.layerTurnDots(turn);
}

void EditorHost::notice(const QString& text)
{
    if (m_notice) {
        m_notice(text);
    }
}

QFont EditorHost::font() const
{
    return m_canvas.font();
}

QWidget* EditorHost::widget() const
{
    return &m_canvas;
}

}  // namespace masumemo::editor
