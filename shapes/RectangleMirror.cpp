#include "RectangleMirror.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "board/BlankComposer.h"
#include "grid/Cp932.h"

namespace masumemo::shapes {

std::optional<std::u16string> mirrorRectangle(std::u16string_view canvas, grid::BlockRect rect,
                                              int keta, const MirrorTable& table,
                                              bool upsideDown)
{
    grid::Block block = grid::copyBlock(canvas, rect, keta);
    if (block.empty()) {
        return std::u16string(canvas);
    }
    std::vector<std::u16string> texts;
    for (const grid::BlockLine& line : block.lines) {
        texts.push_back(line.text);
    }
    if (upsideDown) {
        const size_t n = block.lines.size();
        for (size_t i = 0; i < n / 2; ++i) {
            const grid::BlockLine& a = block.lines[i];
            const grid::BlockLine& b = block.lines[n - 1 - i];
            if (a.offset != b.offset || grid::WidthOf(a.text) != grid::WidthOf(b.text)) {
                return std::nullopt;
            }
        }
        texts = mirrorUpsideDown(texts, table);
    } else {
        // Each line's characters fill its span inside the rectangle, so reversed they fill the
        // same cells.
        texts = mirrorCells(texts, table);
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        block.lines[i].text = std::move(texts[i]);
    }
    return grid::layBlock(canvas, block, rect.line, rect.column, false, keta);
}

namespace {

/// A visible character to be laid and the dot where it belongs.
struct Piece
{
    std::u16string text;
    int x = 0;
};

int dotsOf(std::u16string_view text, const board::CharDots& dots)
{
    int w = 0;
    for (char16_t c : text) {
        w += dots(c);
    }
    return w;
}

/// What lands on each line of the block once it is turned, sorted by dot.
std::vector<std::vector<Piece>> turnedPieces(const std::vector<DotLine>& lines,
                                             const MirrorTable& table, bool upsideDown,
                                             const board::CharDots& dots)
{
    struct Seen
    {
        std::u16string_view text;
        int x;
        int width;
    };
    std::vector<std::vector<Seen>> seen(lines.size());
    int left = -1;
    int right = 0;
    for (size_t k = 0; k < lines.size(); ++k) {
        const std::u16string_view text = lines[k].text;
        for (const board::DotSpan& s : board::dotSpans(text, dots)) {
            if (s.blank) {
                continue;
            }
            const int x = lines[k].x + s.x;
            seen[k].push_back({text.substr(static_cast<size_t>(s.index),
                                           static_cast<size_t>(s.size)),
                               x, s.width});
            left = left < 0 ? x : std::min(left, x);
            right = std::max(right, x + s.width);
        }
    }
    const size_t n = seen.size();
    std::vector<std::vector<Piece>> out(n);
    for (size_t k = 0; k < n; ++k) {
        for (const Seen& c : seen[upsideDown ? n - 1 - k : k]) {
            out[k].push_back({table.imageOf(c.text), upsideDown ? c.x : left + right - c.x - c.width});
        }
        std::sort(out[k].begin(), out[k].end(),
                  [](const Piece& a, const Piece& b) { return a.x < b.x; });
    }
    return out;
}

/// The pieces written from the first one's dot on, each run between them composed to reach the
/// next one's dot; off and largest count the misses.
std::u16string landingText(const std::vector<Piece>& pieces, const board::CharDots& dots,
                           bool unicodeSpaces, int& off, int& largest)
{
    std::u16string text;
    int at = pieces.empty() ? 0 : pieces.front().x;
    for (const Piece& p : pieces) {
        if (!text.empty()) {
            // Visible characters on both sides: no half-width space to keep apart.
            const board::ComposedRun run =
                board::composeBlankRun(p.x - at, board::RunPlace{}, unicodeSpaces);
            text += run.text;
            at += run.dots;
        }
        if (at != p.x) {
            ++off;
            largest = std::max(largest, std::abs(at - p.x));
        }
        text += p.text;
        at += dotsOf(p.text, dots);
    }
    return text;
}

bool overlaps(int x, int width, const board::DotSpan& s)
{
    // A character without width still stands somewhere: at its x.
    return x < std::max(s.end(), s.x + 1) && s.x < x + std::max(width, 1);
}

}  // namespace

DotRectangleMirror mirrorDotRectangle(const std::vector<std::u16string>& lines,
                                      const board::DotBlock& block, const MirrorTable& table,
                                      bool upsideDown, const board::CharDots& dots,
                                      bool unicodeSpaces)
{
    DotRectangleMirror out;
    out.first = block.line;
    if (block.empty()) {
        return out;
    }
    std::vector<DotLine> chosen;
    for (size_t k = 0; k < block.choices.size(); ++k) {
        chosen.push_back({block.text[k], block.choices[k].x});
    }
    const std::vector<std::vector<Piece>> pieces = turnedPieces(chosen, table, upsideDown, dots);
    std::vector<std::u16string> turned;
    for (size_t k = 0; k < pieces.size(); ++k) {
        const std::u16string& line = lines[static_cast<size_t>(block.line) + k];
        const board::DotChoice& chosen = block.choices[k];
        const std::vector<Piece>& landing = pieces[k];
        if (chosen.empty() && landing.empty()) {
            turned.push_back(line);
            continue;
        }
        // The dots every visible character of the line should stand at, in order.
        std::vector<int> wanted;
        for (const Piece& p : landing) {
            wanted.push_back(p.x);
        }
        for (const board::DotSpan& s : board::dotSpans(line, dots)) {
            if (s.blank || (s.index >= chosen.start && s.index < chosen.end)) {
                continue;
            }
            // Laid over a character that stays, the turned one would take its place.
            for (const Piece& p : landing) {
                if (overlaps(p.x, dotsOf(p.text, dots), s)) {
                    out.refused = DotMirrorRefusal::Overlap;
                    return out;
                }
            }
            wanted.push_back(s.x);
        }
        std::sort(wanted.begin(), wanted.end());
        std::optional<board::Landing> land;
        int missed = 0;  // measured below, on the line as laid
        int largest = 0;
        const std::u16string text = landingText(landing, dots, unicodeSpaces, missed, largest);
        if (!landing.empty()) {
            // Transparent: nothing but the lifted characters is under the turned ones.
            land = board::Landing{text, landing.front().x, true};
        }
        board::Relaid r = board::relayLine(line, chosen, land, dots, unicodeSpaces);
        if (!r.fits) {
            out.refused = DotMirrorRefusal::TooWide;
            return out;
        }
        std::vector<int> got;
        for (const board::DotSpan& s : board::dotSpans(r.text, dots)) {
            if (!s.blank) {
                got.push_back(s.x);
            }
        }
        if (got.size() != wanted.size()) {
            out.refused = DotMirrorRefusal::Overlap;  // a character would be lost under another
            return out;
        }
        for (size_t i = 0; i < got.size(); ++i) {
            if (const int off = std::abs(got[i] - wanted[i]); off != 0) {
                ++out.offCharacters;
                out.largestOff = std::max(out.largestOff, off);
            }
        }
        turned.push_back(std::move(r.text));
    }
    out.lines = std::move(turned);
    return out;
}

DotLinesMirror mirrorDotLines(const std::vector<DotLine>& lines, const MirrorTable& table,
                              bool upsideDown, const board::CharDots& dots, bool unicodeSpaces)
{
    DotLinesMirror out;
    for (const std::vector<Piece>& pieces : turnedPieces(lines, table, upsideDown, dots)) {
        const int x = pieces.empty() ? 0 : pieces.front().x;
        out.lines.push_back(
            {landingText(pieces, dots, unicodeSpaces, out.offCharacters, out.largestOff), x});
    }
    return out;
}

}  // namespace masumemo::shapes
