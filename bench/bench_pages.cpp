// Files of pages: opening an MLT of 1,000 pages (about 500 kB) against decoding its bytes with
// iconv; showing another page in the editor window against one Open of a file of that page's
// size in another; and the memory a document of pages holds against its text.

#include <iconv.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "Memory.h"
#include "Offscreen.h"
#include "Timing.h"
#include "document/Document.h"
#include "editor/CanvasController.h"
#include "editor/FileCommands.h"
#include "editor/frmMain.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "platform/AppPaths.h"

using namespace masumemo;

namespace {

/// Page p of a story: twelve lines of kana, kanji, letters and spaces of varying widths, about
/// 500 bytes in code page 932.
std::u16string storyPage(int p)
{
    const std::u16string cells[] = {u"\u3042", u"\u6f22", u"ab", u"\u3000", u"\u2500", u"()"};
    std::vector<std::u16string> lines;
    for (int l = 0; l < 12; ++l) {
        std::u16string line;
        for (int c = 0; c < 10 + (p + l) % 14; ++c) {
            line += cells[(p * 7 + l * 3 + c) % 6];
        }
        lines.push_back(std::move(line));
    }
    return grid::joinLines(lines);
}

std::string storyBytes(int pages)
{
    std::u16string text;
    for (int p = 0; p < pages; ++p) {
        if (p > 0) {
            text += u"[SPLIT]\r\n";
        }
        text += storyPage(p) + u"\r\n";
    }
    return grid::encodeCp932(text);
}

bool writeFile(const QString& path, const std::string& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}


}  // namespace

int main(int argc, char** argv)
{
    bench::offscreenUnlessSet();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    platform::AppPaths::setProgramDirectoryForTesting(dir.path());
    bool met = true;

    // --- Open against decode ---
    const std::string story = storyBytes(1000);
    const QString storyPath = dir.filePath(QStringLiteral("story.mlt"));
    if (!writeFile(storyPath, story)) {
        return 1;
    }
    std::printf("story: 1,000 pages, %zu bytes\n", story.size());
    iconv_t decoder = iconv_open("UTF-16LE", "CP932");
    std::string scratch(story.size() * 2 + 16, '\0');
    const auto [open, decode] = bench::bestOfAlternating(
        [&] {
            document::Document document;
            if (!document.open(storyPath).ok || document.pageCount() != 1000) {
                std::abort();
            }
        },
        [&] {
            char* src = const_cast<char*>(story.data());
            size_t left = story.size();
            char* dst = scratch.data();
            size_t room = scratch.size();
            iconv(decoder, nullptr, nullptr, nullptr, nullptr);
            iconv(decoder, &src, &left, &dst, &room);
        });
    iconv_close(decoder);
    met &= bench::report("open an MLT of 1,000 pages vs iconv decode", open, decode, 3.0);

    // --- Showing another page against one Open of a page ---
    // Pages enough that every page shown is one never shown before (read from the file).
    const std::string many = storyBytes(20000);
    const QString manyPath = dir.filePath(QStringLiteral("many.mlt"));
    // A story's page p is page p mod 42 again (its line lengths repeat every 14 pages, its cells
    // every 6), so these files hold exactly the pages shown, byte for byte, in the same order.
    constexpr int kDistinctPages = 42;
    QString pagePaths[kDistinctPages];
    for (int i = 0; i < kDistinctPages; ++i) {
        pagePaths[i] = dir.filePath(QStringLiteral("page%1.txt").arg(i));
        if (!writeFile(pagePaths[i], grid::encodeCp932(storyPage(i) + u"\r\n"))) {
            return 1;
        }
    }
    if (!writeFile(manyPath, many)) {
        return 1;
    }
    editor::frmMain pagesWindow;
    pagesWindow.show();
    editor::frmMain pictureWindow;
    pictureWindow.show();
    if (!pagesWindow.files().FileOpen(manyPath)) {
        return 1;
    }
    document::Document& pages = pagesWindow.document();
    int nextPage = 1;
    int nextPicture = 1;
    const auto [show, openPage] = bench::bestOfAlternating(
        [&] {
            pages.setCurrentIndex(nextPage);
            nextPage = nextPage + 1 < pages.pageCount() ? nextPage + 1 : 1;
        },
        [&] {
            // Open as File > Open does it, up to the canvas shown; the recent files list, which
            // only Open keeps, is left out.
            if (!pictureWindow.document().open(pagePaths[nextPicture % kDistinctPages]).ok) {
                std::abort();
            }
            pictureWindow.canvas().showPage();
            nextPicture = nextPicture + 1 < pages.pageCount() ? nextPicture + 1 : 1;
        });
    std::printf("  (%d pages shown of %d)\n", nextPage, pages.pageCount());
    met &= bench::report("show another page vs Open of a file of its size", show, openPage, 1.0);

    // --- Memory of a document against its text ---
    const long before = bench::residentKb();
    auto held = std::make_unique<document::Document>();
    if (!held->open(manyPath).ok) {
        return 1;
    }
    const long after = bench::residentKb();
    size_t textBytes = 0;
    for (int i = 0; i < held->pageCount(); ++i) {
        textBytes += held->pageText(i).size() * sizeof(char16_t);
    }
    const double heldKb = static_cast<double>(after - before);
    const double textKb = static_cast<double>(textBytes) / 1024.0;
    std::printf("document of 20,000 pages: %.0f kB held, its text %.0f kB (%zu bytes on disk)\n",
                heldKb, textKb, many.size());
    met &= bench::reportValue("memory of a document of pages / its text", heldKb / textKb, "x",
                              3.0);
    return met ? 0 : 1;
}
