#include "Fit.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "Cp932.h"
#include "LineModel.h"
#include "Scan.h"

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

std::vector<std::u16string_view> splitFileLines(std::u16string_view text)
{
    std::vector<std::u16string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = scan::findBreak(text, start);
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() &&
            text[end + 1] == u'\n') {
            ++end;
        }
        start = end + 1;
    }
    return lines;
}

namespace {

/// Lines with their widths, measured once for both the size and the padding.
struct MeasuredLines
{
    std::vector<int> widths;
    long long widest = 0;
    bool tooLarge = false;
};

MeasuredLines measure(const std::vector<std::u16string_view>& lines, long long maxUnits)
{
    MeasuredLines m;
    // A line's width is at least its character count: check that first, so that no width is
    // summed past what an int holds.
    const auto longest = std::ranges::max(lines, {}, &std::u16string_view::size);
    if (static_cast<long long>(longest.size()) > maxUnits) {
        m.tooLarge = true;
        return m;
    }
    m.widths.reserve(lines.size());
    for (const std::u16string_view line : lines) {
        m.widths.push_back(WidthOf(line));
        m.widest = std::max<long long>(m.widest, m.widths.back());
    }
    const long long columns = (m.widest + 1) / 2;
    m.tooLarge = columns > 0 && 2 * columns > maxUnits / static_cast<long long>(lines.size());
    return m;
}

FittedCanvas fitMeasured(const std::vector<std::u16string_view>& lines, const MeasuredLines& m)
{
    FittedCanvas fitted;
    // Lines that are all empty make no columns; such a canvas holds nothing and is 0 x 0, the
    // one form whose text (empty) cannot be read as a number of lines.
    if (m.widest == 0) {
        return fitted;
    }
    fitted.keta = static_cast<int>((m.widest + 1) / 2);
    fitted.gyou = static_cast<int>(lines.size());
    const long long target = 2LL * fitted.keta;
    // Every character is at least one unit wide: the padded lines fit in this.
    fitted.text.reserve(lines.size() * static_cast<size_t>(target + 2));
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            fitted.text += kCrLf;
        }
        fitted.text += lines[i];
        appendPadding(fitted.text, target - m.widths[i]);
    }
    return fitted;
}

}  // namespace

FittedCanvas fitToGrid(const std::vector<std::u16string_view>& lines)
{
    if (lines.empty()) {
        return {};
    }
    return fitMeasured(lines, measure(lines, std::numeric_limits<long long>::max()));
}

std::string canvasFileBytes(std::u16string_view canvas, const CanvasFileForm& form)
{
    std::u16string text;
    text.reserve(canvas.size() + 2);
    for (const std::u16string& line : canvasLines(canvas)) {
        text += withoutTrailingSpaces(line);
        text += kCrLf;
    }
    if (form.encoding == TextEncoding::Cp932) {
        return encodeCp932WithReferences(text, form.spelling);
    }
    std::string bytes(form.byteOrderMark ? kUtf8ByteOrderMark : std::string_view());
    return bytes + encodeUtf8(text);
}

namespace {

/// Leaves out the control characters other than the line ends, which never enter the canvas;
/// true when there were any.
bool dropControls(std::u16string& text)
{
    return std::erase_if(text, [](char16_t c) {
               return isControl(c) && c != u'\r' && c != u'\n';
           }) > 0;
}

/// The part of reading a file after its bytes are decoded, its controls left out and its
/// references read.
void fitText(CanvasFile& file, std::u16string text, bool canvasForm, long long maxUnits,
             bool sizeOnly = false)
{
    if (!canvasForm) {
        text = toCanvasForm(text);
    }
    const std::vector<std::u16string_view> lines = splitFileLines(text);
    if (lines.empty()) {
        return;
    }
    const MeasuredLines measured = measure(lines, maxUnits);
    if (measured.tooLarge) {
        file.tooLarge = true;
        return;
    }
    if (sizeOnly) {
        if (measured.widest > 0) {
            file.canvas.keta = static_cast<int>((measured.widest + 1) / 2);
            file.canvas.gyou = static_cast<int>(lines.size());
        }
        return;
    }
    file.canvas = fitMeasured(lines, measured);
}

}  // namespace

CanvasFile readCanvasFile(std::string_view bytes, long long maxUnits)
{
    return readCanvasFile(bytes, detectEncoding(bytes), maxUnits);
}

CanvasFile readCanvasFile(std::string_view bytes, DetectedEncoding detected, long long maxUnits,
                          bool sizeOnly)
{
    CanvasFile file;
    if (bytes.find('\0') != std::string_view::npos) {
        return file;
    }
    file.isText = true;
    std::u16string text = readCanvasFileText(bytes, detected, file);
    // Decoded code page 932 is in its round-trip form already; UTF-8 may hold look-alikes.
    fitText(file, std::move(text), detected.encoding == TextEncoding::Cp932, maxUnits, sizeOnly);
    return file;
}

std::u16string readCanvasFileText(std::string_view bytes, DetectedEncoding detected,
                                  CanvasFile& file)
{
    file.form.encoding = detected.encoding;
    file.form.byteOrderMark = detected.byteOrderMark;
    // Controls are left out before references are read: a reference must not form across one
    // ("&#64" Tab "44" is no reference, "&#6444" is). The one pass over the bytes declines
    // where that could happen, and the steps are then taken one by one.
    std::optional<std::u16string> fused;
    if (detected.encoding == TextEncoding::Cp932) {
        fused = decodeCp932WithReferences(bytes, &file.substituted, &file.form.spelling);
    }
    std::u16string text = fused ? std::move(*fused) : decodeText(bytes, detected, &file.substituted);
    file.controlsDropped = dropControls(text);
    if (!fused) {
        decodeReferencesInPlace(text, &file.form.spelling);
    }
    return text;
}

CanvasFile readCanvasText(std::u16string_view text, long long maxUnits)
{
    CanvasFile file;
    file.isText = true;
    std::u16string own(text);
    file.controlsDropped = dropControls(own);
    fitText(file, std::move(own), false, maxUnits);
    return file;
}

}  // namespace masumemo::grid
