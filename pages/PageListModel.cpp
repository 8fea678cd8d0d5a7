#include "PageListModel.h"

#include <QBrush>
#include <QColor>

#include <algorithm>
#include <utility>

#include "document/Document.h"
#include "grid/LineModel.h"

namespace masumemo::pages {

QString pagePreview(std::u16string_view text, int maxLines)
{
    std::vector<std::u16string> lines = grid::canvasLines(text);
    for (std::u16string& line : lines) {
        line = grid::trimTrailingSpaces(line);
    }
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    if (lines.empty()) {
        return QStringLiteral("（空白のﾍﾟｰｼﾞ）");
    }
    QStringList shown;
    for (size_t i = 0; i < lines.size() && static_cast<int>(i) < maxLines; ++i) {
        shown << QString::fromStdU16String(lines[i]);
    }
    if (static_cast<int>(lines.size()) > maxLines) {
        shown << QStringLiteral("…");
    }
    return shown.join(QLatin1Char('\n'));
}

PageListModel::PageListModel(document::Document& document, QObject* parent)
    : QAbstractTableModel(parent), m_document(document)
{
    m_figures.resize(static_cast<size_t>(document.pageCount()));
    connect(&document, &document::Document::pagesChanged, this, &PageListModel::pagesChanged);
    connect(&document, &document::Document::changed, this, &PageListModel::pageChanged);
}

int PageListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_figures.size());
}

int PageListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const PageListModel::Figures& PageListModel::figures(int row) const
{
    Figures& f = m_figures[static_cast<size_t>(row)];
    if (!f.known) {
        const check::BoardReport report = check::BoardCheck(m_document.pageText(row), m_limits);
        f = {true, report.bytes, report.lines};
    }
    return f;
}

QVariant PageListModel::data(const QModelIndex& index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || row < 0 || row >= rowCount() || row >= m_document.pageCount()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NumberColumn: return row + 1;
        case NameColumn: return QString::fromStdU16String(m_document.pageAt(row).name);
        case BytesColumn: return figures(row).bytes;
        case LinesColumn: return figures(row).lines;
        }
        break;
    case Qt::ForegroundRole:
        if ((index.column() == BytesColumn && figures(row).bytes > m_limits.maxBytes) ||
            (index.column() == LinesColumn && figures(row).lines > m_limits.maxLines)) {
            return QBrush(QColor(Qt::red));
        }
        break;
    case Qt::TextAlignmentRole:
        if (index.column() != NameColumn) {
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        break;
    case Qt::ToolTipRole: return pagePreview(m_document.pageText(row), 12);
    }
    return {};
}

QVariant PageListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case NumberColumn: return QStringLiteral("ﾍﾟｰｼﾞ");
    case NameColumn: return QStringLiteral("名前");
    case BytesColumn: return QStringLiteral("ﾊﾞｲﾄ");
    case LinesColumn: return QStringLiteral("行");
    }
    return {};
}

void PageListModel::setLimits(const check::BoardLimits& limits)
{
    m_limits = limits;
    for (Figures& f : m_figures) {
        f.known = false;
    }
    if (!m_figures.empty()) {
        emit dataChanged(index(0, BytesColumn), index(rowCount() - 1, LinesColumn));
    }
}

void PageListModel::setShown(bool shown)
{
    m_shown = shown;
    if (!shown) {
        return;
    }
    const int first = std::exchange(m_untoldFirst, 0);
    const int last = std::min(std::exchange(m_untoldLast, -1), rowCount() - 1);
    if (first <= last) {
        emit dataChanged(index(first, BytesColumn), index(last, LinesColumn));
    }
}

void PageListModel::pagesChanged()
{
    beginResetModel();
    m_figures.assign(static_cast<size_t>(m_document.pageCount()), Figures{});
    m_untoldFirst = 0;
    m_untoldLast = -1;
    endResetModel();
}

void PageListModel::pageChanged()
{
    const int row = m_document.currentIndex();
    if (row >= rowCount()) {
        return;
    }
    m_figures[static_cast<size_t>(row)].known = false;
    if (!m_shown) {
        const bool none = m_untoldFirst > m_untoldLast;
        m_untoldFirst = none ? row : std::min(m_untoldFirst, row);
        m_untoldLast = none ? row : std::max(m_untoldLast, row);
        return;
    }
    emit dataChanged(index(row, BytesColumn), index(row, LinesColumn));
}

}  // namespace masumemo::pages
