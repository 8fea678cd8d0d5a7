#include "PageFile.h"

#include <algorithm>

#include "grid/LineModel.h"
#include "grid/References.h"
#include "grid/TextEncoding.h"

namespace masumemo::pagefile {
namespace {

constexpr std::string_view kSplitLine = "[SPLIT]";
constexpr std::string_view kHeaderStart = "[AA][";
constexpr std::string_view kBracketReference = "&#91;";

bool isBreak(char c) { return c == '\r' || c == '\n'; }

/// s starts with the ASCII text prefix, in either character type.
template <typename C>
bool startsWith(std::basic_string_view<C> s, std::string_view prefix)
{
    return s.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), s.begin(),
                      [](char a, C b) { return static_cast<C>(a) == b; });
}

template <typename C>
bool equals(std::basic_string_view<C> s, std::string_view text)
{
    return s.size() == text.size() && startsWith(s, text);
}

/// "[" followed by rest would read as a separator or header line.
template <typename C>
bool restReadsAsSeparator(std::basic_string_view<C> rest, PartsFormat format)
{
    return format == PartsFormat::Mlt ? equals(rest, kSplitLine.substr(1))
                                      : startsWith(rest, kHeaderStart.substr(1));
}

template <typename C>
bool lineReadsAsSeparator(std::basic_string_view<C> line, PartsFormat format)
{
    return !line.empty() && line[0] == C('[') && restReadsAsSeparator(line.substr(1), format);
}

/// The escape of a separator line: "&#91;" and the rest, or "&#38;" and an escape with its
/// "&" unescaped ("&#38;#91;SPLIT]" is the escape of the line "&#91;SPLIT]"), any number of
/// times over. Zero when line is none; else the length of its first reference.
template <typename C>
std::size_t escapeLength(std::basic_string_view<C> line, PartsFormat format)
{
    if (!startsWith(line, "&#")) {
        return 0;
    }
    std::size_t i = 2;
    while (startsWith(line.substr(i), "38;#")) {
        i += 4;
    }
    if (!startsWith(line.substr(i), "91;") ||
        !restReadsAsSeparator(line.substr(i + 3), format)) {
        return 0;
    }
    return kBracketReference.size();
}

bool isUtf8(const PageFileForm& form) { return form.text.encoding == grid::TextEncoding::Utf8; }

TextEncoding partsEncoding(const PageFileForm& form)
{
    return isUtf8(form) ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

/// Where the header line that ends right before start begins (an AST's first page).
std::size_t headerStartBefore(std::string_view bytes, std::size_t start, std::size_t from)
{
    std::size_t p = start;
    if (p > from && bytes[p - 1] == '\n') {
        --p;
        if (p > from && bytes[p - 1] == '\r') {
            --p;
        }
    } else if (p > from && bytes[p - 1] == '\r') {
        --p;
    }
    while (p > from && !isBreak(bytes[p - 1])) {
        --p;
    }
    return p;
}

}  // namespace

PageLayout splitPages(std::string_view bytes, PartsFormat format)
{
    PageLayout layout;
    layout.format = format;
    layout.index = indexFile(bytes, format);
    layout.detected = layout.index.detected;
    layout.lineBreak = lineBreakOf(bytes);
    const std::size_t from = layout.detected.bomLength;
    layout.leadEnd = bytes.size();
    layout.tailStart = bytes.size();
    layout.pages.reserve(layout.index.count());
    std::size_t previousEnd = from;
    for (std::size_t i = 0; i < layout.index.count(); ++i) {
        const PartSpan part = layout.index.parts[i];
        PageSpan page{previousEnd, part.start, std::size_t{part.start} + part.length};
        if (i == 0) {
            page.headStart =
                format == PartsFormat::Ast ? headerStartBefore(bytes, part.start, from) : from;
            layout.leadEnd = page.headStart;
        }
        previousEnd = page.bodyEnd;
        layout.pages.push_back(page);
    }
    if (!layout.pages.empty()) {
        layout.tailStart = previousEnd;
    }
    // Only the names are kept of the index: the spans above hold its offsets.
    layout.index.parts = {};
    return layout;
}

int bodyLineCount(std::string_view body)
{
    int lines = 0;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\n' || (body[i] == '\r' && (i + 1 == body.size() || body[i + 1] != '\n'))) {
            ++lines;
        }
    }
    return lines + (body.empty() || isBreak(body.back()) ? 0 : 1);
}

bool readsAsSeparator(std::u16string_view line, PartsFormat format)
{
    return lineReadsAsSeparator(line, format);
}

std::u16string escapeSeparator(std::u16string_view line, PartsFormat format)
{
    if (readsAsSeparator(line, format)) {
        return u"&#91;" + std::u16string(line.substr(1));
    }
    if (escapeLength(line, format) > 0) {
        return u"&#38;" + std::u16string(line.substr(1));
    }
    return std::u16string(line);
}

namespace {

grid::CanvasFile readBody(std::string_view body, const PageLayout& layout, long long maxUnits,
                          bool sizeOnly)
{
    // Escaped lines are ASCII at their start in either encoding, so they are undone in the bytes.
    std::string unescaped;
    bool escaped = false;
    for (std::size_t start = 0; start < body.size();) {
        // One pass to the first CR or LF (find_first_of tests each byte against the set).
        const std::size_t end = static_cast<std::size_t>(
            std::find_if(body.begin() + static_cast<std::ptrdiff_t>(start), body.end(), isBreak) -
            body.begin());
        const std::string_view line = body.substr(start, end - start);
        const std::size_t reference = escapeLength(line, layout.format);
        if (reference > 0 && !escaped) {
            unescaped.assign(body.substr(0, start));
            escaped = true;
        }
        if (reference > 0) {
            unescaped += line[2] == '9' ? '[' : '&';
            unescaped += line.substr(reference);
        } else if (escaped) {
            unescaped += line;
        }
        std::size_t next = end;
        if (next < body.size()) {
            next += body[next] == '\r' && next + 1 < body.size() && body[next + 1] == '\n' ? 2 : 1;
        }
        if (escaped) {
            unescaped += body.substr(end, next - end);
        }
        start = next;
    }
    const grid::DetectedEncoding encoding{layout.detected.encoding == TextEncoding::Utf8
                                              ? grid::TextEncoding::Utf8
                                              : grid::TextEncoding::Cp932,
                                          false};
    return grid::readCanvasFile(escaped ? std::string_view(unescaped) : body, encoding, maxUnits,
                                sizeOnly);
}

}  // namespace

grid::CanvasFile readPageBody(std::string_view body, const PageLayout& layout, long long maxUnits)
{
    return readBody(body, layout, maxUnits, false);
}

grid::CanvasFile measurePageBody(std::string_view body, const PageLayout& layout)
{
    return readBody(body, layout, grid::kMaxOpenedCanvasUnits, true);
}

std::string pageBody(std::u16string_view canvas, int keptLines, const PageFileForm& form)
{
    std::vector<std::u16string> lines = grid::canvasLines(canvas);
    for (std::u16string& line : lines) {
        line = grid::trimTrailingSpaces(line);
    }
    while (static_cast<long long>(lines.size()) > keptLines && !lines.empty() &&
           lines.back().empty()) {
        lines.pop_back();
    }
    std::string out;
    for (const std::u16string& line : lines) {
        const std::u16string written = escapeSeparator(line, form.format);
        out += isUtf8(form) ? grid::encodeUtf8(written)
                            : grid::encodeCp932WithReferences(written, form.text.spelling);
        out += form.lineBreak;
    }
    return out;
}

std::string joinPages(const std::vector<PageToWrite>& pages, const PageFileForm& form,
                      std::string_view bytes, const PageLayout* layout)
{
    std::string out;
    if (layout) {
        out.assign(bytes.substr(0, layout->leadEnd));
    } else if (isUtf8(form) && form.text.byteOrderMark) {
        out.assign(grid::kUtf8ByteOrderMark);
    }
    const std::size_t bom = layout ? layout->detected.bomLength : out.size();
    // A body (or lead) whose last line has no break gets one before anything follows it.
    bool needsBreak = out.size() > bom && !isBreak(out.back());
    const auto append = [&](std::string_view what) {
        if (what.empty()) {
            return;
        }
        if (needsBreak) {
            out += form.lineBreak;
        }
        // A lone CR break followed by a piece that starts with an empty LF line would read as
        // one CR LF, and that line would be lost: the CR becomes a CR LF.
        if (!out.empty() && out.back() == '\r' && what.front() == '\n') {
            out += '\n';
        }
        out += what;
        needsBreak = !isBreak(what.back());
    };
    for (std::size_t k = 0; k < pages.size(); ++k) {
        const PageToWrite& page = pages[k];
        const PageSpan* span = layout && page.source ? &layout->pages[*page.source] : nullptr;
        if (form.format == PartsFormat::Ast) {
            if (span && !page.name) {
                append(bytes.substr(span->headStart, span->bodyStart - span->headStart));
            } else {
                const std::u16string_view name =
                    page.name ? std::u16string_view(*page.name)
                              : (span ? layout->name(*page.source) : std::u16string_view());
                append(headerLine(name, partsEncoding(form), form.lineBreak));
            }
        } else if (k > 0) {
            if (span && span->bodyStart > span->headStart) {
                append(bytes.substr(span->headStart, span->bodyStart - span->headStart));
            } else {
                append(std::string(kSplitLine) + std::string(form.lineBreak));
            }
        }
        std::string_view pageBytes = page.body ? std::string_view(*page.body)
                                     : span ? bytes.substr(span->bodyStart,
                                                           span->bodyEnd - span->bodyStart)
                                            : std::string_view();
        // An empty last page of an MLT would vanish after its separator: it gets a blank line.
        const bool nothingFollows = !layout || layout->tailStart == bytes.size();
        if (pageBytes.empty() && form.format == PartsFormat::Mlt && k > 0 &&
            k + 1 == pages.size() && nothingFollows) {
            pageBytes = form.lineBreak;
        }
        append(pageBytes);
    }
    if (layout) {
        append(bytes.substr(layout->tailStart));
    }
    return out;
}

}  // namespace masumemo::pagefile
