#include "Document.h"

#include <algorithm>
#include <utility>

#include "document/CanvasFiles.h"
#include "pagefile/PartsFile.h"

namespace masumemo::document {

Document::Document(QObject* parent) : QObject(parent), m_pages(1) {}

void Document::resetPage(std::u16string text, int keta, int gyou)
{
    prepareChange();
    Page& p = page();
    p.text = std::move(text);
    p.keta = keta;
    p.gyou = gyou;
    p.caret = 0;
    p.history.reset({p.text, 0, keta, gyou});
    textChanged(0, -1, gyou);
}

void Document::adopt(std::vector<Page> pages, int current, const QString& path,
                     const FileForm& form)
{
    for (Page& p : pages) {
        p.source = -1;
        p.loaded = true;
        p.history.reset({p.text, p.caret, p.keta, p.gyou});
    }
    m_source.reset();
    adoptFilePages(pages, path, form.format);
    setForm(form);
    replacePages(std::move(pages), current);
    setPath(path);
    setModified(true);
}

bool Document::prepareChange()
{
    if (m_announcing) {
        return false;
    }
    const quint64 before = m_revision;
    m_announcing = true;
    emit aboutToChange();
    m_announcing = false;
    return m_revision != before;
}

void Document::textChanged(int first, int removed, int added)
{
    ++m_revision;
    emit changed(first, removed, added);
}

void Document::setPath(const QString& path)
{
    if (path == m_path) {
        return;
    }
    m_path = path;
    emit pathChanged(m_path);
}

void Document::setModified(bool modified)
{
    if (modified == m_modified) {
        return;
    }
    m_modified = modified;
    emit modifiedChanged(modified);
}

OpenReport Document::open(const QString& path)
{
    const std::optional<pagefile::PartsFormat> byName = pagefile::formatOfName(path.toStdString());
    if (byName == pagefile::PartsFormat::Mlt) {
        return openPages(path, FileForm::Format::Mlt);
    }
    if (byName == pagefile::PartsFormat::Ast) {
        return openPages(path, FileForm::Format::Ast);
    }
    OpenReport report;
    const CanvasFileRead read = readCanvasPath(path);
    if (!read.ok) {
        report.error = read.error;
        return report;
    }
    report.ok = true;
    keepOnlyCurrentPage();
    report.substituted = read.file.substituted;
    report.controlsDropped = read.file.controlsDropped;
    const grid::FittedCanvas& fitted = read.file.canvas;
    resetPage(fitted.text, fitted.keta, fitted.gyou);
    FileForm form;
    static_cast<grid::CanvasFileForm&>(form) = read.file.form;
    form.lineEnds = read.lineEnd == "\n"   ? LineEnds::Lf
                    : read.lineEnd == "\r" ? LineEnds::Cr
                                           : LineEnds::CrLf;
    setForm(form);
    setModified(false);
    setPath(path);
    return report;
}

bool Document::save(const QString& path, QString* error)
{
    return save(path, m_form, error);
}

bool Document::save(const QString& path, const FileForm& form, QString* error)
{
    if (form.format == FileForm::Format::Text && pageCount() > 1) {
        // Only the shown page fits a text file: that file is a copy, and the document stays
        // with its pages and its file, or the other pages' changes would go unsaved unasked.
        return writeCanvasPath(path, page().text, form, error);
    }
    FileForm written = form;
    if (form.format != FileForm::Format::Text) {
        if (!savePages(path, form, error)) {
            return false;
        }
    } else if (!writeCanvasPath(path, page().text, form, error)) {
        return false;
    } else {
        written.lineEnds = LineEnds::CrLf;
    }
    setForm(written);
    setModified(false);
    setPath(path);
    return true;
}

void Document::forgetFile()
{
    keepOnlyCurrentPage();
    setForm(FileForm{});
    setPath(QString());
}

void Document::keepOnlyCurrentPage()
{
    m_source.reset();
    m_pageUndo.clear();
    Page& shown = page();
    shown.name.clear();
    shown.source = -1;
    shown.fileLines = 0;
    if (pageCount() > 1) {
        Page kept = std::move(shown);
        m_pages.clear();
        m_pages.push_back(std::move(kept));
        m_current = 0;
        emit pagesChanged();
    }
}

void Document::setForm(const FileForm& form)
{
    if (form == m_form) {
        return;
    }
    m_form = form;
    emit formChanged();
}

}  // namespace masumemo::document
