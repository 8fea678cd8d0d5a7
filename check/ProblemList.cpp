#include "ProblemList.h"

#include <algorithm>
#include <limits>

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
    case ProblemKind::UnicodeCharacter:
        return QStringLiteral("Unicode文字（?になります）");
    }
    return {};
}

QString shiftText(int dots)
{
    return dots < 0 ? QStringLiteral("整えると %1 ﾄﾞｯﾄ左にずれます").arg(-dots)
                    : QStringLiteral("整えると %1 ﾄﾞｯﾄ右にずれます").arg(dots);
}

ProblemList::ProblemList(QObject* parent) : QAbstractTableModel(parent) {}

void ProblemList::update(const LiveCheck& check, const std::vector<LineShift>& shifts)
{
    std::vector<Row> rows;
    rows.reserve(static_cast<size_t>(check.problemCount()) + shifts.size());
    auto shift = shifts.begin();
    const auto shiftsUpTo = [&](int line) {
        for (; shift != shifts.end() && shift->line <= line; ++shift) {
            // Only its cells count; the run it stands for is one a board changes.
            const Problem where{ProblemKind::SpaceRun, shift->line, shift->column,
                                shift->charStart, shift->charCount};
            rows.push_back({where, shift->dots});
        }
    };
    for (const Problem& p : check.lineProblems()) {
        shiftsUpTo(p.line - 1);
        rows.push_back({p});
    }
    shiftsUpTo(std::numeric_limits<int>::max());
    for (const Problem& p : check.limitProblems()) {
        rows.push_back({p});
    }

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
    const Row& row = m_rows[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case LineColumn:
            return row.where.line;
        case UnitColumn:
            return row.where.column;
        default:
            return row.shiftDots != 0 ? shiftText(row.shiftDots) : problemText(row.where.kind);
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
