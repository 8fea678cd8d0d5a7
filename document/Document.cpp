#include "Document.h"

#include <utility>

#include "document/CanvasFiles.h"

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
    OpenReport report;
    const CanvasFileRead read = readCanvasPath(path);
    if (!read.ok) {
        report.error = read.error;
        return report;
    }
    report.ok = true;
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
    if (!writeCanvasPath(path, page().text, form, error)) {
        return false;
    }
    FileForm written = form;
    written.lineEnds = LineEnds::CrLf;
    setForm(written);
    setModified(false);
    setPath(path);
    return true;
}

void Document::forgetFile()
{
    setForm(FileForm{});
    setPath(QString());
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
