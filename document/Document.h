#pragma once
// What a picture is, below every widget: its pages, each with its text, size, caret and undo
// history; the file it belongs to and how that file is written; Modified.
//
// A .txt file is one page; an .mlt or .ast file is a document of pages. Those keep the bytes
// they were read from: a page is decoded only when it is shown (or asked for), and a page whose
// text is as it was read is written back as those very bytes.
//
// Every writer of a page's text announces the change first (prepareChange) and reports it
// after (textChanged). Listeners of aboutToChange may still write (a floating block is laid
// down), so a writer reads the text it builds on only after announcing. Listeners of changed
// (the posting check, the dots panel, snapshots) see the text already in place.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/History.h"
#include "grid/Fit.h"

namespace masumemo::document {

enum class LineEnds
{
    CrLf,
    Lf,
    Cr,
};

/// How the file on disk is written: its encoding (a UTF-8 file is written back as UTF-8, with
/// its byte order mark when it had one), the spelling of the references a Shift_JIS file
/// holds for characters code page 932 lacks, and what else the file held when it was read.
/// A picture file is written with CR LF; a file of pages with its own line ends.
struct FileForm : grid::CanvasFileForm
{
    using Encoding = grid::TextEncoding;
    enum class Format
    {
        Text,  ///< one picture per file
        Mlt,   ///< pages separated by "[SPLIT]" lines
        Ast,   ///< each page under an "[AA][name]" header line
    };
    LineEnds lineEnds = LineEnds::CrLf;
    Format format = Format::Text;

    friend bool operator==(const FileForm&, const FileForm&) = default;
};

/// One picture of a document.
struct Page
{
    std::u16string text;  ///< gyou lines of 2 x keta units joined by CR LF
    int keta = 0;
    int gyou = 0;
    int caret = 0;  ///< the caret as a canvas offset, kept while another page is shown
    History history;
    std::u16string name;  ///< its name in an AST file (may be empty)
    /// The page of the opened file it was read from, whose bytes are written back while its
    /// text is as read; -1 for a page the file did not have.
    int source = -1;
    /// Lines it had in the file: blank lines among them are kept when it is written, those
    /// past them only pad the canvas.
    int fileLines = 0;
    /// False for a page of the file never shown: text and history are empty until it is.
    bool loaded = true;
};

/// How many digits a page number of count pages takes, for names that sort in page order.
int pageNumberWidth(int count);

/// What opening a file found.
struct OpenReport
{
    bool ok = false;
    QString error;  ///< why the file could not be opened (empty when ok)
    bool substituted = false;      ///< bytes valid in neither encoding were read as "?"
    bool controlsDropped = false;  ///< Tab and other control characters were left out
};

class Document : public QObject
{
    Q_OBJECT
public:
    /// One page of 0 x 0, no file, not modified.
    explicit Document(QObject* parent = nullptr);

    // --- Pages -------------------------------------------------------------------------

    int pageCount() const { return static_cast<int>(m_pages.size()); }
    int currentIndex() const { return m_current; }
    /// The page the canvas shows.
    Page& page() { return m_pages[static_cast<size_t>(m_current)]; }
    const Page& page() const { return m_pages[static_cast<size_t>(m_current)]; }
    /// Page i (from 0). A page never shown holds no text yet: pageText reads it.
    const Page& pageAt(int i) const { return m_pages[static_cast<size_t>(i)]; }
    /// The canvas text of page i, read from the file for a page never shown.
    std::u16string pageText(int i) const;
    /// pageText(i) for another thread: the function holds a copy of the page's text, or what
    /// it needs to read a page never shown from the file's bytes, and never looks at the
    /// document again (recovery snapshots decode the pages off the window's thread).
    std::function<std::u16string()> pageTextReader(int i) const;
    /// Every page at once (a document restored from a snapshot): each page must hold its text
    /// (loaded), or be a page of the file now open. current is clamped to them; an empty list
    /// gives one empty page. The current page is shown (currentChanged, changed).
    void replacePages(std::vector<Page> pages, int current);
    /// Shows page i: the change is announced first, the page is read when never shown, and
    /// currentChanged and changed tell the canvas and the listeners. Out of range: nothing.
    void setCurrentIndex(int i);
    /// For each page, the line of the opened file (from 1) its first line stands on, as the
    /// file's line breaks count (CR LF, CR, LF); 0 for a page the file did not have.
    std::vector<int> pageFileLines() const;
    /// True when the document is a file of pages (MLT or AST), not a single picture.
    bool hasPages() const { return m_form.format != FileForm::Format::Text; }

    /// text (gyou lines of 2 x keta units) becomes the current page, the caret at 0, a
    /// history holding just it. Announced and reported as a change of the whole page.
    void resetPage(std::u16string text, int keta, int gyou);

    /// A picture brought back whole (a recovery snapshot): pages, each holding its text, become
    /// the document's pages (replacePages), each with a history holding just its text and
    /// caret. The document belongs to path, written in form, and is modified. A page the file
    /// at path still holds as it is written back as the file's bytes; every other page is
    /// written as a changed page is.
    void adopt(std::vector<Page> pages, int current, const QString& path, const FileForm& form);

    // --- Changing the text ---------------------------------------------------------------

    /// Says aboutToChange, unless a change is already being announced (a listener's own write
    /// does not announce again). Answers whether a listener wrote meanwhile, so the caller
    /// reads the text afresh.
    bool prepareChange();
    /// Lines [first, first + removed) of the current page (from 0) became added lines;
    /// removed < 0: the whole page. Says changed.
    void textChanged(int first, int removed, int added);
    /// Counts every write, so "has it changed since" is one comparison.
    quint64 revision() const { return m_revision; }

    // --- Page commands: each is one step that undoPageCommand takes back --------------------

    /// A blank page of the current page's size: at the end, or right after the current page;
    /// it is shown.
    void addPage();
    void insertPage();
    /// A copy of the current page (text and name, a history of its own) after it, shown.
    void duplicatePage();
    /// Deletes the current page; the last page left becomes blank instead.
    void deletePage();
    /// Moves the current page one place towards the start (up) or the end; it stays shown.
    void movePage(bool up);
    /// The next page's lines go below the current page's (its blank lines at the end, which
    /// only pad the canvas, left out); false on the last page.
    bool mergeWithNext();
    /// The lines from line (from 0) on become a new page after the current one, which keeps the
    /// lines before it; false when line is 0 or past the last line.
    bool splitPage(int line);
    void renamePage(const QString& name);
    /// True when a page command can be taken back.
    bool canUndoPageCommand() const { return !m_pageUndo.empty(); }
    void undoPageCommand();
    /// Whether page i holds only blanks (asked before deleting it).
    bool pageIsBlank(int i) const;

    // --- The file ------------------------------------------------------------------------

    /// The file the document belongs to; empty for a picture never saved.
    const QString& path() const { return m_path; }
    void setPath(const QString& path);
    const FileForm& form() const { return m_form; }

    bool modified() const { return m_modified; }
    void setModified(bool modified);

    /// Reads path through the checked reader: on success its picture, fitted to the grid,
    /// becomes the only page, the document belongs to path and is not modified. An .mlt or
    /// .ast file becomes a document of pages, each fitted to the canvas of the largest page
    /// (or to its own size when that canvas would be too large), the first one shown. On
    /// failure nothing changes.
    OpenReport open(const QString& path);
    /// Writes to path through the checked writer (a failed write keeps the old file), in the
    /// form the document has, or in form when given (Save As into another encoding or format):
    /// every page for MLT and AST, the current page for text. On success the document belongs
    /// to path, is written in that form and is not modified; on failure nothing changes and
    /// error says why. The current page of several written as text is a copy: the document
    /// keeps its pages, its file and Modified.
    bool save(const QString& path, QString* error);
    bool save(const QString& path, const FileForm& form, QString* error);
    /// A new picture: no file, written as a new picture is (Shift_JIS, "&#x200A;").
    void forgetFile();

signals:
    /// A writer is about to change the text: settle whatever rests on the text as it stands.
    void aboutToChange();
    /// Lines [first, first + removed) became added lines (removed < 0: the whole page).
    void changed(int first, int removed, int added);
    void modifiedChanged(bool modified);
    void pathChanged(const QString& path);
    /// How the file is written changed (another file opened, Save As into another encoding).
    void formChanged();
    /// Another page is shown, or the pages were replaced: the canvas shows page() afresh.
    void currentChanged(int index);
    /// Pages were added, removed, moved or renamed (the page list is laid out again).
    void pagesChanged();

private:
    struct Source;
    /// Taking back a page command: pages [at, at + inserted) return to removed.
    struct PageStep
    {
        int at = 0;
        int inserted = 0;
        std::vector<Page> removed;
        int current = 0;
    };

    void setForm(const FileForm& form);
    /// The document becomes its current page alone, belonging to no file of pages.
    void keepOnlyCurrentPage();
    /// The bytes of a file of pages, where its pages lie and the form it is written in; null
    /// and error set when it cannot be read.
    static std::shared_ptr<Source> readPagesFile(const QString& path, FileForm::Format format,
                                                 QString* error);
    OpenReport openPages(const QString& path, FileForm::Format format);
    /// Pages brought back from a snapshot of a file of pages, matched to the pages of that
    /// file as it is now on disk: each page whose text the file still holds takes that page's
    /// bytes as its source.
    void adoptFilePages(std::vector<Page>& pages, const QString& path, FileForm::Format format);
    bool savePages(const QString& path, const FileForm& form, QString* error);
    /// Reads page i from the file when it was never shown.
    void load(int i);
    /// The text page i was read as, fitted to keta x gyou; empty without a source.
    std::u16string sourceText(int source, int keta, int gyou) const;
    static std::u16string sourceTextOf(const Source* from, int source, int keta, int gyou);
    /// Pages [at, at + count) become pages, as one page command; then page current is shown.
    void splicePages(int at, int count, std::vector<Page> pages, int current);
    Page blankPage() const;
    void showCurrent();

    std::vector<Page> m_pages;
    int m_current = 0;
    QString m_path;
    FileForm m_form;
    bool m_modified = false;
    bool m_announcing = false;
    quint64 m_revision = 0;
    std::shared_ptr<const Source> m_source;  ///< the bytes of the file of pages opened
    std::vector<PageStep> m_pageUndo;
};

}  // namespace masumemo::document
