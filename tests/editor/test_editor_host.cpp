// The tool host as tools meet it: actions put into named menus at their places with their keys,
// the canvas's text changed only through the document's announcement, and the window's own
// tools registered once each, in the order of their menus.

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include "document/Document.h"
#include "editor/CanvasWidget.h"
#include "editor/EditorHost.h"
#include "editor/frmMain.h"
#include "platform/AppPaths.h"

using namespace masumemo;
using editor::EditorHost;

namespace {

QStringList names(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions()) {
        out << (a->objectName().isEmpty() ? a->text() : a->objectName());
    }
    return out;
}

}  // namespace

class TestEditorHost : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        platform::AppPaths::setProgramDirectoryForTesting(m_dir->path());
    }
    void cleanup()
    {
        platform::AppPaths::setProgramDirectoryForTesting(QString());
        m_dir.reset();
    }

    void actionsGoIntoTheNamedMenuAtTheirPlace()
    {
        QWidget window;
        auto* canvas = new editor::CanvasWidget(&window);
        QMenuBar bar(&window);
        QMenu* file = bar.addMenu(QStringLiteral("file"));
        file->setObjectName(QStringLiteral("mnuFile"));
        file->addAction(QStringLiteral("open"))->setObjectName(QStringLiteral("mnuFileOpen"));
        file->addSeparator()->setObjectName(QStringLiteral("mnuFileBar1"));
        file->addAction(QStringLiteral("exit"))->setObjectName(QStringLiteral("mnuFileExit"));
        EditorHost& host = EditorHost::of(*canvas, window);
        QCOMPARE(&EditorHost::of(*canvas, window), &host);  // one host per canvas
        host.setMenuBar(&bar);

        QAction* before = host.addAction({QStringLiteral("mnuFile"), QStringLiteral("mnuFileBar1")},
                                         QStringLiteral("mnuFileTool"), QStringLiteral("tool"),
                                         QKeySequence(Qt::CTRL | Qt::Key_T));
        QAction* bar1 = host.addAction({QStringLiteral("mnuFile")}, QStringLiteral("mnuFileBar9"),
                                       QString());
        QAction* last = host.addAction({QStringLiteral("mnuFile")}, QStringLiteral("mnuFileLast"),
                                       QStringLiteral("last"));
        QCOMPARE(names(file), (QStringList{"mnuFileOpen", "mnuFileTool", "mnuFileBar1",
                                           "mnuFileExit", "mnuFileBar9", "mnuFileLast"}));
        QCOMPARE(before->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
        QVERIFY(bar1->isSeparator());
        QVERIFY(!last->isSeparator());
        // Found by name from the menu bar, as the window's menuItem finds its own entries.
        QCOMPARE(bar.findChild<QAction*>(QStringLiteral("mnuFileTool")), before);

        // A menu the window does not have: the action still works by its keys in the window.
        QAction* loose = host.addAction({QStringLiteral("mnuNone")}, QStringLiteral("mnuLoose"),
                                        QStringLiteral("loose"), QKeySequence(Qt::Key_F9));
        QVERIFY(window.actions().contains(loose));
    }

    void aToolsWriteIsAnnouncedFirst()
    {
        QWidget window;
        auto* canvas = new editor::CanvasWidget(&window);
        canvas->controller().resetCanvas(u"ab\r\ncd", 1, 2);
        EditorHost& host = EditorHost::of(*canvas, window);
        QStringList heard;
        connect(&host.document(), &document::Document::aboutToChange, this, [&] {
            heard << QStringLiteral("about %1").arg(QString::fromStdU16String(host.document().page().text));
        });
        connect(&host.document(), &document::Document::changed, this, [&](int first, int removed, int added) {
            heard << QStringLiteral("changed %1 %2 %3 %4")
                         .arg(first)
                         .arg(removed)
                         .arg(added)
                         .arg(QString::fromStdU16String(host.document().page().text));
        });
        host.canvas().applyAsOneStep(
            [](const std::u16string& text) { return text.substr(0, 4) + u"xy"; });
        host.canvas().select(0, 0);
        host.canvas().layOver(u"z");
        QCOMPARE(heard, (QStringList{"about ab\r\ncd", "changed 1 1 1 ab\r\nxy",
                                     "about ab\r\nxy", "changed 0 1 1 zb\r\nxy"}));
        QVERIFY(host.document().modified());
        QCOMPARE(host.canvas().selectionOrCanvas(), std::u16string(u"zb\r\nxy"));
    }

    void theWindowRegistersEachToolOnce()
    {
        editor::frmMain window;
        const auto menu = [&](const char* name) {
            return names(window.findChild<QMenu*>(QLatin1String(name)));
        };
        QCOMPARE(menu("mnuTool"), (QStringList{"mnuToolCheck", "mnuToolLibrary"}));
        const QStringList file = menu("mnuFile");
        QCOMPARE(file.mid(file.indexOf("mnuFileSaveAs") + 2, 3),
                 (QStringList{"mnuFileSaveImage", "mnuFileSaveHtml", "mnuFileBar1"}));
        const QStringList edit = menu("mnuEdit");
        QCOMPARE(edit.mid(edit.indexOf("mnuEditPaste")),
                 (QStringList{"mnuEditPaste", "mnuEditCopyImage", "mnuBlockBar", "mnuBlock",
                              "mnuBlockTransparent", "mnuShapesBar", "mnuMirror", "mnuFlip",
                              "mnuFrame", "mnuDotSeparator", "mnuDotGuide",
                              "mnuDotAlign", "mnuDotRightEdges"}));
        QCOMPARE(menu("mnuView").mid(4), (QStringList{"mnuUnderlayBar", "mnuUnderlayOpen",
                                                       "mnuUnderlayShow", "mnuUnderlayClose",
                                                       "mnuUnderlayAdjust", "mnuViewPages"}));
        // The pages' own menu stands before the tools.
        const QList<QAction*> bar = window.menuBar()->actions();
        const auto at = [&](const char* name) {
            return std::find_if(bar.begin(), bar.end(), [&](QAction* a) {
                       return a->menu() && a->menu()->objectName() == QLatin1String(name);
                   }) - bar.begin();
        };
        QCOMPARE(at("mnuPage") + 1, at("mnuTool"));
        QCOMPARE(&window.toolHost().document(), &window.document());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestEditorHost)
#include "test_editor_host.moc"
