#pragma once
// The list of parts the window shows: the parts of one file (named for AST, numbered for the
// others), or the hits of a search across the collection. A list model, so a file of a hundred
// thousand parts costs nothing until its rows are drawn.

#include <QAbstractListModel>
#include <QVector>

#include "library/LibraryIndex.h"

namespace masumemo::library {

class PartListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit PartListModel(const LibraryIndex& index, QObject* parent = nullptr);

    /// Shows the parts of file (or nothing for -1).
    void showFile(int file);
    /// Shows search hits, starting empty; addHits appends.
    void showHits();
    void addHits(const QVector<PartRef>& hits);
    /// The file whose parts are shown, or -1 (also while hits are shown).
    int shownFile() const { return m_file; }
    bool showsHits() const { return m_hits; }

    PartRef partAt(int row) const;
    /// The row of ref, or -1.
    int rowOf(PartRef ref) const;
    /// A file was indexed again: its rows are rebuilt when it is shown.
    void fileChanged(int file);

    /// The caption of a part: the AST name, or its number from 1 (also for an empty name).
    static QString partCaption(const LibraryFile& file, int part);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const LibraryIndex& m_index;
    int m_file = -1;
    bool m_hits = false;
    QVector<PartRef> m_found;
};

}  // namespace masumemo::library
