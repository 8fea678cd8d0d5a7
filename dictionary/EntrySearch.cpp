#include "EntrySearch.h"

#include "grid/SearchFold.h"

namespace masumemo::dictionary {
namespace {

std::u16string_view view(QStringView text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

bool containsFolded(QStringView haystack, QStringView foldedNeedle)
{
    return grid::containsFolded(view(haystack), view(foldedNeedle));
}

}  // namespace

QString foldForSearch(QStringView text)
{
    QString folded(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        folded[i] = QChar(grid::foldForSearch(text.at(i).unicode()));
    }
    return folded;
}

bool entryMatches(QStringView entry, QStringView words, QStringView query)
{
    const QString folded = foldForSearch(query);
    return containsFolded(entry, folded) || containsFolded(words, folded);
}

QList<int> matchingRows(const QStringList& entries, const QStringList& words, QStringView query)
{
    const QString folded = foldForSearch(query);
    QList<int> rows;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QStringView w = i < words.size() ? QStringView(words.at(i)) : QStringView();
        if (containsFolded(entries.at(i), folded) || containsFolded(w, folded)) {
            rows.append(static_cast<int>(i));
        }
    }
    return rows;
}

}  // namespace masumemo::dictionary
