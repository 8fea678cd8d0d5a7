#include "WindowRegistry.h"

#include "dictionary/frmKao.h"
#include "library/LibraryTool.h"
#include "editor/frmMain.h"
#include "frmAbout.h"
#include "frmSplash.h"
#include "platform/WindowPlacement.h"

namespace masumemo::launcher {
namespace {

/// Shows a top-level window and brings it to the front with the input focus.
void bringForward(QWidget* window)
{
    if (window->isMinimized()) {
        window->showNormal();
    } else {
        window->show();
    }
    window->raise();
    window->activateWindow();
}

}  // namespace

WindowRegistry::WindowRegistry(QObject* parent) : QObject(parent) {}

WindowRegistry::~WindowRegistry()
{
    delete m_chooser.data();
    delete m_editor.data();
    delete m_dictionary.data();
}

editor::frmMain* WindowRegistry::showEditor()
{
    if (!m_editor) {
        m_editor = new editor::frmMain;
        // A closed editor is gone; the next request builds a fresh one.
        m_editor->setAttribute(Qt::WA_DeleteOnClose);
        // The one window of this program that Egaocho hands the focus back to.
        dictionary::markAsReturnTarget(m_editor);
        connect(m_editor, &editor::frmMain::dictionaryRequested, this,
                &WindowRegistry::showDictionary);
        connect(m_editor, &editor::frmMain::aboutRequested, this, &WindowRegistry::showAbout);
        connect(m_editor, &editor::frmMain::libraryRequested, this, &WindowRegistry::showLibrary);
        connect(m_editor, &editor::frmMain::kaoKaraAccepted, this, [this] {
            if (m_dictionary) {
                m_dictionary->editAccepted();
            }
        });
        connect(m_editor, &editor::frmMain::kaoKaraDeclined, this, [this] {
            if (m_dictionary) {
                m_dictionary->editDeclined();
            }
        });
    }
    bringForward(m_editor);
    return m_editor;
}

dictionary::frmKao* WindowRegistry::showDictionary()
{
    if (!m_dictionary) {
        m_dictionary = new dictionary::frmKao;
        m_dictionary->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_dictionary, &dictionary::frmKao::editorRequested, this,
                &WindowRegistry::showEditor);
        connect(m_dictionary, &dictionary::frmKao::editRequested, this,
                &WindowRegistry::handOverToEditor);
    }
    bringForward(m_dictionary);
    return m_dictionary;
}

library::frmLibrary* WindowRegistry::showLibrary()
{
    // An editor opened just now has no place on the screen yet to stand beside.
    const bool editorPlaced = m_editor && m_editor->isVisible();
    editor::frmMain* editor = showEditor();
    if (!m_library) {
        // A child of the editor in a window of its own: it works on that canvas and goes when
        // the editor goes.
        m_library = new library::frmLibrary(library::partsCanvas(editor->toolHost()), editor);
        m_library->setAttribute(Qt::WA_DeleteOnClose);
        if (editorPlaced) {
            platform::placeBesideOwner(*m_library, *editor);
        }
    }
    bringForward(m_library);
    return m_library;
}

frmSplash* WindowRegistry::showChooser()
{
    if (!m_chooser) {
        m_chooser = new frmSplash;
        connect(m_chooser, &frmSplash::editorChosen, this, &WindowRegistry::showEditor);
        connect(m_chooser, &frmSplash::dictionaryChosen, this, &WindowRegistry::showDictionary);
    }
    bringForward(m_chooser);
    return m_chooser;
}

void WindowRegistry::handOverToEditor(const QString& path)
{
    showEditor()->KaoKara(path);
}

void WindowRegistry::showAbout()
{
    frmAbout about(m_editor);
    about.exec();
}

}  // namespace masumemo::launcher
