#include "ProblemList.h"

#include <algorithm>

namespace masumemo::check {

QString problemText(ProblemKind kind)
{
    switch (kind) {
    case ProblemKind::LeadingSpace:
        return QStringLiteral("行頭の半角スペース（消えます）");
    case ProblemKind::SpaceRun:
        return QStringLiteral("半角スペースの連続（1つになります）");
    case ProblemKind::CharacterReference:
        return QStringLiteral("文字参照（別の文字になります）");
    case ProblemKind::TooManyBytes:
        return QStringLiteral("バイト数の上限を超えます");
    case ProblemKind::TooManyLines:
        return QStringLiteral("行数の上限を超えます");
    }
    return {};
}

ProblemList::ProblemList(QObject* parent) : QAbstractTableModel(parent) {}

void ProblemList::update(const LiveCheck& check)
{
    std::vector<Problem> rows;
    rows.reserve(static_cast<size_t>(check.problemCount()));
    rows.insert(rows.end(), check.lineProblems().begin(), check.lineProblems().end());
    rows.insert(rows.end(), check.limitProblems().begin(), check.limitProblems().end());

    // Only the rows between the common head and the common tail changed.
    const auto head = static_cast<size_t>(
        std::mismatch(m_rows.begin(), m_rows.end(), rows.begin(), rows.end()).first -
        m_rows.begin());
    size_t tail = 0;
    while (tail < m_rows.size() - head && tail < rows.size() - head &&
           m_rows[m_rows.size() - 1 - tail] == rows[rows.size() - 1 - tail]) {
        ++tail;
    }
    const int first = static_cast<int>(head);
    const int oldLast = static_cast<int>(m_rows.size() - tail) - 1;
    const int newLast = static_cast<int>(rows.size() - tail) - 1;
    if (oldLast == newLast) {
        m_rows = std::move(rows);
        if (first <= oldLast) {
            emit dataChanged(index(first, 0), index(oldLast, ColumnCount - 1));
        }
        return;
    }
    if (first <= oldLast) {
        beginRemoveRows({}, first, oldLast);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + oldLast + 1);
        endRemoveRows();
    }
    if (first <= newLast) {
        beginInsertRows({}, first, newLast);
        m_rows.insert(m_rows.begin() + first, rows.begin() + first, rows.begin() + newLast + 1);
        endInsertRows();
    }
}

int ProblemList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ProblemList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ProblemList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const Problem& p = problem(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case LineColumn:
            return p.line;
        case UnitColumn:
            return p.column;
        default:
            return problemText(p.kind);
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() != WhatColumn) {
        return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant ProblemList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case LineColumn:
        return QStringLiteral("行");
    case UnitColumn:
        return QStringLiteral("列");
    default:
        return QStringLiteral("内容");
    }
}

}  // namespace masumemo::check
