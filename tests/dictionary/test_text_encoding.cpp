// Which encoding a dictionary file is read in, the emoticon/words split at a TAB, and the
// search rule; the third-party UTF-8 lists read where they stand.
#include <gtest/gtest.h>

#include <QStringList>

#include "Corpus.h"
#include "DictionaryTestDir.h"
#include "dictionary/DictionaryFiles.h"
#include "dictionary/EntrySearch.h"
#include "dictionary/TextEncoding.h"

using namespace masumemo::dictionary;
namespace fs = std::filesystem;

TEST(DictionaryEncoding, Utf8WithAMarkOrAsValidMultiByteUtf8)
{
    struct Row
    {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
        std::u16string text;
    };
    const Row rows[] = {
        {"mark, then text code page 932 also reads", "\xEF\xBB\xBF\xE3\x81\x82", TextEncoding::Utf8,
         u"あ"},
        {"mark with a broken sequence after it", "\xEF\xBB\xBF(\x81)", TextEncoding::Utf8,
         u"(\uFFFD)"},
        {"mark alone", "\xEF\xBB\xBF", TextEncoding::Utf8, u""},
        {"no mark, characters code page 932 lacks", "\xCA\x95\xE2\x80\xA2\xE1\xB4\xA5\xE2\x80\xA2\xCA\x94",
         TextEncoding::Utf8, u"ʕ•ᴥ•ʔ"},
        {"no mark, beyond the BMP", "(\xF0\x9F\x98\x80)", TextEncoding::Utf8, u"(\U0001F600)"},
        {"no mark, kana code page 932 cannot read", "(\xE3\x81\x82)", TextEncoding::Utf8,
         u"(あ)"},
        {"code page 932 kana", "\x82\xA0\x82\xA2", TextEncoding::Cp932, u"あい"},
        {"invalid UTF-8 (lone trail byte) stays code page 932", "(\x81\x40)", TextEncoding::Cp932,
         u"(　)"},
        {"overlong UTF-8 is not UTF-8", "\xC0\xAF", TextEncoding::Cp932, u"\uFF80\uFF6F"},
        {"ASCII only", "(^_^)", TextEncoding::Cp932, u"(^_^)"},
        // Text valid in both is UTF-8: multi-byte UTF-8 is almost never code page 932 by chance,
        // while short UTF-8 often is (these read as "ﾃｩ" and "縺ゅ＞" before).
        {"valid in both: one character", "\xC3\xA9", TextEncoding::Utf8, u"\u00E9"},
        {"valid in both: kana", "\xE3\x81\x82\xE3\x81\x84", TextEncoding::Utf8, u"あい"},
        {"empty", "", TextEncoding::Cp932, u""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TextEncoding used = TextEncoding::Cp932;
        if (row.encoding == TextEncoding::Cp932) {
            used = TextEncoding::Utf8;
        }
        EXPECT_EQ(decodeDictionaryText(row.bytes, &used), row.text);
        EXPECT_EQ(used, row.encoding);
    }
}

TEST(DictionaryEncoding, FitsCp932)
{
    EXPECT_TRUE(fitsCp932(u"(^_^)\tにこ\r\n（＾ω＾）"));
    EXPECT_FALSE(fitsCp932(u"ʕ•ᴥ•ʔ"));
    EXPECT_FALSE(fitsCp932(u"(\U0001F600)"));
}

TEST(DictionaryEntries, TabEndsTheEmoticonAndTheRestAreWords)
{
    struct Row
    {
        const char* name;
        QByteArray bytes;
        QStringList entries;
        QStringList words;
    };
    const Row rows[] = {
        {"readings and categories", "(^o^)\tnikoniko niko\tSMILE\n", {"(^o^)"},
         {"nikoniko niko SMILE"}},
        {"spaces before the TAB go, runs of separators are one", "o(>_<)o \t a  b\t\tc\n",
         {"o(>_<)o"}, {"a b c"}},
        {"a header with nothing before its TAB is no entry", "\tkeys\tcategories\n(-_-)\tzzz\n",
         {"(-_-)"}, {"zzz"}},
        {"a line without TAB is read whole", "ao wu    (=O=)\r\n", {"ao wu    (=O=)"}, {""}},
        {"a TAB at the end leaves no words", "(x_x)\t\r\n", {"(x_x)"}, {""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DictFile file;
        ASSERT_EQ(appendEntries(file, row.bytes, true), DictError::None);
        EXPECT_EQ(file.Entries, row.entries);
        EXPECT_EQ(file.Words, row.words);
    }
}

TEST(EntrySearch, KanaAndCaseFoldedContainment)
{
    const QStringList entries = {"(^o^)", "ʕ•ᴥ•ʔ", "(´・ω・`)", "Orz"};
    const QStringList words = {"にこにこ ばんざい", "クマ bear", "しょぼーん", ""};
    struct Row
    {
        const char* name;
        QString query;
        QList<int> rows;
    };
    const Row rows[] = {
        {"empty matches all", "", {0, 1, 2, 3}},
        {"hiragana in words", "ばんざい", {0}},
        {"katakana query finds hiragana words", "ニコ", {0}},
        {"hiragana query finds katakana words", "くま", {1}},
        {"inside the emoticon itself", "ω", {2}},
        {"letters in either case", "BEAR", {1}},
        {"emoticon letters in either case", "orz", {3}},
        {"nothing", "ねこ", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(matchingRows(entries, words, row.query), row.rows);
    }
    EXPECT_TRUE(entryMatches(u"(^o^)", u"ニコニコ", u"にこ"));
}

namespace {

/// What a list file holds, worked out here on its own: each line's part before the first TAB
/// with its trailing spaces cut, blank ones left out.
QStringList expectedEntries(const std::u16string& text)
{
    QStringList entries;
    for (const QString& raw : QString::fromStdU16String(text).split(QLatin1Char('\n'))) {
        QString line = raw;
        if (line.endsWith(QLatin1Char('\r'))) {
            line.chop(1);
        }
        line = line.section(QLatin1Char('\t'), 0, 0);
        while (line.endsWith(QLatin1Char(' ')) || line.endsWith(QChar(0x3000))) {
            line.chop(1);
        }
        if (!line.isEmpty()) {
            entries.append(line);
        }
    }
    return entries;
}

}  // namespace

// The UTF-8 emoticon lists, read where they stand: every entry comes out as the file holds it,
// Unicode characters and all, and a reading finds its emoticon.
TEST(DictionaryCorpus, Utf8ListsReadWhereTheyStand)
{
    if (const char* reason = masumemo::testing::corpusSkipReason()) {
        GTEST_SKIP() << reason;
    }
    const fs::path corpus = masumemo::testing::corpusDir();
    struct Row
    {
        const char* file;
        int entries;
        QString reading;  ///< a hand-picked search and the emoticon it must find
        QString finds;
    };
    const Row rows[] = {
        {"mozc-emoticon/emoticon.tsv", 438, "ばんざい", "＼(^o^)／"},
        // The column header "# value" is a line like any other.
        {"mozc-emoticon/categorized.tsv", 200, "きりっ", "(๑•̀ㅁ•́๑)✧"},
        {"rime-kaomoji/A_kaomoji_dict_data.txt", 13, "ゝω", "（<ゝω・）☆"},
        {"rime-kaomoji/Temreg_dict_data.txt", 489, "hai xiu", "\\(//?//)\\"},
        {"rime-kaomoji/custom_phrase_dict_data.txt", 1013, "ao wu", "ao wu    ┗<(=｀O′=)>┛"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        const fs::path source = corpus / row.file;
        ASSERT_TRUE(fs::exists(source));
        DictFile file{QString::fromStdString(source.string()), {}, false, {}};
        ASSERT_EQ(ReadDictionaryFile(file, true), DictError::None);
        const QStringList expected =
            expectedEntries(masumemo::testing::fromUtf8(masumemo::testing::readBytes(source)));
        ASSERT_EQ(expected.size(), row.entries);
        EXPECT_EQ(file.Entries, expected);
        ASSERT_EQ(file.Words.size(), file.Entries.size());
        const QList<int> found = matchingRows(file.Entries, file.Words, row.reading);
        ASSERT_FALSE(found.isEmpty());
        QStringList foundEntries;
        for (const int r : found) {
            foundEntries.append(file.Entries.at(r));
        }
        EXPECT_TRUE(foundEntries.contains(row.finds)) << foundEntries.join(' ').toStdString();
    }
}
