#include <gtest/gtest.h>

#include "Corpus.h"
#include "DictionaryTestDir.h"
#include "dictionary/DictionaryFiles.h"

using namespace masumemo::dictionary;
namespace fs = std::filesystem;

namespace {

/// The emoticon column of a tab-separated list: what precedes the first tab of each line.
std::u16string firstColumn(const std::u16string& text)
{
    std::u16string out;
    bool inFirst = true;
    for (const char16_t c : text) {
        if (c == u'\n') {
            inFirst = true;
            out.push_back(c);
        } else if (c == u'\t') {
            inFirst = false;
        } else if (inFirst) {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace

using CorpusDictionaries = masumemo::testing::DictionaryDir;

// The third-party emoticon lists, turned into code page 932 dictionaries (characters without a
// form of their own become "?"), load without a message and with one entry per non-blank line.
TEST_F(CorpusDictionaries, EmoticonListsLoadAsDictionaries)
{
    if (const char* reason = masumemo::testing::corpusSkipReason()) {
        GTEST_SKIP() << reason;
    }
    const fs::path corpus = masumemo::testing::corpusDir();
    struct Row
    {
        const char* file;
        bool tabSeparated;
        int entries;
        QString first;
        QString last;
    };
    const Row rows[] = {
        {"mozc-emoticon/emoticon.tsv", true, 438, "＼(^o^)／", "=???? (?3[??]"},
        {"mozc-emoticon/categorized.tsv", true, 200, "# value", ":-P"},
        {"rime-kaomoji/A_kaomoji_dict_data.txt", false, 13, "(=ﾟωﾟ)=", "（<ゝω・）☆"},
        {"rime-kaomoji/Temreg_dict_data.txt", false, 489, "\\(//?//)\\", ""},
        {"rime-kaomoji/custom_phrase_dict_data.txt", false, 1013, "ao wu    ┗<(=｀O′=)>┛",
         "zuo pie    ┳━━　┳━━"},
    };

    QStringList paths;
    for (const Row& row : rows) {
        const fs::path source = corpus / row.file;
        ASSERT_TRUE(fs::exists(source)) << row.file;
        std::u16string text = masumemo::testing::fromUtf8(masumemo::testing::readBytes(source));
        if (row.tabSeparated) {
            text = firstColumn(text);
        }
        paths.append(
            writeText(QString::number(paths.size()) + ".txt", QString::fromStdU16String(text)));
    }
    writeList(paths);

    const LoadResult r = LoadDictionaryList();
    EXPECT_TRUE(r.messages.isEmpty()) << r.messages.join('\n').toStdString();
    ASSERT_EQ(r.list.count(), static_cast<int>(std::size(rows)));
    for (int i = 0; i < r.list.count(); ++i) {
        const Row& row = rows[i];
        const DictFile& file = r.list.at(i);
        SCOPED_TRACE(row.file);
        ASSERT_EQ(file.Entries.size(), row.entries);
        EXPECT_EQ(file.Entries.first(), row.first);
        if (!row.last.isEmpty()) {
            EXPECT_EQ(file.Entries.last(), row.last);
        }
        for (const QString& entry : file.Entries) {
            EXPECT_FALSE(entry.contains('\r') || entry.contains('\n'));
            EXPECT_FALSE(entry.endsWith(' ') || entry.endsWith(QChar(0x3000)));
        }
    }
}
