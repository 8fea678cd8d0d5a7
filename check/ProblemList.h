#pragma once
// The problems of the live check as rows of a table: line, column and what it is, in Japanese.

#include <QAbstractTableModel>

#include <vector>

#include "check/BoardCheck.h"
#include "check/LiveCheck.h"

namespace masumemo::check {

/// What a problem is, as the window and the command line say it.
QString problemText(ProblemKind kind);

class ProblemList : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { LineColumn, UnitColumn, WhatColumn, ColumnCount };

    explicit ProblemList(QObject* parent = nullptr);

    /// Takes the check's problems, telling views only about the rows that differ, so a view
    /// keeps its place and selection while the canvas is edited.
    void update(const LiveCheck& check);
    const Problem& problem(int row) const { return m_rows[static_cast<size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<Problem> m_rows;
};

}  // namespace masumemo::check
