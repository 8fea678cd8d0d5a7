#include "Fit.h"

#include <algorithm>

#include "Cp932.h"
#include "LineModel.h"

namespace masumemo::grid {
namespace {

/// Spaces that fill shortfall units: an odd one gets " " first, the rest full-width spaces.
void appendPadding(std::u16string& line, long long shortfall)
{
    if (shortfall <= 0) {
        return;
    }
    if (shortfall % 2 != 0) {
        line.push_back(kHalfSpace);
    }
    line.append(static_cast<size_t>(shortfall / 2), kFullSpace);
}

bool isControl(char16_t c)
{
    return c < 0x20 || c == 0x7F;
}

}  // namespace

bool withinSizeLimit(int keta, int gyou)
{
    if (keta < 0 || gyou < 0) {
        return false;
    }
    if (keta == 0 || gyou == 0) {
        return true;
    }
    // keta x 2 x gyou <= limit, by division so that no product can overflow.
    return keta <= kMaxCanvasUnits / 2 / gyou;
}

std::vector<std::u16string> canvasLines(std::u16string_view canvas)
{
    if (canvas.empty()) {
        return {};
    }
    return SplitText(canvas);
}

std::u16string fitLineWidth(std::u16string_view line, int keta)
{
    const long long target = 2LL * std::max(keta, 0);
    long long width = WidthOf(line);
    size_t end = line.size();
    while (width > target && end > 0) {
        --end;
        width -= charWidth(line[end]);
    }
    std::u16string out(line.substr(0, end));
    appendPadding(out, target - width);
    return out;
}

std::u16string resizeColumns(std::u16string_view canvas, int keta)
{
    std::vector<std::u16string> lines = canvasLines(canvas);
    for (std::u16string& line : lines) {
        line = fitLineWidth(line, keta);
    }
    return joinLines(lines);
}

std::u16string resizeLines(std::u16string_view canvas, int gyou, int keta)
{
    if (gyou <= 0) {
        return {};
    }
    std::vector<std::u16string> lines = canvasLines(canvas);
    const auto count = static_cast<size_t>(gyou);
    if (lines.size() > count) {
        lines.resize(count);
    } else {
        lines.resize(count, blankLine(keta));
    }
    return joinLines(lines);
}

std::vector<std::u16string> splitFileLines(std::u16string_view text)
{
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c != u'\r' && c != u'\n') {
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
    }
    return lines;
}

FittedCanvas fitToGrid(const std::vector<std::u16string>& lines)
{
    long long widest = 0;
    for (const std::u16string& line : lines) {
        widest = std::max<long long>(widest, WidthOf(line));
    }
    FittedCanvas fitted;
    // Lines that are all empty make no columns; such a canvas holds nothing and is 0 x 0, the
    // one form whose text (empty) cannot be read as a number of lines.
    if (widest == 0) {
        return fitted;
    }
    fitted.keta = static_cast<int>((widest + 1) / 2);
    fitted.gyou = static_cast<int>(lines.size());
    std::vector<std::u16string> padded;
    padded.reserve(lines.size());
    for (const std::u16string& line : lines) {
        padded.push_back(fitLineWidth(line, fitted.keta));
    }
    fitted.text = joinLines(padded);
    return fitted;
}

std::string canvasFileBytes(std::u16string_view canvas)
{
    std::u16string text;
    text.reserve(canvas.size() + 2);
    for (const std::u16string& line : canvasLines(canvas)) {
        text += trimTrailingSpaces(line);
        text += kCrLf;
    }
    return encodeCp932(text);
}

CanvasFile readCanvasFile(std::string_view bytes)
{
    CanvasFile file;
    if (bytes.find('\0') != std::string_view::npos) {
        return file;
    }
    file.isText = true;
    std::vector<std::u16string> lines = splitFileLines(decodeCp932(bytes, &file.substituted));
    for (std::u16string& line : lines) {
        if (std::erase_if(line, isControl) > 0) {
            file.controlsDropped = true;
        }
    }
    file.canvas = fitToGrid(lines);
    return file;
}

}  // namespace masumemo::grid
