// Opening and saving a 64 kB canvas file (40 x 800 of mixed characters), against the codec work
// alone: open against decoding the bytes with iconv, save against encoding them with iconv and
// writing them to a file. A save is made durable (the temporary file is synced to disk before
// the rename), so the save is also set against a plain write that syncs the same way.
//
// Open is the file made into the canvas: read, decoded, fitted, and the canvas model with its
// history reset, all that FileOpen does before the text reaches txtMain. Filling txtMain's
// document and laying out its lines is Qt's own work; it is reported beside the goal, against
// a bare QPlainTextEdit given the same text.

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdio>

#include "Canvas.h"
#include "Offscreen.h"
#include "Timing.h"
#include "editor/CanvasController.h"
#include "document/CanvasFiles.h"
#include "editor/FileCommands.h"
#include "editor/frmMain.h"
#include "grid/Cp932.h"
#include "grid/Fit.h"
#include "grid/LineModel.h"

using namespace masumemo;
using bench::kGyou;
using bench::kKeta;

namespace {

/// shift gives another picture of the same size, so each open really replaces every line.
std::u16string mixedCanvas(int shift)
{
    // Half-width pairs, kana, kanji and box drawing, each line exactly 2 x kKeta units.
    const std::u16string cells[] = {u"ab", u"\u3042", u"\u6f22", u"\u2500", u"()"};
    std::u16string line;
    for (int i = 0; i < kKeta; ++i) {
        line += cells[(i + shift) % 5];
    }
    return grid::joinLines(std::vector<std::u16string>(kGyou, line));
}

/// The same picture with two Unicode spaces in every line where an "ab" was: 1,600 references
/// in the file, more than any picture of the corpus holds.
std::u16string canvasWithReferences(int shift)
{
    std::u16string text = mixedCanvas(shift);
    for (size_t at = text.find(u"ab"); at != std::u16string::npos; at = text.find(u"ab", at)) {
        text.replace(at, 2, u"\u200A\u2009");
        at = text.find(u"\r\n", at);
    }
    return text;
}

/// Converts with one iconv descriptor, as a program doing nothing else would.
class Iconv
{
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv() { iconv_close(m_cd); }
    size_t convert(const char* in, size_t size, std::string& out)
    {
        out.resize(size * 2 + 16);
        char* src = const_cast<char*>(in);
        size_t left = size;
        char* dst = out.data();
        size_t room = out.size();
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        iconv(m_cd, &src, &left, &dst, &room);
        out.resize(out.size() - room);
        return out.size();
    }

private:
    iconv_t m_cd;
};

/// A view that shows nothing: the canvas model alone.
class NullView : public editor::CanvasView
{
public:
    void replaceLines(int, int, std::u16string_view) override {}
    void setSelection(int, int) override {}
    int selectionStart() const override { return 0; }
    int selectionLength() const override { return 0; }
    void showEditMenu() override {}
};

void writeAll(const std::string& path, const std::string& bytes, bool sync)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size())) {
        std::perror("write");
    }
    if (sync) {
        ::fdatasync(fd);
    }
    ::close(fd);
}

}  // namespace

int main(int argc, char** argv)
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const std::string baselinePath = dir.filePath(QStringLiteral("baseline.txt")).toStdString();

    const std::u16string canvases[2] = {mixedCanvas(0), mixedCanvas(1)};
    std::string fileBytes[2];
    QString paths[2];
    for (int i = 0; i < 2; ++i) {
        fileBytes[i] = grid::canvasFileBytes(canvases[i]);
        paths[i] = dir.filePath(QStringLiteral("canvas%1.txt").arg(i));
        QFile file(paths[i]);
        if (!file.open(QIODevice::WriteOnly)) {
            return 1;
        }
        file.write(fileBytes[i].data(), qint64(fileBytes[i].size()));
    }
    std::printf("canvas files: %zu bytes, %d x %d\n", fileBytes[0].size(), kKeta, kGyou);

    editor::frmMain window;
    window.show();
    editor::FileCommands& files = window.files();
    Iconv decoder("UTF-16LE", "CP932");
    Iconv encoder("CP932", "UTF-16LE");
    std::string scratch;

    bool met = true;
    int next = 0;
    int nextDecoded = 0;
    const auto decodeNext = [&] {
        const std::string& bytes = fileBytes[nextDecoded];
        decoder.convert(bytes.data(), bytes.size(), scratch);
        nextDecoded ^= 1;
    };
    NullView nullView;
    editor::CanvasController model(nullView);
    const auto [open, decode] = bench::bestOfAlternating(
        [&] {
            const document::CanvasFileRead read = document::readCanvasPath(paths[next]);
            if (!read.ok) {
                std::abort();
            }
            const grid::FittedCanvas& fitted = read.file.canvas;
            model.resetCanvas(fitted.text, fitted.keta, fitted.gyou);
            next ^= 1;
        },
        decodeNext);
    met &= bench::report("open 64 kB canvas file vs iconv decode", open, decode, 3.0);

    // Through the shown editor window, txtMain's document and layout included.
    const auto [openWindow, decodeAgain] = bench::bestOfAlternating(
        [&] {
            if (!files.FileOpen(paths[next])) {
                std::abort();
            }
            next ^= 1;
        },
        decodeNext);
    bench::reportInfo("  the same through the editor window vs iconv decode", openWindow,
                      decodeAgain);
    // Files far beyond the largest canvas are refused, quickly: one line of 10 MB (refused by
    // its size, unread) and a million short lines (read, refused before any padding).
    const struct
    {
        const char* what;
        QByteArray bytes;
    } beyond[] = {
        {"  refusing one 10 MB line vs opening the 64 kB canvas", QByteArray(10'000'000, 'a')},
        {"  refusing a million short lines vs opening the 64 kB canvas",
         QByteArray("ab\n").repeated(1'000'000)},
    };
    for (const auto& file : beyond) {
        const QString path = dir.filePath(QStringLiteral("beyond.txt"));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.bytes) != file.bytes.size()) {
            return 1;
        }
        out.close();
        const auto [refuse, openAgain] = bench::bestOfAlternating(
            [&] {
                if (document::readCanvasPath(path).ok) {
                    std::abort();
                }
            },
            [&] {
                const document::CanvasFileRead read = document::readCanvasPath(paths[next]);
                model.resetCanvas(read.file.canvas.text, read.file.canvas.keta,
                                  read.file.canvas.gyou);
                next ^= 1;
            });
        bench::reportInfo(file.what, refuse, openAgain);
    }

    QPlainTextEdit bare;
    bare.setLineWrapMode(QPlainTextEdit::NoWrap);
    // The same font and size as txtMain, so both lay out the same visible lines.
    const auto* txtMain = window.findChild<QPlainTextEdit*>(QStringLiteral("txtMain"));
    bare.setFont(txtMain->font());
    bare.resize(txtMain->size());
    bare.show();
    QString documents[2];
    for (int i = 0; i < 2; ++i) {
        documents[i] = QString::fromStdU16String(grid::lineEndsAs(canvases[i], u"\n"));
    }
    int nextBare = 0;
    const auto [openWindow2, bareFill] = bench::bestOfAlternating(
        [&] {
            files.FileOpen(paths[next]);
            next ^= 1;
        },
        [&] {
            bare.setPlainText(documents[nextBare]);
            nextBare ^= 1;
        });
    bench::reportInfo("  through the editor vs open + bare QPlainTextEdit fill", openWindow2,
                      open + bareFill);
    const std::u16string& canvas = canvases[next ^ 1];
    if (window.canvas().text() != canvas) {
        std::fprintf(stderr, "the opened canvas differs from the file\n");
        return 1;
    }

    const auto encodeAndWrite = [&](bool sync) {
        return [&, sync] {
            encoder.convert(reinterpret_cast<const char*>(canvas.data()), canvas.size() * 2,
                            scratch);
            writeAll(baselinePath, scratch, sync);
        };
    };
    // FileSave writes CurrentFile, the file just opened.
    const auto save = [&] {
        if (!files.FileSave()) {
            std::abort();
        }
    };
    const auto [saveSynced, writeSynced] = bench::bestOfAlternating(save, encodeAndWrite(true));
    met &= bench::report("save vs iconv encode + write + sync", saveSynced, writeSynced, 3.0);
    const auto [savePlain, writePlain] = bench::bestOfAlternating(save, encodeAndWrite(false));
    bench::report("save vs iconv encode + write (no sync)", savePlain, writePlain, 3.0);

    // References: a file holding them against one of the same picture without them.
    QString refPaths[2];
    std::u16string refCanvases[2];
    for (int i = 0; i < 2; ++i) {
        refCanvases[i] = canvasWithReferences(i);
        refPaths[i] = dir.filePath(QStringLiteral("references%1.txt").arg(i));
        if (!document::writeCanvasPath(refPaths[i], refCanvases[i], {}, nullptr)) {
            return 1;
        }
    }
    int nextRef = 0;
    const auto openFrom = [&](const QString* from, int& which) {
        return [&, from] {
            const document::CanvasFileRead read = document::readCanvasPath(from[which]);
            if (!read.ok) {
                std::abort();
            }
            const grid::FittedCanvas& fitted = read.file.canvas;
            model.resetCanvas(fitted.text, fitted.keta, fitted.gyou);
            which ^= 1;
        };
    };
    const auto [openRefs, openPlain] =
        bench::bestOfAlternating(openFrom(refPaths, nextRef), openFrom(paths, next));
    met &= bench::report("open with 1,600 references vs open without", openRefs, openPlain, 1.2);
    const std::string savedPath = dir.filePath(QStringLiteral("saved.txt")).toStdString();
    const auto writeOf = [&](const std::u16string& text) {
        return [&] {
            if (!document::writeCanvasPath(QString::fromStdString(savedPath), text, {}, nullptr)) {
                std::abort();
            }
        };
    };
    const auto [saveRefs, savePlainText] =
        bench::bestOfAlternating(writeOf(refCanvases[0]), writeOf(canvases[0]));
    met &= bench::report("save with 1,600 references vs save without", saveRefs, savePlainText,
                         1.2);
    return met ? 0 : 1;
}
