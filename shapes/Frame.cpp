#include "Frame.h"

#include <algorithm>
#include <map>

#include "board/BlankComposer.h"
#include "board/BoardBlanks.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"

namespace masumemo::shapes {

bool FrameStyle::complete() const
{
    return !topLeft.empty() && !top.empty() && !topRight.empty() && !right.empty() &&
           !bottomRight.empty() && !bottom.empty() && !bottomLeft.empty() && !left.empty();
}

std::vector<FrameStyle> parseFrameStyles(std::u16string_view text, std::vector<int>* badLines)
{
    std::vector<FrameStyle> styles;
    std::optional<FrameStyle> current;
    auto finish = [&] {
        if (current && current->complete()) {
            styles.push_back(*current);
        }
        current.reset();
    };
    const std::map<std::u16string, std::u16string FrameStyle::*> pieces{
        {u"左上", &FrameStyle::topLeft},     {u"上", &FrameStyle::top},
        {u"右上", &FrameStyle::topRight},    {u"右", &FrameStyle::right},
        {u"右下", &FrameStyle::bottomRight}, {u"下", &FrameStyle::bottom},
        {u"左下", &FrameStyle::bottomLeft},  {u"左", &FrameStyle::left},
        {u"しっぽ", &FrameStyle::tail}};
    int number = 0;
    for (const std::u16string& line : grid::SplitText(grid::normaliseLineEnds(text))) {
        ++number;
        if (line.empty() || line.front() == u'#') {
            continue;
        }
        if (line.front() == u'[' && line.back() == u']' && line.size() > 2) {
            finish();
            current = FrameStyle{};
            current->name = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t eq = line.find(u'=');
        bool read = false;
        if (current && eq != std::u16string::npos) {
            const std::u16string key = line.substr(0, eq);
            const std::u16string value = line.substr(eq + 1);
            if (auto it = pieces.find(key); it != pieces.end()) {
                (*current).*(it->second) = value;
                read = value.find_first_of(u"\t") == std::u16string::npos;
            } else if (key == u"余白" && !value.empty() && value.size() <= 2 &&
                       std::all_of(value.begin(), value.end(),
                                   [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
                const int margin = std::stoi(std::string(value.begin(), value.end()));
                read = margin <= 20;
                if (read) {
                    current->margin = margin;
                }
            }
        }
        if (!read && badLines) {
            badLines->push_back(number);
        }
    }
    finish();
    return styles;
}

std::u16string_view builtInFrameStyles()
{
    return u"# Frames around text: [name], then the eight pieces, the margin in half-width units\n"
           u"# (余白) and, for a bubble, the tail (しっぽ) that stands on the middle line.\n"
           u"[四角]\n左上=┌\n上=─\n右上=┐\n右=│\n右下=┘\n下=─\n左下=└\n左=│\n余白=2\n"
           u"[太線]\n左上=┏\n上=━\n右上=┓\n右=┃\n右下=┛\n下=━\n左下=┗\n左=┃\n余白=2\n"
           u"[吹き出し]\n左上=／\n上=￣\n右上=＼\n右=｜\n右下=／\n下=＿\n左下=＼\n左=｜\n余白=2\n"
           u"[しっぽ付き吹き出し]\n左上=／\n上=￣\n右上=＼\n右=｜\n右下=／\n下=＿\n左下=＼\n"
           u"左=｜\nしっぽ=＜\n余白=2\n"
           u"[丸かっこ]\n左上=　\n上=＿\n右上=　\n右=）\n右下=　\n下=￣\n左下=　\n左=（\n余白=2\n";
}

namespace {

bool blank(char16_t c)
{
    return board::isBoardBlank(c);
}

/// text laid over line at unit column col: the cells it covers go, a full-width character half
/// covered leaves " " for its other half.
std::u16string overlay(std::u16string_view line, int col, std::u16string_view text)
{
    return grid::splitAtUnitColumn(line, col).left + std::u16string(text) +
           grid::splitAtUnitColumn(line, col + grid::WidthOf(text)).right;
}

/// Blanks n units wide: full-width spaces, then a half-width one for an odd unit.
std::u16string blanks(int n)
{
    std::u16string out(static_cast<size_t>(std::max(n, 0) / 2), grid::kFullSpace);
    if (n > 0 && n % 2 != 0) {
        out += grid::kHalfSpace;
    }
    return out;
}

/// The unit span [start, end) of a line's visible characters; start == end when there are none.
std::pair<int, int> visibleUnits(std::u16string_view line)
{
    int x = 0;
    int start = -1;
    int end = 0;
    for (char16_t c : line) {
        const int w = grid::charWidth(c);
        if (!blank(c) && w > 0) {
            if (start < 0) {
                start = x;
            }
            end = x + w;
        }
        x += w;
    }
    return start < 0 ? std::make_pair(0, 0) : std::make_pair(start, end);
}

/// Pieces repeated to fill span units exactly when they can; the rest as blanks.
std::u16string filled(std::u16string_view piece, int span)
{
    const int w = std::max(grid::WidthOf(piece), 1);
    std::u16string out;
    for (int i = 0; i < span / w; ++i) {
        out += piece;
    }
    return out + blanks(span % w);
}

}  // namespace

Framed frameCells(const std::vector<std::u16string>& lines, int first, int last,
                  const FrameStyle& style, int column, int width)
{
    Framed out;
    out.lines = lines;
    const int count = static_cast<int>(lines.size());
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    int c0 = column;
    int c1 = column + width;
    if (width <= 0) {
        c0 = -1;
        c1 = 0;
        for (int i = first; i <= last; ++i) {
            auto [s, e] = visibleUnits(lines[static_cast<size_t>(i)]);
            if (e > s) {
                c0 = c0 < 0 ? s : std::min(c0, s);
                c1 = std::max(c1, e);
            }
        }
        if (c0 < 0) {
            out.refused = FrameRefusal::Nothing;
            return out;
        }
    }
    const int wLeft = std::max({grid::WidthOf(style.left), grid::WidthOf(style.topLeft),
                                grid::WidthOf(style.bottomLeft), grid::WidthOf(style.tail)});
    const int leftCol = c0 - style.margin - wLeft;
    const int wTop = std::max(grid::WidthOf(style.top), 1);
    // The inside as a whole number of top pieces, so the top line has no gap.
    const int inner = c1 + style.margin - (leftCol + wLeft);
    const int rightCol = leftCol + wLeft + (inner + wTop - 1) / wTop * wTop;
    const int wRight = std::max({grid::WidthOf(style.right), grid::WidthOf(style.topRight),
                                 grid::WidthOf(style.bottomRight)});
    const int lineWidth = count > 0 ? grid::WidthOf(lines.front()) : 0;
    if (first > last || first < 1 || last + 1 >= count || leftCol < 0 ||
        rightCol + wRight > lineWidth) {
        out.refused = FrameRefusal::NoRoom;
        return out;
    }
    // Pieces narrower than their column are padded with blanks on the inner side.
    auto leftPiece = [&](std::u16string_view piece) {
        return blanks(wLeft - grid::WidthOf(piece)) + std::u16string(piece);
    };
    auto rightPiece = [&](std::u16string_view piece) {
        return std::u16string(piece) + blanks(wRight - grid::WidthOf(piece));
    };
    const int middle = (first + last) / 2;
    for (int i = first; i <= last; ++i) {
        std::u16string& line = out.lines[static_cast<size_t>(i)];
        const std::u16string& side = i == middle && !style.tail.empty() ? style.tail : style.left;
        line = overlay(line, leftCol, leftPiece(side) + blanks(c0 - (leftCol + wLeft)));
        line = overlay(line, c1, blanks(rightCol - c1) + rightPiece(style.right));
    }
    const int span = rightCol - (leftCol + wLeft);
    std::u16string& top = out.lines[static_cast<size_t>(first - 1)];
    top = overlay(top, leftCol,
                  leftPiece(style.topLeft) + filled(style.top, span) + rightPiece(style.topRight));
    std::u16string& bottom = out.lines[static_cast<size_t>(last + 1)];
    bottom = overlay(bottom, leftCol, leftPiece(style.bottomLeft) + filled(style.bottom, span) +
                                          rightPiece(style.bottomRight));
    return out;
}

namespace {

int dotsOfText(std::u16string_view text, const board::CharDots& dots)
{
    int x = 0;
    for (char16_t c : text) {
        x += board::isBoardBlank(c) ? board::runDots(std::u16string_view(&c, 1)) : dots(c);
    }
    return x;
}

/// A line built piece by piece at dot positions, with composed blank runs between.
class DotLine
{
public:
    DotLine(const board::CharDots& dots, bool unicodeSpaces)
        : m_dots(dots), m_unicode(unicodeSpaces)
    {
    }
    /// Blanks up to x, then text.
    void put(int x, std::u16string_view text)
    {
        const bool halfAfter = !text.empty() && text.front() == grid::kHalfSpace;
        const bool halfBefore = !m_text.empty() && m_text.back() == grid::kHalfSpace;
        const board::ComposedRun run =
            board::composeBlankRun(x - m_x, {m_text.empty(), halfBefore, halfAfter}, m_unicode);
        m_text += run.text;
        m_x += run.dots;
        m_off = std::max(m_off, std::abs(m_x - x));
        m_text += text;
        m_x += dotsOfText(text, m_dots);
    }
    int x() const { return m_x; }
    int off() const { return m_off; }
    /// The line filled with blanks to units; nullopt when it is wider.
    std::optional<std::u16string> fitted(int units) const
    {
        const int width = grid::WidthOf(m_text);
        if (width > units) {
            return std::nullopt;
        }
        std::u16string out = m_text;
        if ((units - width) % 2 != 0) {
            out += grid::kHalfSpace;
        }
        out.append(static_cast<size_t>((units - width) / 2), grid::kFullSpace);
        return out;
    }

private:
    const board::CharDots& m_dots;
    bool m_unicode;
    std::u16string m_text;
    int m_x = 0;
    int m_off = 0;
};

}  // namespace

Framed frameDots(const std::vector<std::u16string>& lines, int first, int last,
                 const FrameStyle& style, const board::CharDots& dots, bool unicodeSpaces)
{
    Framed out;
    out.lines = lines;
    const int count = static_cast<int>(lines.size());
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (first > last || first < 1 || last + 1 >= count) {
        out.refused = FrameRefusal::NoRoom;
        return out;
    }
    // Each framed line's characters from its first visible one to its last, and where they start.
    struct Content
    {
        std::u16string text;
        int x = 0;
    };
    std::vector<Content> contents;
    int x0 = -1;
    int x1 = 0;
    for (int i = first; i <= last; ++i) {
        const std::u16string& line = lines[static_cast<size_t>(i)];
        size_t s = 0;
        while (s < line.size() && blank(line[s])) {
            ++s;
        }
        size_t e = line.size();
        while (e > s && blank(line[e - 1])) {
            --e;
        }
        Content c{line.substr(s, e - s), dotsOfText(std::u16string_view(line).substr(0, s), dots)};
        if (!c.text.empty()) {
            x0 = x0 < 0 ? c.x : std::min(x0, c.x);
            x1 = std::max(x1, c.x + dotsOfText(c.text, dots));
        }
        contents.push_back(std::move(c));
    }
    if (x0 < 0) {
        out.refused = FrameRefusal::Nothing;
        return out;
    }
    for (int i : {first - 1, last + 1}) {
        const std::u16string& line = lines[static_cast<size_t>(i)];
        if (std::any_of(line.begin(), line.end(), [](char16_t c) { return !blank(c); })) {
            out.refused = FrameRefusal::NotBlank;
            return out;
        }
    }
    const int margin = style.margin / 2 * board::kFullSpaceDots +
                       style.margin % 2 * board::kHalfSpaceDots;
    auto w = [&](std::u16string_view t) { return dotsOfText(t, dots); };
    const int wLeft = std::max({w(style.left), w(style.topLeft), w(style.bottomLeft), w(style.tail)});
    const int leftX = x0 - margin - wLeft;
    const int wTop = std::max(w(style.top), 1);
    const int inner = x1 + margin - (leftX + wLeft);
    const int pieces = (inner + wTop - 1) / wTop;
    const int rightX = leftX + wLeft + pieces * wTop;
    if (leftX < 0) {
        out.refused = FrameRefusal::NoRoom;
        return out;
    }
    const int units = grid::WidthOf(lines.front());
    std::vector<std::u16string> framed;
    int off = 0;
    auto finish = [&](const DotLine& line) {
        auto fitted = line.fitted(units);
        if (fitted) {
            framed.push_back(*fitted);
            if (line.off() > 0) {
                ++off;
                out.largestOff = std::max(out.largestOff, line.off());
            }
        }
        return fitted.has_value();
    };
    auto rule = [&](std::u16string_view leftPiece, std::u16string_view piece,
                    std::u16string_view rightPiece) {
        DotLine line(dots, unicodeSpaces);
        line.put(leftX + wLeft - w(leftPiece), leftPiece);
        std::u16string run;
        const int n = std::max((rightX - line.x()) / std::max(w(piece), 1), 0);
        for (int k = 0; k < n; ++k) {
            run += piece;
        }
        line.put(line.x(), run);
        line.put(rightX, rightPiece);
        return finish(line);
    };
    bool fits = rule(style.topLeft, style.top, style.topRight);
    const int middle = (first + last) / 2;
    for (int i = first; i <= last && fits; ++i) {
        const Content& c = contents[static_cast<size_t>(i - first)];
        const std::u16string& side = i == middle && !style.tail.empty() ? style.tail : style.left;
        DotLine line(dots, unicodeSpaces);
        line.put(leftX + wLeft - w(side), side);
        if (!c.text.empty()) {
            line.put(c.x, c.text);
        }
        line.put(rightX, style.right);
        fits = finish(line);
    }
    fits = fits && rule(style.bottomLeft, style.bottom, style.bottomRight);
    if (!fits) {
        out.refused = FrameRefusal::NoRoom;
        return out;
    }
    std::copy(framed.begin(), framed.end(), out.lines.begin() + (first - 1));
    out.offLines = off;
    return out;
}

}  // namespace masumemo::shapes
