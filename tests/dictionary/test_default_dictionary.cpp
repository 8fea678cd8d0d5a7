#include <gtest/gtest.h>

#include <QFile>
#include <QSet>

#include "dictionary/DictionaryFiles.h"
#include "grid/Cp932.h"

using namespace masumemo::dictionary;

namespace {

QByteArray shippedDictionary()
{
    QFile file(QStringLiteral(MASUMEMO_SOURCE_DIR "/resources/Defolt.txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

TEST(DefaultDictionary, IsCleanCodePage932WithCrLf)
{
    const QByteArray bytes = shippedDictionary();
    ASSERT_FALSE(bytes.isEmpty());
    bool invalid = true;
    const std::u16string text = masumemo::grid::decodeCp932(bytes.toStdString(), &invalid);
    EXPECT_FALSE(invalid) << "a byte sequence is not code page 932";
    // Decoding and encoding again gives the same bytes: every character has its own form.
    EXPECT_EQ(QByteArray::fromStdString(masumemo::grid::encodeCp932(text)), bytes);

    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r"), bytes.count("\r\n"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
}

TEST(DefaultDictionary, EveryLineIsOneDistinctEntry)
{
    const QByteArray bytes = shippedDictionary();
    DictFile record;
    ASSERT_EQ(appendEntries(record, bytes, true), DictError::None);
    // No blank lines and no trailing spaces: what the file holds is what the window shows.
    const QString text =
        QString::fromStdU16String(masumemo::grid::decodeCp932(bytes.toStdString()));
    EXPECT_EQ(record.Entries.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), text);
    EXPECT_GE(record.Entries.size(), 150);

    QSet<QString> seen;
    for (const QString& entry : record.Entries) {
        SCOPED_TRACE(entry.toStdString());
        EXPECT_FALSE(seen.contains(entry)) << "listed twice";
        seen.insert(entry);
        for (const QChar c : entry) {
            EXPECT_TRUE(c.unicode() >= 0x20 && c.unicode() != 0x7F) << "control character";
        }
    }
}
