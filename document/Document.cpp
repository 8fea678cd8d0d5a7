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
    m_form = FileForm{};
    m_form.lineEnds = read.lineEnd == "\n"   ? LineEnds::Lf
                      : read.lineEnd == "\r" ? LineEnds::Cr
                                             : LineEnds::CrLf;
    setModified(false);
    setPath(path);
    return report;
}

bool Document::save(const QString& path, QString* error)
{
    if (!writeCanvasPath(path, page().text, error)) {
        return false;
    }
    m_form = FileForm{};
    setModified(false);
    setPath(path);
    return true;
}

}  // namespace masumemo::document
