#pragma once
// The pages of a document as a list view shows them: number, name, and the bytes and lines a
// board would count, red above the posting check's limits; a page's first lines as its tooltip.
// Figures are worked out only for the rows a view asks for, so a list of a hundred thousand
// pages costs nothing until it is scrolled.

#include <QAbstractTableModel>

#include <vector>

#include "check/BoardCheck.h"

namespace masumemo::document {
class Document;
}

namespace masumemo::pages {

/// The first lines of a page's text as its tooltip shows them: at most maxLines lines without
/// their trailing spaces, the blank lines at the end left out, "…" when more follow; a page of
/// blanks says so.
QString pagePreview(std::u16string_view text, int maxLines);

class PageListModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        NumberColumn,
        NameColumn,
        BytesColumn,
        LinesColumn,
        ColumnCount
    };

    explicit PageListModel(document::Document& document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// The limits the figures are held against.
    void setLimits(const check::BoardLimits& limits);
    /// Whether a view shows the list. While none does, typing only forgets the shown page's
    /// figures: telling a hidden view would have it work them out again on every keystroke.
    /// The view is told once it shows the list again.
    void setShown(bool shown);

private:
    struct Figures
    {
        bool known = false;
        long long bytes = 0;
        int lines = 0;
    };
    const Figures& figures(int row) const;
    void pagesChanged();
    void pageChanged();

    document::Document& m_document;
    check::BoardLimits m_limits;
    mutable std::vector<Figures> m_figures;
    bool m_shown = true;
    /// The rows whose figures changed while the list was not shown (first > last: none).
    int m_untoldFirst = 0;
    int m_untoldLast = -1;
};

}  // namespace masumemo::pages
