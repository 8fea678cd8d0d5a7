// The parts library at the scale of real collections. Indexing an MLT file of 10,000 parts
// (read from disk, its encoding told, every separator found) against decoding the same bytes
// with iconv alone, with lines ended by CR LF, by LF alone and by CR alone; and the memory the
// index of a collection holds against the collection's size on disk.

#include <iconv.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "Timing.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "library/LibraryIndex.h"
#include "pagefile/PartsFile.h"

using namespace masumemo;

namespace {

/// Part n: eight lines of mixed half-width, kana, kanji and box-drawing characters, as drawn
/// parts mostly are, some with a reference or two.
std::u16string partOf(int n)
{
    const std::u16string cells[] = {u"ab", u"\u3042", u"\u6f22", u"\u2500", u"()", u"\uff0f",
                                    u"  ", u"\u30ce"};
    std::vector<std::u16string> lines;
    for (int l = 0; l < 8; ++l) {
        std::u16string line;
        for (int c = 0; c < 16 + (n + l) % 24; ++c) {
            line += cells[(n * 7 + l * 3 + c) % 8];
        }
        if ((n + l) % 11 == 0) {
            line += u"&#9829;";
        }
        lines.push_back(std::move(line));
    }
    return grid::joinLines(lines);
}

std::string mltBytes(int parts, int offset)
{
    std::vector<pagefile::Part> list;
    for (int i = 0; i < parts; ++i) {
        list.push_back({u"", grid::SplitText(partOf(offset + i))});
    }
    return pagefile::partsFileBytes(list, pagefile::PartsFormat::Mlt);
}

/// bytes with every CR LF replaced by end.
std::string withLineEnds(const std::string& bytes, char end)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++i;
            out += end;
        } else {
            out += bytes[i];
        }
    }
    return out;
}

bool writeFile(const QString& path, const std::string& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

class Decoder
{
public:
    Decoder() : m_cd(iconv_open("UTF-16LE", "CP932")) {}
    ~Decoder() { iconv_close(m_cd); }
    void decode(const std::string& bytes, std::string& out)
    {
        out.resize(bytes.size() * 2 + 16);
        char* src = const_cast<char*>(bytes.data());
        size_t left = bytes.size();
        char* dst = out.data();
        size_t room = out.size();
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        iconv(m_cd, &src, &left, &dst, &room);
    }

private:
    iconv_t m_cd;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    bool met = true;

    // --- Indexing one MLT file of 10,000 parts ---
    const std::string bytes = mltBytes(10000, 0);
    const QString path = dir.filePath(QStringLiteral("parts.mlt"));
    if (!writeFile(path, bytes)) {
        return 1;
    }
    std::printf("MLT file: 10000 parts, %zu bytes\n", bytes.size());
    Decoder decoder;
    std::string scratch;
    library::LibraryFile entry{path, dir.path(), pagefile::PartsFormat::Mlt};
    const auto [index, decode] = bench::bestOfAlternating(
        [&] {
            library::indexEntry(entry);
            if (entry.partCount() != 10000) {
                std::abort();
            }
        },
        [&] { decoder.decode(bytes, scratch); });
    met &= bench::report("index an MLT of 10,000 parts vs iconv decode", index, decode, 3.0);
    const auto [indexBytes, decodeAgain] =
        bench::bestOfAlternating([&] { pagefile::indexFile(bytes, pagefile::PartsFormat::Mlt); },
                                 [&] { decoder.decode(bytes, scratch); });
    bench::reportInfo("  the index of bytes in memory vs iconv decode", indexBytes, decodeAgain);

    // The same parts with lines ended by one character alone, as Linux and old Mac files are.
    for (const auto& [end, name] : {std::pair{'\n', "LF"}, std::pair{'\r', "CR"}}) {
        const std::string single = withLineEnds(bytes, end);
        if (!writeFile(path, single)) {
            return 1;
        }
        const auto [indexSingle, decodeSingle] = bench::bestOfAlternating(
            [&] {
                library::indexEntry(entry);
                if (entry.partCount() != 10000) {
                    std::abort();
                }
            },
            [&] { decoder.decode(single, scratch); });
        met &= bench::report(
            std::string("index an MLT of 10,000 parts, ") + name + " alone vs iconv decode",
            indexSingle, decodeSingle, 3.0);
    }

    // --- A collection of 200 files, 100,000 parts in all ---
    const QString collection = dir.filePath(QStringLiteral("collection"));
    QDir().mkpath(collection);
    long long onDisk = 0;
    for (int f = 0; f < 200; ++f) {
        const std::string file = mltBytes(500, f * 500);
        onDisk += static_cast<long long>(file.size());
        if (!writeFile(QStringLiteral("%1/set%2.mlt").arg(collection).arg(f), file)) {
            return 1;
        }
    }
    library::LibraryIndex library;
    library.setRoots({collection});
    library.waitForIdle();
    long long held = 0;
    long long parts = 0;
    for (int i = 0; i < library.fileCount(); ++i) {
        const library::LibraryFile& file = library.file(i);
        held += static_cast<long long>(sizeof(file) + file.path.capacity() * 2 +
                                       file.root.capacity() * 2 + file.notice.capacity() * 2 +
                                       (file.index ? file.index->memoryBytes() : 0));
        parts += file.partCount();
    }
    std::printf("collection: %d files, %lld parts, %.1f MB on disk\n", library.fileCount(), parts,
                double(onDisk) / 1e6);
    met &= bench::reportValue("index memory per byte of the collection, in percent",
                              100.0 * double(held) / double(onDisk), "%", 10.0);
    return met ? 0 : 1;
}
