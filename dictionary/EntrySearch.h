#pragma once
// Finding emoticons by what the user types: the typed text is looked for inside each entry's
// emoticon and inside its words. Kana match whether typed or stored in hiragana or katakana,
// and Latin letters match in either case. No widgets.

#include <QList>
#include <QString>
#include <QStringList>

namespace masumemo::dictionary {

/// text with katakana turned into the hiragana of the same sound and letters into lower case,
/// unit for unit (the folded text is exactly as long as text).
QString foldForSearch(QStringView text);

/// True when query, folded, is inside the folded entry or its folded words. An empty query
/// matches everything.
bool entryMatches(QStringView entry, QStringView words, QStringView query);

/// The rows of entries (with words, one per entry or fewer) that match query, in order.
QList<int> matchingRows(const QStringList& entries, const QStringList& words, QStringView query);

}  // namespace masumemo::dictionary
