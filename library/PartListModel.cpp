#include "PartListModel.h"

#include <QFileInfo>

namespace masumemo::library {

PartListModel::PartListModel(const LibraryIndex& index, QObject* parent)
    : QAbstractListModel(parent), m_index(index)
{
}

void PartListModel::showFile(int file)
{
    beginResetModel();
    m_hits = false;
    m_found.clear();
    m_file = file >= 0 && file < m_index.fileCount() ? file : -1;
    endResetModel();
}

void PartListModel::showHits()
{
    beginResetModel();
    m_hits = true;
    m_file = -1;
    m_found.clear();
    endResetModel();
}

void PartListModel::addHits(const QVector<PartRef>& hits)
{
    if (!m_hits || hits.isEmpty()) {
        return;
    }
    beginInsertRows({}, static_cast<int>(m_found.size()),
                    static_cast<int>(m_found.size() + hits.size() - 1));
    m_found += hits;
    endInsertRows();
}

PartRef PartListModel::partAt(int row) const
{
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    return m_hits ? m_found[row] : PartRef{m_file, row};
}

int PartListModel::rowOf(PartRef ref) const
{
    if (m_hits) {
        return static_cast<int>(m_found.indexOf(ref));
    }
    return ref.file == m_file && ref.part >= 0 && ref.part < rowCount() ? ref.part : -1;
}

void PartListModel::fileChanged(int file)
{
    if (!m_hits && file == m_file) {
        beginResetModel();
        endResetModel();
    }
}

QString PartListModel::partCaption(const LibraryFile& file, int part)
{
    if (file.index && file.format == pagefile::PartsFormat::Ast) {
        const std::u16string_view name = file.index->name(static_cast<std::size_t>(part));
        if (!name.empty()) {
            return QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()));
        }
    }
    return QString::number(part + 1);
}

int PartListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid()) {
        return 0;
    }
    if (m_hits) {
        return static_cast<int>(m_found.size());
    }
    return m_file >= 0 ? m_index.file(m_file).partCount() : 0;
}

QVariant PartListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    const PartRef ref = partAt(index.row());
    if (ref.file < 0 || ref.file >= m_index.fileCount()) {
        return {};
    }
    const LibraryFile& file = m_index.file(ref.file);
    if (ref.part >= file.partCount()) {
        return {};
    }
    const QString caption = partCaption(file, ref.part);
    return m_hits ? QFileInfo(file.path).fileName() + QStringLiteral(" : ") + caption : caption;
}

}  // namespace masumemo::library
