#pragma once
// The problems of the live check as rows of a table: line, column and what it is, in Japanese.
// With a proportional font, a line the fix would move gets a row of its own after its problems.

#include <QAbstractTableModel>

#include <vector>

#include "check/BoardCheck.h"
#include "check/DotFix.h"
#include "check/LiveCheck.h"

namespace masumemo::check {

/// What a problem is, as the window and the command line say it.
QString problemText(ProblemKind kind);

/// How far the fix moves a line's characters, dots < 0 being to the left.
QString shiftText(int dots);

class ProblemList : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { LineColumn, UnitColumn, WhatColumn, ColumnCount };

    explicit ProblemList(QObject* parent = nullptr);

    /// Takes the check's problems, and the lines the fix moves (each listed after its line's
    /// problems), telling views only about the rows that differ, so a view keeps its place and
    /// selection while the canvas is edited.
    void update(const LiveCheck& check, const std::vector<LineShift>& shifts = {});
    /// The cells a row stands for; a shift's row stands for the first run the fix moves.
    const Problem& problem(int row) const { return m_rows[static_cast<size_t>(row)].where; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row
    {
        Problem where;
        int shiftDots = 0;  ///< not 0: the row of a line the fix moves

        friend bool operator==(const Row&, const Row&) = default;
    };
    std::vector<Row> m_rows;
};

}  // namespace masumemo::check
