#pragma once
// A temporary directory standing in for the program's, with helpers to put files in it.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "grid/Cp932.h"
#include "platform/AppPaths.h"

// Failures show the text, not its code units.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace masumemo::testing {

class DictionaryDir : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        platform::AppPaths::setProgramDirectoryForTesting(m_dir.path());
    }
    void TearDown() override { platform::AppPaths::setProgramDirectoryForTesting(QString()); }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    /// Writes bytes as they stand and answers the file's path.
    QString writeBytes(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }

    /// Writes text in code page 932 and answers the file's path.
    QString writeText(const QString& name, const QString& text) const
    {
        return writeBytes(name,
                          QByteArray::fromStdString(grid::encodeCp932(text.toStdU16String())));
    }

    /// kaomoji.ini listing paths, CR LF after each.
    void writeList(const QStringList& paths) const
    {
        writeText(QStringLiteral("kaomoji.ini"), paths.join(QStringLiteral("\r\n")) + "\r\n");
    }

    QByteArray listBytes() const
    {
        QFile file(path(QStringLiteral("kaomoji.ini")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    /// kaomoji.ini as the CP932 bytes of these lines, CR LF after each.
    static QByteArray listOf(const QStringList& paths)
    {
        QByteArray bytes;
        for (const QString& p : paths) {
            bytes += QByteArray::fromStdString(grid::encodeCp932(p.toStdU16String())) + "\r\n";
        }
        return paths.isEmpty() ? QByteArray("\r\n") : bytes;
    }

    QTemporaryDir m_dir;
};

}  // namespace masumemo::testing
