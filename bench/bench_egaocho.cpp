// Egaocho with a 10,000-entry UTF-8 list: the search run on every keystroke, against a plain
// scan of the same entries, and within one frame; loading the list against decoding its bytes.

#include <QByteArray>
#include <QStringList>

#include "Timing.h"
#include "dictionary/DictionaryFiles.h"
#include "dictionary/EntrySearch.h"
#include "dictionary/TextEncoding.h"

using namespace masumemo;

namespace {

constexpr int kEntries = 10000;

/// A list shaped like the lists people keep: an emoticon, a TAB, two readings and a category.
QByteArray syntheticList()
{
    const QStringList faces = {"ʕ•ᴥ•ʔ", "(╯°□°）╯︵ ┻━┻", "( ˘ω˘ )", "(´・ω・`)", "＼(^o^)／"};
    const QStringList readings = {"くま", "ちゃぶだい", "すやぁ", "しょぼーん", "ばんざい"};
    QString text;
    for (int i = 0; i < kEntries; ++i) {
        text += faces.at(i % faces.size()) + QString::number(i) + u'\t' +
                readings.at(i % readings.size()) + QString::number(i % 97) + u' ' +
                QStringLiteral("ニコ") + u'\t' + QStringLiteral("SMILE") + u'\n';
    }
    return text.toUtf8();
}

}  // namespace

int main()
{
    const QByteArray bytes = syntheticList();
    dictionary::DictFile list;
    dictionary::appendEntries(list, bytes, true);
    volatile long sink = 0;

    // One keystroke's search, typed in katakana against hiragana readings, matching nothing
    // early so every entry and its words are looked through.
    const QString typed = QStringLiteral("ズ");
    const auto [search, scan] = bench::bestOfAlternating(
        [&] {
            sink = sink + dictionary::matchingRows(list.Entries, list.Words, typed).size();
        },
        [&] {
            long hits = 0;
            for (qsizetype i = 0; i < list.Entries.size(); ++i) {
                hits += list.Entries.at(i).contains(typed) || list.Words.at(i).contains(typed);
            }
            sink = sink + hits;
        });
    bench::reportInfo("search 10,000 entries vs a plain contains scan", search, scan);
    bool ok = bench::reportValue("search 10,000 entries per keystroke", search / 1e6, "ms", 16.0);

    const auto [load, decode] = bench::bestOfAlternating(
        [&] {
            dictionary::DictFile file;
            dictionary::appendEntries(file, bytes, true);
            sink = sink + file.Entries.size();
        },
        [&] {
            const std::u16string text = dictionary::decodeDictionaryText(
                std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
            sink = sink + static_cast<long>(text.size());
        });
    ok = bench::report("load 10,000-entry UTF-8 list vs decoding it", load, decode, 3.0) && ok;
    return ok ? 0 : 1;
}
