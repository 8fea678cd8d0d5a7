#pragma once
// What a tool's widget test stands on: a temporary program folder (settings files land there
// and nowhere else), a window holding a real canvas, and the host the editor builds its tools
// with. The status-bar word a tool says is kept in said.

#include <QFont>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>
#include <string>

#include "document/Document.h"
#include "editor/CanvasWidget.h"
#include "editor/EditorHost.h"
#include "platform/AppPaths.h"
#include "platform/Fonts.h"

namespace masumemo::testing {

/// The program's folder is a fresh temporary one while this lives.
class TemporaryProgramFolder
{
public:
    TemporaryProgramFolder() { platform::AppPaths::setProgramDirectoryForTesting(m_dir.path()); }
    ~TemporaryProgramFolder() { platform::AppPaths::setProgramDirectoryForTesting(QString()); }
    TemporaryProgramFolder(const TemporaryProgramFolder&) = delete;
    TemporaryProgramFolder& operator=(const TemporaryProgramFolder&) = delete;

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

class FakeToolHost
{
public:
    FakeToolHost()
        : m_window(std::make_unique<QWidget>()),
          canvas(new editor::CanvasWidget(m_window.get())),
          host(editor::EditorHost::of(*canvas, *m_window))
    {
        host.setNotice([this](const QString& word) { said = word; });
    }
    FakeToolHost(const FakeToolHost&) = delete;
    FakeToolHost& operator=(const FakeToolHost&) = delete;

    /// The parent for the tool under test; the window goes (and the tool with it) before the
    /// program folder does.
    QWidget* window() const { return m_window.get(); }

    /// The canvas shows family (the fixed or the proportional font).
    void useFont(const QString& family)
    {
        QFont font = canvas->font();
        font.setFamily(family);
        canvas->setFont(font);
    }

    /// text (gyou lines of 2 x keta units) becomes the canvas, a history holding just it.
    void show(const std::u16string& text, int keta, int gyou)
    {
        host.document().resetPage(text, keta, gyou);
        canvas->controller().showPage();
    }

    const std::u16string& text() { return host.document().page().text; }
    /// How many undo steps the canvas holds.
    size_t steps() { return host.document().page().history.entries().size(); }

private:
    TemporaryProgramFolder m_folder;
    std::unique_ptr<QWidget> m_window;

public:
    editor::CanvasWidget* canvas;
    editor::EditorHost& host;
    QString said;
};

}  // namespace masumemo::testing
