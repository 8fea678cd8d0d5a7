#include "Mirror.h"

#include <algorithm>

#include "board/BlankComposer.h"
#include "board/DotBlock.h"
#include "board/BoardBlanks.h"
#include "grid/Cp932.h"
#include "grid/LineModel.h"

namespace masumemo::shapes {

namespace {

/// A text's characters, a surrogate pair as one.
std::vector<char32_t> characters(std::u16string_view s)
{
    std::vector<char32_t> out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if ((c & 0xFC00) == 0xD800 && i + 1 < s.size() && (s[i + 1] & 0xFC00) == 0xDC00) {
            out.push_back(0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                          (static_cast<char32_t>(s[i + 1]) - 0xDC00));
            ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::u16string toUtf16(char32_t c)
{
    if (c < 0x10000) {
        return std::u16string(1, static_cast<char16_t>(c));
    }
    c -= 0x10000;
    return {static_cast<char16_t>(0xD800 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
}

/// The image of c when it takes the same cells; a table pair of another width would break the
/// grid, so such a character stays as it is.
std::u16string imageInCells(char32_t c, const MirrorTable& table)
{
    const std::u16string own = toUtf16(c);
    std::u16string image = toUtf16(table.mirror(c));
    return grid::WidthOf(image) == grid::WidthOf(own) ? image : own;
}

bool isSkipped(std::u16string_view line)
{
    return line.empty() || line.front() == u'#';
}

}  // namespace

std::vector<int> MirrorTable::addPairs(std::u16string_view text)
{
    std::vector<int> bad;
    int number = 0;
    for (const std::u16string& raw : grid::SplitText(grid::normaliseLineEnds(text))) {
        ++number;
        std::vector<char32_t> chars;
        for (char32_t c : characters(raw)) {
            if (c != u' ' && c != u'\t' && c != u'\u3000') {
                chars.push_back(c);
            }
        }
        if (chars.empty() || isSkipped(raw)) {
            continue;
        }
        if (chars.size() != 2 || chars[0] == chars[1]) {
            bad.push_back(number);
            continue;
        }
        for (char32_t c : chars) {
            if (auto old = m_pairs.find(c); old != m_pairs.end()) {
                m_pairs.erase(old->second);
                m_pairs.erase(old);
            }
        }
        m_pairs[chars[0]] = chars[1];
        m_pairs[chars[1]] = chars[0];
    }
    return bad;
}

char32_t MirrorTable::mirror(char32_t c) const
{
    const auto it = m_pairs.find(c);
    return it == m_pairs.end() ? c : it->second;
}

std::u16string MirrorTable::imageOf(std::u16string_view character) const
{
    const std::vector<char32_t> chars = characters(character);
    return chars.size() == 1 ? toUtf16(mirror(chars.front())) : std::u16string(character);
}

std::u16string_view builtInLeftRightPairs()
{
    // The mirrored pairs of Unicode that code page 932 holds, then the shapes text art turns
    // round: slashes, box corners and sides, kana strokes, accents and quotes, arrows, letters.
    return u"# Unicode's mirrored pairs\n"
           u"()\n<>\n[]\n{}\n（）\n＜＞\n［］\n｛｝\n〈〉\n《》\n「」\n『』\n【】\n〔〕\n"
           u"≪≫\n≦≧\n∈∋\n⊂⊃\n⊆⊇\n"
           u"# Shapes of text art\n"
           u"/\\\n／＼\n╱╲\n┌┐\n└┘\n├┤\n┏┓\n┗┛\n┣┫\n┠┨\n┝┥\n"
           u"ノヽ\n´｀\n‘’\n“”\n←→\nミ彡\nbd\npq\nｂｄ\nｐｑ\n";
}

std::u16string_view builtInUpsideDownPairs()
{
    return u"∧∨\n⌒＿\n^v\n↑↓\n∩∪\n▲▼\n△▽\n┌└\n┐┘\n┬┴\n┏┗\n┓┛\n┳┻\n"
           u"/\\\n／＼\n╱╲\nbp\ndq\nｂｐ\nｄｑ\nMW\nＭＷ\nnu\nｎｕ\n";
}

std::vector<std::u16string> mirrorCells(const std::vector<std::u16string>& lines,
                                        const MirrorTable& table)
{
    std::vector<std::u16string> out;
    out.reserve(lines.size());
    for (const std::u16string& line : lines) {
        std::vector<char32_t> chars = characters(line);
        std::reverse(chars.begin(), chars.end());
        std::u16string mirrored;
        mirrored.reserve(line.size());
        for (char32_t c : chars) {
            mirrored += imageInCells(c, table);
        }
        out.push_back(std::move(mirrored));
    }
    return out;
}

std::vector<std::u16string> mirrorUpsideDown(const std::vector<std::u16string>& lines,
                                             const MirrorTable& table)
{
    std::vector<std::u16string> out;
    out.reserve(lines.size());
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        std::u16string flipped;
        for (char32_t c : characters(*it)) {
            flipped += imageInCells(c, table);
        }
        out.push_back(std::move(flipped));
    }
    return out;
}

namespace {

/// A visible character of a line and where it stands, in dots.
struct Placed
{
    char32_t c = 0;
    int x = 0;
    int width = 0;
};

int dotsOf(char32_t c, const board::CharDots& dots)
{
    int w = 0;
    for (char16_t u : toUtf16(c)) {
        w += dots(u);
    }
    return w;
}

std::vector<Placed> visibleCharacters(std::u16string_view line, const board::CharDots& dots)
{
    std::vector<Placed> out;
    for (const board::DotSpan& s : board::dotSpans(line, dots)) {
        if (!s.blank) {
            const std::u16string_view c =
                line.substr(static_cast<size_t>(s.index), static_cast<size_t>(s.size));
            out.push_back({characters(c).front(), s.x, s.width});
        }
    }
    return out;
}

}  // namespace

DotMirror mirrorDots(const std::vector<std::u16string>& lines, const MirrorTable& table,
                     const board::CharDots& dots, bool unicodeSpaces)
{
    std::vector<std::vector<Placed>> placed;
    int left = -1;
    int right = 0;
    for (const std::u16string& line : lines) {
        placed.push_back(visibleCharacters(line, dots));
        const auto& p = placed.back();
        if (!p.empty()) {
            left = left < 0 ? p.front().x : std::min(left, p.front().x);
            right = std::max(right, p.back().x + p.back().width);
        }
    }
    DotMirror out;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::vector<Placed>& p = placed[i];
        if (p.empty()) {
            out.lines.push_back(lines[i]);
            continue;
        }
        std::u16string line;
        int x = 0;
        int off = 0;
        int largest = 0;
        for (auto it = p.rbegin(); it != p.rend(); ++it) {
            const int target = left + right - it->x - it->width;
            const board::ComposedRun run =
                board::composeBlankRun(target - x, {line.empty(), false, false}, unicodeSpaces);
            line += run.text;
            x += run.dots;
            if (x != target) {
                ++off;
                largest = std::max(largest, std::abs(x - target));
            }
            const char32_t image = table.mirror(it->c);
            line += toUtf16(image);
            x += dotsOf(image, dots);
        }
        const int units = grid::WidthOf(lines[i]);
        const int width = grid::WidthOf(line);
        if (width > units) {
            out.lines.push_back(lines[i]);
            ++out.unchangedLines;
            continue;
        }
        if ((units - width) % 2 != 0) {
            line += grid::kHalfSpace;
        }
        line.append(static_cast<size_t>((units - width) / 2), grid::kFullSpace);
        out.offCharacters += off;
        out.largestOff = std::max(out.largestOff, largest);
        out.lines.push_back(std::move(line));
    }
    return out;
}

}  // namespace masumemo::shapes
