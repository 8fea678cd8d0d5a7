#pragma once
// What must hold for files of pages, shared by the fuzzer and the replay of the inputs it
// found. Each check answers an empty string, or what went wrong.
//
// The input's first byte picks the format, a page and a line to add; the rest is the file.
// Split into pages and joined back unchanged, any file gives its own bytes; a page changed and
// written by the save rules changes only that page's bytes, and reads back as what was written.

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "grid/LineModel.h"
#include "pagefile/PageFile.h"

namespace masumemo::fuzzcheck {

/// The lines of a canvas as a board would keep them: trailing spaces and blank lines at the end
/// left out.
inline std::vector<std::u16string> keptLines(std::u16string_view canvas)
{
    std::vector<std::u16string> lines = grid::canvasLines(canvas);
    for (std::u16string& line : lines) {
        line = grid::trimTrailingSpaces(line);
    }
    while (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

inline std::string checkPages(std::string_view input)
{
    using pagefile::PartsFormat;
    if (input.empty()) {
        return {};
    }
    const unsigned char choice = static_cast<unsigned char>(input[0]);
    const std::string bytes(input.substr(1));
    if (std::memchr(bytes.data(), '\0', bytes.size()) != nullptr) {
        return {};  // refused as no text before it is split
    }
    const PartsFormat format = choice & 1 ? PartsFormat::Ast : PartsFormat::Mlt;
    const pagefile::PageLayout layout = pagefile::splitPages(bytes, format);

    // The spans cover the file in order.
    std::size_t at = layout.leadEnd;
    for (const pagefile::PageSpan& span : layout.pages) {
        if (span.headStart != at || span.bodyStart < span.headStart || span.bodyEnd < span.bodyStart) {
            return "the spans of the pages do not follow one another";
        }
        at = span.bodyEnd;
    }
    if (!layout.pages.empty() && at != layout.tailStart) {
        return "the tail does not follow the last page";
    }
    pagefile::PageFileForm form;
    form.format = format;
    form.text.encoding = layout.detected.encoding == pagefile::TextEncoding::Utf8
                             ? grid::TextEncoding::Utf8
                             : grid::TextEncoding::Cp932;
    form.text.byteOrderMark = layout.detected.bomLength > 0;
    form.lineBreak = layout.lineBreak;
    std::vector<pagefile::PageToWrite> pages;
    for (std::size_t i = 0; i < layout.pages.size(); ++i) {
        pages.push_back({i, std::nullopt, std::nullopt});
    }
    if (pagefile::joinPages(pages, form, bytes, &layout) != bytes) {
        return "opened and saved without a change, the file is not the same";
    }
    if (layout.pages.empty()) {
        return {};
    }

    // One page changed: a line added that reads like a separator, an escape or plain text.
    static constexpr std::u16string_view kAdded[] = {u"[SPLIT]", u"[AA][x]", u"&#91;SPLIT]",
                                                     u"&#38;#91;AA][", u"x"};
    const std::size_t k = (choice >> 1) % layout.pages.size();
    const pagefile::PageSpan span = layout.pages[k];
    const std::string_view oldBody =
        std::string_view(bytes).substr(span.bodyStart, span.bodyEnd - span.bodyStart);
    const grid::CanvasFile read = pagefile::readPageBody(oldBody, layout);
    if (read.tooLarge) {
        return {};
    }
    std::u16string canvas = read.canvas.text;
    canvas += (canvas.empty() ? u"" : u"\r\n") + std::u16string(kAdded[(choice >> 5) % 5]);
    const std::string newBody = pagefile::pageBody(canvas, pagefile::bodyLineCount(oldBody), form);
    pages[k].body = newBody;
    const std::string written = pagefile::joinPages(pages, form, bytes, &layout);
    std::string expected = bytes.substr(0, span.bodyStart);
    if (span.bodyStart > span.headStart && expected.back() != '\n' && expected.back() != '\r') {
        expected += layout.lineBreak;  // a header on the last line without a break gets one
    }
    // A lone CR before a piece starting with LF becomes CR LF, or the two would read as one.
    const auto append = [&expected](std::string_view piece) {
        if (!piece.empty() && !expected.empty() && expected.back() == '\r' && piece[0] == '\n') {
            expected += '\n';
        }
        expected += piece;
    };
    append(newBody);
    const std::string after = bytes.substr(span.bodyEnd);
    if (!after.empty() && newBody.back() != '\n' && newBody.back() != '\r') {
        expected += layout.lineBreak;
    }
    append(after);
    if (written != expected) {
        return "changing one page changed the bytes of another";
    }
    // A first page starting with U+FEFF in UTF-8 without a byte order mark is written so that
    // it starts with one: a known limit of the one encoding rule, as for canvas files.
    if (written.starts_with(grid::kUtf8ByteOrderMark) && layout.detected.bomLength == 0) {
        return {};
    }
    pagefile::PageLayout again = pagefile::splitPages(written, format);
    if (again.pages.size() != layout.pages.size()) {
        return "after a change the file has another number of pages";
    }
    // Read in the file's encoding as it was opened: the one encoding rule may judge the new
    // bytes otherwise, a limit known of that rule.
    again.detected = layout.detected;
    const pagefile::PageSpan changed = again.pages[k];
    const grid::CanvasFile back = pagefile::readPageBody(
        std::string_view(written).substr(changed.bodyStart, changed.bodyEnd - changed.bodyStart),
        again);
    if (keptLines(back.canvas.text) != keptLines(canvas)) {
        return "the changed page does not read back as it was written";
    }
    return {};
}

}  // namespace masumemo::fuzzcheck
