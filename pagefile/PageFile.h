#pragma once
// MLT and AST files opened as documents of pages. Pure functions, no Qt.
//
// A file is split into the byte spans of its pages with the index of PartsFile.h, so a page
// that was not changed is written back as the very bytes it was read from (its trailing blanks,
// blank lines and references untouched), and only a changed page is written by the canvas's save
// rules. Opening a file and saving it without a change gives the same file.
//
// A page line that would read as a separator ("[SPLIT]" in an MLT, a line starting "[AA][" in an
// AST) is written with its "[" as "&#91;", and a line that would read as such an escape gets its
// "&" as "&#38;", so every line reads back as the line of its page it was.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/Fit.h"
#include "pagefile/PartsFile.h"

namespace masumemo::pagefile {

/// The largest file of pages that is opened: room for a hundred thousand pages of any size
/// a board takes, far below what the index's offsets hold.
inline constexpr std::size_t kMaxPageFileBytes = 256u * 1024u * 1024u;

/// Where one page lies in its file. The head is its separator or header line with its line
/// break (none for the first page of an MLT); the body its lines, up to the next head.
struct PageSpan
{
    std::size_t headStart = 0;
    std::size_t bodyStart = 0;
    std::size_t bodyEnd = 0;
};

/// A file split into pages: the lead (a byte order mark, an AST's lines before its first header),
/// the pages, and the tail (an MLT's last separator with nothing after it). Together they cover
/// every byte of the file in order.
struct PageLayout
{
    PartsFormat format = PartsFormat::Mlt;
    Detected detected;
    std::string_view lineBreak = "\r\n";  ///< lineBreakOf the file
    std::vector<PageSpan> pages;
    FileIndex index;  ///< the parts index, for the AST names
    std::size_t leadEnd = 0;
    std::size_t tailStart = 0;

    std::u16string_view name(std::size_t page) const { return index.name(page); }
};

/// Splits bytes (no NUL bytes, at most kMaxPageFileBytes) into pages in format (Mlt or Ast).
/// An empty file, or an AST without a header, has no pages.
PageLayout splitPages(std::string_view bytes, PartsFormat format);

/// The lines of a body as the file holds them: its line breaks, one more for a last line
/// without one.
int bodyLineCount(std::string_view body);

/// True when line, written as a line of a page, would read as a separator or header line.
bool readsAsSeparator(std::u16string_view line, PartsFormat format);
/// The line as it is written: escaped (its first character as a reference) when it reads as a
/// separator or as an escaped one; otherwise as it is.
std::u16string escapeSeparator(std::u16string_view line, PartsFormat format);

/// A page's body read as the canvas reads a file (grid::readCanvasFile), in the file's encoding,
/// with escaped separator lines read back as the lines they stand for.
grid::CanvasFile readPageBody(std::string_view body, const PageLayout& layout,
                              long long maxUnits = grid::kMaxOpenedCanvasUnits);
/// readPageBody without building the canvas text: its size and what reading it found.
grid::CanvasFile measurePageBody(std::string_view body, const PageLayout& layout);

/// How a file of pages is written.
struct PageFileForm
{
    PartsFormat format = PartsFormat::Mlt;
    grid::CanvasFileForm text;  ///< encoding, byte order mark and the spelling of references
    std::string_view lineBreak = "\r\n";
};

/// The body of a changed page: each canvas line after the trailing-space trim, escaped,
/// encoded as a canvas file is and ended by the form's line break. The blank lines at the end
/// past the first keptLines lines only pad the canvas and are left out.
std::string pageBody(std::u16string_view canvas, int keptLines, const PageFileForm& form);

/// One page to be written.
struct PageToWrite
{
    /// The page of the layout it was read from; none for a page the file did not have.
    std::optional<std::size_t> source;
    /// Its body when it changed (pageBody); none to write the source's body as it was.
    std::optional<std::string> body;
    /// Its AST name when it is not the source's.
    std::optional<std::u16string> name;
};

/// The bytes of a file of pages. With a layout (of bytes, in form's format, encoding and line
/// break) the lead, the tail and the unchanged heads and bodies are its bytes; without one (a
/// new file, or one written in another form) every page is written afresh and needs a body.
/// A body without a line break at its end gets one before anything that follows it.
std::string joinPages(const std::vector<PageToWrite>& pages, const PageFileForm& form,
                      std::string_view bytes = {}, const PageLayout* layout = nullptr);

}  // namespace masumemo::pagefile
