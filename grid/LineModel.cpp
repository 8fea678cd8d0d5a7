#include "LineModel.h"

#include <algorithm>

#include "Cp932.h"
#include "Scan.h"

namespace masumemo::grid {

LineRecord makeLineRecord(std::u16string_view text)
{
    return {text, static_cast<int>(text.size()), WidthOf(text)};
}

CanvasSplit SplitCanvas(std::u16string_view text, int caret)
{
    CanvasSplit split;
    split.column = caret;
    bool found = false;
    size_t pos = 0;
    for (;;) {
        const size_t cr = scan::findCr(text, pos);
        const int length = static_cast<int>(cr - pos);
        split.lines.push_back(makeLineRecord(text.substr(pos, cr - pos)));
        if (cr == text.size()) {
            break;
        }
        if (!found) {
            if (split.column > length) {
                split.column -= length + 2;
                ++split.line;
            } else {
                found = true;
            }
        }
        pos = std::min(text.size(), cr + 2);
    }
    return split;
}

std::vector<std::u16string> SplitText(std::u16string_view s)
{
    std::vector<std::u16string> parts;
    size_t pos = 0;
    for (;;) {
        const size_t cr = s.find(u'\r', pos);
        if (cr == std::u16string_view::npos) {
            parts.emplace_back(s.substr(pos));
            return parts;
        }
        parts.emplace_back(s.substr(pos, cr - pos));
        pos = std::min(s.size(), cr + 2);
    }
}

std::u16string blankLine(int keta)
{
    return std::u16string(static_cast<size_t>(std::max(keta, 0)), kFullSpace);
}

std::u16string blankCanvas(int keta, int gyou)
{
    if (keta <= 0 || gyou <= 0) {
        return {};
    }
    const std::u16string line = blankLine(keta);
    std::u16string text;
    text.reserve(static_cast<size_t>(gyou) * (line.size() + 2));
    for (int i = 0; i < gyou; ++i) {
        if (i > 0) {
            text += kCrLf;
        }
        text += line;
    }
    return text;
}

namespace {
template <typename Lines, typename TextOf>
std::u16string joinWith(const Lines& lines, TextOf textOf)
{
    size_t size = 0;
    for (const auto& line : lines) {
        size += textOf(line).size() + 2;
    }
    std::u16string text;
    text.reserve(size);
    bool first = true;
    for (const auto& line : lines) {
        if (!first) {
            text += kCrLf;
        }
        first = false;
        text += textOf(line);
    }
    return text;
}
}  // namespace

std::u16string joinLines(const std::vector<std::u16string>& lines)
{
    return joinWith(lines, [](const std::u16string& s) -> const std::u16string& { return s; });
}

std::u16string joinLines(const std::vector<LineRecord>& lines)
{
    return joinWith(lines, [](const LineRecord& r) { return r.Text; });
}

int lineStartOffset(const std::vector<LineRecord>& lines, int line)
{
    int offset = 0;
    for (int i = 0; i + 1 < line && i < static_cast<int>(lines.size()); ++i) {
        offset += lines[static_cast<size_t>(i)].CharCount + 2;
    }
    return offset;
}

std::u16string_view withoutTrailingSpaces(std::u16string_view s)
{
    size_t end = s.size();
    while (end > 0 && (s[end - 1] == kHalfSpace || s[end - 1] == kFullSpace)) {
        --end;
    }
    return s.substr(0, end);
}

std::u16string trimTrailingSpaces(std::u16string_view s)
{
    return std::u16string(withoutTrailingSpaces(s));
}

std::u16string lineEndsAs(std::u16string_view s, std::u16string_view end)
{
    std::u16string out;
    out.reserve(s.size() + s.size() / 16);
    size_t start = 0;
    while (start < s.size()) {
        // Whole runs between line ends are copied at once: the canvas is converted on every
        // open, copy and clipboard paste.
        const size_t at = scan::findBreak(s, start);
        out.append(s.substr(start, at - start));
        if (at == s.size()) {
            break;
        }
        out.append(end);
        start = at + (s[at] == u'\r' && at + 1 < s.size() && s[at + 1] == u'\n' ? 2 : 1);
    }
    return out;
}

std::u16string normaliseLineEnds(std::u16string_view s)
{
    return lineEndsAs(s, kCrLf);
}

std::u16string toIncomingCanvasText(std::u16string_view s)
{
    std::u16string text = normaliseLineEnds(s);
    std::erase_if(text, [](char16_t c) {
        return (c < 0x20 && c != u'\r' && c != u'\n') || c == 0x7F;
    });
    return toCanvasForm(text);
}

char16_t HanZenSP(char16_t c)
{
    return charWidth(c) == 1 ? kHalfSpace : kFullSpace;
}

std::u16string SelToSP(std::u16string_view text, int start, int len)
{
    std::u16string out(text);
    const size_t from = static_cast<size_t>(std::clamp(start, 0, static_cast<int>(text.size())));
    const size_t to = std::min(text.size(), from + static_cast<size_t>(std::max(len, 0)));
    for (size_t i = from; i < to; ++i) {
        if (out[i] != u'\r' && out[i] != u'\n') {
            out[i] = HanZenSP(out[i]);
        }
    }
    return out;
}

bool SelEnter(std::u16string_view s)
{
    return s.find(u'\r') != std::u16string_view::npos;
}

int charsWithinWidth(std::u16string_view s, int units)
{
    int width = 0;
    int count = 0;
    for (char16_t c : s) {
        width += charWidth(c);
        if (width > units) {
            break;
        }
        ++count;
    }
    return count;
}

UnitSplit splitAtUnitColumn(std::u16string_view line, int k)
{
    int width = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (width >= k) {
            return {std::u16string(line.substr(0, i)), std::u16string(line.substr(i))};
        }
        const int w = charWidth(line[i]);
        if (width + w > k) {
            // k falls inside this full-width character: a space for each surviving half.
            return {std::u16string(line.substr(0, i)) + kHalfSpace,
                    kHalfSpace + std::u16string(line.substr(i + 1))};
        }
        width += w;
    }
    return {std::u16string(line), std::u16string()};
}

std::u16string dropLeadingWidth(std::u16string_view s, int width)
{
    int dropped = 0;
    size_t i = 0;
    while (dropped < width && i < s.size()) {
        dropped += charWidth(s[i]);
        ++i;
    }
    std::u16string rest(s.substr(i));
    if (dropped > width) {
        rest.insert(rest.begin(), kHalfSpace);
    }
    return rest;
}

std::u16string dropTrailingWidth(std::u16string_view s, int width)
{
    int dropped = 0;
    size_t end = s.size();
    while (dropped < width && end > 0) {
        --end;
        dropped += charWidth(s[end]);
    }
    std::u16string rest(s.substr(0, end));
    if (dropped > width) {
        rest.push_back(kHalfSpace);
    }
    return rest;
}

}  // namespace masumemo::grid
