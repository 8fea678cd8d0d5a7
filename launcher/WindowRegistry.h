#pragma once
// Keeps every window of the program to at most one instance. Showing a window creates it when
// it does not exist (or was closed, which destroys it) and brings it forward otherwise. The
// editor and the emoticon window never know each other: each asks here for the other.

#include <QObject>
#include <QPointer>

#include "dictionary/frmKao.h"
#include "editor/frmMain.h"
#include "launcher/frmSplash.h"
#include "library/frmLibrary.h"

namespace masumemo::launcher {

class WindowRegistry : public QObject
{
    Q_OBJECT
public:
    explicit WindowRegistry(QObject* parent = nullptr);
    /// Destroys the windows that are still open.
    ~WindowRegistry() override;

    /// The window if it exists, else nullptr.
    editor::frmMain* editor() const { return m_editor; }
    dictionary::frmKao* dictionary() const { return m_dictionary; }
    frmSplash* chooser() const { return m_chooser; }
    library::frmLibrary* library() const { return m_library; }

public slots:
    editor::frmMain* showEditor();
    dictionary::frmKao* showDictionary();
    frmSplash* showChooser();
    /// The parts window beside the editor (the editor is shown first; the window goes with it).
    library::frmLibrary* showLibrary();
    /// About, modal over the editor (or alone when there is no editor); returns when closed.
    void showAbout();
    /// The dictionary's edit command: the editor is shown (built if needed) and opens path;
    /// the dictionary hears whether it did.
    void handOverToEditor(const QString& path);

private:
    QPointer<editor::frmMain> m_editor;
    QPointer<dictionary::frmKao> m_dictionary;
    QPointer<frmSplash> m_chooser;
    QPointer<library::frmLibrary> m_library;
};

}  // namespace masumemo::launcher
