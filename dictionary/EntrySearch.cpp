#include "EntrySearch.h"

namespace masumemo::dictionary {
namespace {

// Katakana ァ..ヶ sit 0x60 above hiragana ぁ..ゖ.
constexpr char16_t kKatakanaFirst = 0x30A1;
constexpr char16_t kKatakanaLast = 0x30F6;
constexpr char16_t kKanaDistance = 0x60;

char16_t foldUnit(char16_t c)
{
    if (c >= kKatakanaFirst && c <= kKatakanaLast) {
        return static_cast<char16_t>(c - kKanaDistance);
    }
    if (c >= u'A' && c <= u'Z') {
        return static_cast<char16_t>(c - u'A' + u'a');
    }
    if (c >= 0xFF21 && c <= 0xFF3A) {  // full-width Ａ..Ｚ
        return static_cast<char16_t>(c + 0x20);
    }
    return c;
}

bool containsFolded(QStringView haystack, QStringView foldedNeedle)
{
    const qsizetype n = foldedNeedle.size();
    if (n == 0) {
        return true;
    }
    for (qsizetype start = 0; start + n <= haystack.size(); ++start) {
        qsizetype k = 0;
        while (k < n && foldUnit(haystack.at(start + k).unicode()) == foldedNeedle.at(k)) {
            ++k;
        }
        if (k == n) {
            return true;
        }
    }
    return false;
}

}  // namespace

QString foldForSearch(QStringView text)
{
    QString folded(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        folded[i] = QChar(foldUnit(text.at(i).unicode()));
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
