#pragma once
// What a picture is, below every widget: its pages (one today), each with its text, size,
// caret and undo history; the file it belongs to and how that file is written; Modified.
//
// Every writer of a page's text announces the change first (prepareChange) and reports it
// after (textChanged). Listeners of aboutToChange may still write (a floating block is laid
// down), so a writer reads the text it builds on only after announcing. Listeners of changed
// (the posting check, the dots panel, snapshots) see the text already in place.

#include <QObject>
#include <QString>

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
/// Files are written with CR LF.
struct FileForm : grid::CanvasFileForm
{
    using Encoding = grid::TextEncoding;
    enum class Format
    {
        Text,  ///< one picture per file
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
};

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

    /// text (gyou lines of 2 x keta units) becomes the current page, the caret at 0, a
    /// history holding just it. Announced and reported as a change of the whole page.
    void resetPage(std::u16string text, int keta, int gyou);

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

    // --- The file ------------------------------------------------------------------------

    /// The file the document belongs to; empty for a picture never saved.
    const QString& path() const { return m_path; }
    void setPath(const QString& path);
    const FileForm& form() const { return m_form; }

    bool modified() const { return m_modified; }
    void setModified(bool modified);

    /// Reads path through the checked reader: on success its picture, fitted to the grid,
    /// becomes the only page, the document belongs to path and is not modified. On failure
    /// nothing changes.
    OpenReport open(const QString& path);
    /// Writes the current page to path through the checked writer (a failed write keeps the
    /// old file), in the form the document has, or in form when given (Save As into another
    /// encoding). On success the document belongs to path, is written in that form and is not
    /// modified; on failure nothing changes and error says why.
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

private:
    void setForm(const FileForm& form);

    std::vector<Page> m_pages;
    int m_current = 0;
    QString m_path;
    FileForm m_form;
    bool m_modified = false;
    bool m_announcing = false;
    quint64 m_revision = 0;
};

}  // namespace masumemo::document
