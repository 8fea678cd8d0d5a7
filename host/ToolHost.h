#pragma once
// How a tool joins the editor. A tool (the posting check, the parts library, the underlay,
// export, the floating block, ...) is handed a ToolHost when the window builds it and takes
// everything from there: the document, the canvas as tools may edit it, the layers painted in
// it, the window for its dialogs, the program's settings, and places in the named menus.
//
// Adding a tool:
//   1. Write it in its own room (or beside its rules) as a class built from a ToolHost&; it
//      includes host/ and document/, never editor/frmMain.h.
//   2. In its constructor it adds its actions with addAction(menu, ...) and connects them; it
//      paints in the canvas through layers() and changes text only through canvas().
//   3. Add one line to frmMain::createTools() that builds it; frmMain keeps it as long as the
//      window lives. Tests build it with a host of their own (tests/support/FakeToolHost.h).
//
// What happens to the picture reaches a tool through the document's signals: a save, and
// changes given up at the save question (New, Open, a file handed over), leave the document
// not modified (modifiedChanged(false)); closing the window destroys its tools, so a tool's
// destructor is where a normal end is seen (a killed program never runs it).
//
// A tool that needs a menu of its own or a panel beside the canvas (the pages) asks for them
// with addMenu and addPanel; both do nothing in a host without a menu bar or room for panels.

#include <QFont>
#include <QKeySequence>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/CanvasLayer.h"

class QAction;
class QSettings;
class QWidget;

namespace masumemo::document {
class Document;
}

namespace masumemo::host {

/// The canvas as a tool may use it: what it shows and every way a tool may change it. Each
/// change goes through the document's announcement, so a floating block is laid down first.
class ToolCanvas
{
public:
    /// The selected text, or the whole canvas when nothing is selected (lines joined by CR LF).
    virtual std::u16string selectionOrCanvas() const = 0;
    /// Selects length characters from offset start (a line break counting two) and gives the
    /// canvas the focus; out-of-range values are clamped.
    virtual void select(int start, int length) = 0;
    /// Builds a tool's new canvas text from the text as it stands once the change has been
    /// announced: a floating block is laid down by then, so no tool builds on a text that is
    /// about to change under it. Read the selection inside it too.
    using Rewrite = std::function<std::u16string(const std::u16string& text)>;
    /// What build makes (the same size) becomes the canvas as one undo step; the same text
    /// changes nothing.
    virtual void applyAsOneStep(const Rewrite& build) = 0;
    /// Lays text over the canvas at the caret exactly as a paste is laid, as one undo step.
    virtual void layOver(std::u16string_view text) = 0;
    /// Opens text as a new canvas, fitted as an opened file is, after the usual question about
    /// unsaved changes. False when the question was cancelled or the text cannot be a canvas.
    virtual bool openAsNew(std::u16string_view text) = 0;
    /// After the usual question about unsaved changes, fill replaces what the document holds
    /// (its pages, its file, Modified) and the window shows it: the canvas, the title, the size
    /// boxes. False, fill not called, when the question was cancelled or the editor has no
    /// window to show it in.
    virtual bool openDocument(const std::function<void(document::Document&)>& fill)
    {
        (void)fill;
        return false;
    }
    /// Opens the file at path as File > Open does (a file of pages as its pages), after the
    /// usual question about unsaved changes. False when the question was cancelled or the file
    /// could not be opened (the user was told why).
    virtual bool openFile(const QString& path)
    {
        (void)path;
        return false;
    }
    /// The selection as it stands: its lower end (the caret when nothing is selected, as an
    /// offset, a line break counting two) and its length.
    struct Selection
    {
        int start = 0;
        int length = 0;
    };
    virtual Selection selection() const = 0;
    /// In rectangle mode, the rectangle chosen: what the selection is then. Inside a rewrite a
    /// floating block has been laid down and its place is the rectangle.
    virtual std::optional<CellRect> selectedCells() const = 0;
    /// In rectangle mode in the proportional font, the rectangle of dots chosen: what the
    /// selection is then (inside a rewrite a floating block has been laid down within it).
    virtual std::optional<DotArea> selectedDots() const { return std::nullopt; }
    /// While a block of dots floats in rectangle mode: the block turned by turn and left
    /// floating where it is, nothing written. False when no block of dots floats or turn gave
    /// nothing back.
    virtual bool turnFloatingDots(const DotTurn& turn)
    {
        (void)turn;
        return false;
    }
    /// A short word in the status bar on what a command did, shown until the next key.
    virtual void notice(const QString& text) = 0;
    /// The font the canvas is shown in.
    virtual QFont font() const = 0;
    /// The widget that shows the canvas (to place a window beside it, to give it the focus).
    virtual QWidget* widget() const = 0;

protected:
    ~ToolCanvas() = default;
};

/// A place in a menu: the menu's name ("mnuFile", "mnuEdit", "mnuView", "mnuTool") and the
/// entry (an action or separator name) the new one goes before; at the end when empty.
struct MenuPlace
{
    QString menu;
    QString before = {};
};

class ToolHost
{
public:
    /// The picture the window shows, its file and its change signals.
    virtual document::Document& document() = 0;
    virtual ToolCanvas& canvas() = 0;
    /// The layers painted inside the canvas.
    virtual CanvasLayers& layers() = 0;
    /// The editor window: the parent of a tool's dialogs (asked through platform::Dialogs)
    /// and of its windows.
    virtual QWidget* window() = 0;
    /// The program's own settings file, open for reading and writing.
    virtual std::unique_ptr<QSettings> settings() = 0;
    /// Adds an action named name with caption and keys at place. The tool connects it; the
    /// window owns it. A separator is an action with an empty caption.
    virtual QAction* addAction(const MenuPlace& place, const QString& name,
                               const QString& caption, const QKeySequence& keys = {}) = 0;
    /// A window kept once by the program and not by the editor (the parts window "library")
    /// is wanted.
    virtual void requestWindow(const QString& name) = 0;
    /// A menu named name captioned title in the menu bar, before the menu named before (at the
    /// end when empty), for addAction to place entries in.
    virtual void addMenu(const QString& name, const QString& title, const QString& before = {})
    {
        (void)name, (void)title, (void)before;
    }
    /// Puts panel beside the canvas under title, hidden. Answers the widget to show and hide
    /// (the panel or a frame around it); nullptr when the window has no room for panels.
    virtual QWidget* addPanel(QWidget* panel, const QString& title)
    {
        (void)panel, (void)title;
        return nullptr;
    }

protected:
    ~ToolHost() = default;
};

}  // namespace masumemo::host
