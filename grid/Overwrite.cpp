#include "Overwrite.h"

#include <cstring>
#include <initializer_list>
#include <optional>
#include <vector>

#include "Cp932.h"
#include "LineModel.h"

namespace masumemo::grid {

namespace {

using View = std::u16string_view;

/// One canvas line as a range of the canvas text, without its CR LF.
struct LineSpan
{
    size_t start = 0;
    size_t end = 0;
};

bool isLineBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

/// Characters that never enter the canvas (Tab among them); CR and LF count as such here.
bool isControl(char16_t c)
{
    return c < 0x20 || c == 0x7F;
}

/// True when the range is a whole canvas line of the given width: no CR or LF inside, a CR LF
/// (or the text's start) before it and a CR LF (or the text's end) after it.
bool isGridLine(View text, LineSpan span, long long width)
{
    if (span.start > span.end || span.end > text.size()) {
        return false;
    }
    if (span.start != 0 &&
        (span.start < 2 || text[span.start - 2] != u'\r' || text[span.start - 1] != u'\n')) {
        return false;
    }
    if (span.end != text.size() &&
        (span.end + 1 >= text.size() || text[span.end] != u'\r' || text[span.end + 1] != u'\n')) {
        return false;
    }
    const View line = text.substr(span.start, span.end - span.start);
    for (char16_t c : line) {
        if (isLineBreak(c)) {
            return false;
        }
    }
    return WidthOf(line) == width;
}

/// The line that holds the caret offset, when it is a well-formed line of the given width.
/// A caret between a CR and its LF lies on no line.
std::optional<LineSpan> gridLineAt(View text, size_t caret, long long width)
{
    if (caret > text.size()) {
        return std::nullopt;
    }
    LineSpan span;
    if (caret > 0) {
        const size_t lf = text.rfind(u'\n', caret - 1);
        span.start = lf == View::npos ? 0 : lf + 1;
    }
    const size_t cr = text.find(u'\r', caret);
    span.end = cr == View::npos ? text.size() : cr;
    if (!isGridLine(text, span, width)) {
        return std::nullopt;
    }
    return span;
}

/// The line after the given one, when there is one and it is well formed.
std::optional<LineSpan> nextGridLine(View text, LineSpan line, long long width)
{
    if (line.end >= text.size()) {
        return std::nullopt;
    }
    return gridLineAt(text, line.end + 2, width);
}

EditOutcome accept(std::u16string text, size_t caret)
{
    EditOutcome outcome;
    outcome.accepted = true;
    outcome.text = std::move(text);
    outcome.caret = static_cast<int>(caret);
    return outcome;
}

/// The canvas text with [from, to) replaced by the given pieces.
std::u16string spliced(View text, size_t from, size_t to, std::initializer_list<View> pieces)
{
    size_t size = text.size() - (to - from);
    for (View piece : pieces) {
        size += piece.size();
    }
    std::u16string out;
    out.reserve(size);
    out.append(text.substr(0, from));
    for (View piece : pieces) {
        out.append(piece);
    }
    out.append(text.substr(to));
    return out;
}

/// c typed over the cell at the caret. The overwritten cells right after the caret go; a
/// full-width character half covered leaves " " for its other half. Refused at a line end and
/// for a full-width character on the last half-width cell.
EditOutcome overwriteTyped(View canvas, size_t caret, char16_t c, long long width)
{
    const auto line = gridLineAt(canvas, caret, width);
    if (!line || isControl(c) || caret >= line->end) {
        return {};
    }
    const bool typedFull = charWidth(c) == 2;
    const bool nextFull = charWidth(canvas[caret]) == 2;
    size_t removed = 1;
    bool filler = !typedFull && nextFull;
    if (typedFull && !nextFull) {
        if (caret + 1 >= line->end) {
            return {};
        }
        removed = 2;
        filler = charWidth(canvas[caret + 1]) == 2;
    }
    const char16_t typed[] = {c, kHalfSpace};
    return accept(spliced(canvas, caret, caret + removed, {View(typed, filler ? 2 : 1)}),
                  caret + 1);
}

/// The cell at index blanked with the space of its own width. The caret goes to newCaret.
EditOutcome blankCell(View canvas, size_t index, size_t newCaret)
{
    std::u16string out(canvas);
    out[index] = HanZenSP(out[index]);
    return accept(std::move(out), newCaret);
}

EditOutcome deleteAt(View canvas, size_t caret, long long width)
{
    const auto line = gridLineAt(canvas, caret, width);
    if (!line || caret >= line->end) {
        return {};  // at a line end or the text's end there is no cell to blank
    }
    return blankCell(canvas, caret, caret + 1);
}

EditOutcome backspaceAt(View canvas, size_t caret, long long width)
{
    const auto line = gridLineAt(canvas, caret, width);
    if (!line || caret <= line->start) {
        return {};  // at a line start (or the text's start) there is no cell before the caret
    }
    return blankCell(canvas, caret - 1, caret - 1);
}

/// True when every CR of s is followed by LF and every LF follows a CR, and s holds no other
/// control character.
bool isCanvasText(View s)
{
    for (size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c == u'\r') {
            if (i + 1 >= s.size() || s[i + 1] != u'\n') {
                return false;
            }
            ++i;
        } else if (isControl(c)) {
            return false;
        }
    }
    return true;
}

/// The first chars of q that fit into room units, and whether one unit is left over (a
/// full-width character that would stick out past the line end).
struct Fit
{
    size_t chars = 0;
    bool filler = false;
};

Fit fitInto(View q, long long room)
{
    Fit fit;
    const int units = static_cast<int>(room);
    fit.chars = static_cast<size_t>(charsWithinWidth(q, units));
    fit.filler = WidthOf(q.substr(0, fit.chars)) < units;
    return fit;
}

/// A single-line text laid over the caret line from the caret. What runs past the line end is
/// lost; the caret goes after the pasted characters that stayed.
EditOutcome overlayOneLine(View canvas, size_t caret, View pasted, LineSpan line, long long width)
{
    const View head = canvas.substr(line.start, caret - line.start);
    const long long column = WidthOf(head);
    const long long pastedWidth = WidthOf(pasted);
    if (column + pastedWidth <= width) {
        const std::u16string rest =
            dropLeadingWidth(canvas.substr(caret, line.end - caret), static_cast<int>(pastedWidth));
        return accept(spliced(canvas, caret, line.end, {pasted, rest}), caret + pasted.size());
    }
    const Fit fit = fitInto(pasted, width - column);
    const char16_t filler[] = {kHalfSpace};
    return accept(spliced(canvas, caret, line.end,
                          {pasted.substr(0, fit.chars), View(filler, fit.filler ? 1 : 0)}),
                  caret + fit.chars);
}

/// A text of several lines laid over the caret line and the lines below it, each from the
/// caret's unit column; pasted lines past the last canvas line are dropped.
EditOutcome overlayLines(View canvas, size_t caret, View pasted, LineSpan first, long long width)
{
    const std::vector<std::u16string> pastedLines = SplitText(pasted);
    const int column = WidthOf(canvas.substr(first.start, caret - first.start));

    std::u16string rebuilt;  // the target lines, rebuilt and joined
    size_t lastStart = 0;    // offset of the last target line in rebuilt
    size_t caretInLast = 0;
    bool lastShortened = false;
    LineSpan target = first;
    for (size_t i = 0; i < pastedLines.size(); ++i) {
        if (i > 0) {
            const auto next = nextGridLine(canvas, target, width);
            if (!next) {
                if (target.end < canvas.size()) {
                    return {};  // a malformed line below: refuse rather than guess
                }
                break;
            }
            target = *next;
            rebuilt += kCrLf;
        }
        lastStart = rebuilt.size();
        const LaidLine laid = overlayAtColumn(
            canvas.substr(target.start, target.end - target.start), column, pastedLines[i]);
        rebuilt += laid.text;
        caretInLast = laid.caret;
        lastShortened = laid.cut;
    }

    std::u16string out = spliced(canvas, first.start, target.end, {rebuilt});
    size_t newCaret = first.start + lastStart + caretInLast;
    if (lastShortened) {
        // Cut at the line end: the caret goes on to the next line, or to the text's end.
        const size_t lineEnd = first.start + rebuilt.size();
        newCaret = lineEnd < out.size() ? lineEnd + 2 : lineEnd;
    }
    return accept(std::move(out), newCaret);
}

EditOutcome overlayPaste(View canvas, size_t caret, View pasted, long long width)
{
    const auto line = gridLineAt(canvas, caret, width);
    if (!line || pasted.empty() || !isCanvasText(pasted)) {
        return {};
    }
    if (pasted.find(u'\r') == View::npos) {
        return overlayOneLine(canvas, caret, pasted, *line, width);
    }
    return overlayLines(canvas, caret, pasted, *line, width);
}

/// The line width in units, or nothing for a canvas without cells (nothing can be edited).
std::optional<long long> lineWidth(View canvas, int keta)
{
    if (keta <= 0 || canvas.empty()) {
        return std::nullopt;
    }
    return 2LL * keta;
}

bool validCaret(View canvas, int caret)
{
    return caret >= 0 && static_cast<size_t>(caret) <= canvas.size();
}

/// Equality of two equally long runs of units, bytewise: the generic character comparison goes
/// unit by unit, several times slower on a whole canvas.
bool sameUnits(View a, View b)
{
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

/// True when after is before with count characters inserted at index.
bool isInsertion(View before, View after, size_t index, size_t count)
{
    return index <= before.size() && after.size() == before.size() + count &&
           sameUnits(after.substr(0, index), before.substr(0, index)) &&
           sameUnits(after.substr(index + count), before.substr(index));
}

}  // namespace

LaidLine overlayAtColumn(std::u16string_view line, int column, std::u16string_view q)
{
    const long long width = WidthOf(line);
    const UnitSplit split = splitAtUnitColumn(line, column);
    const long long leftWidth = WidthOf(split.left);
    LaidLine laid;
    laid.cut = leftWidth + WidthOf(q) > width;
    if (laid.cut) {
        const Fit fit = fitInto(q, width - leftWidth);
        laid.text = split.left;
        laid.text += q.substr(0, fit.chars);
        if (fit.filler) {
            laid.text += kHalfSpace;
        }
        laid.caret = split.left.size() + fit.chars;
        return laid;
    }
    if (q.empty()) {
        laid.text = line;  // an empty pasted line leaves its target as it was
    } else {
        laid.text = split.left;
        laid.text += q;
        laid.text += dropLeadingWidth(split.right, WidthOf(q));
    }
    laid.caret = split.left.size() + q.size();
    return laid;
}

EditOutcome ProcessChange(std::u16string_view before, int beforeCaret, std::u16string_view after,
                          int /*afterCaret*/, ChangeCause cause, int keta)
{
    // The control's edit is recovered from the two texts and the caret before it; the caret the
    // control reports afterwards adds nothing and is not trusted. An "after" that is not what
    // the cause can produce (a line break gone or added, an edit elsewhere) is refused.
    const auto width = lineWidth(before, keta);
    if (!width || !validCaret(before, beforeCaret)) {
        return {};
    }
    const auto caret = static_cast<size_t>(beforeCaret);
    switch (cause) {
        case ChangeCause::TypedKey:
            if (!isInsertion(before, after, caret, 1)) {
                return {};
            }
            return overwriteTyped(before, caret, after[caret], *width);
        case ChangeCause::DeleteKey:
            if (caret >= before.size() || !isInsertion(after, before, caret, 1)) {
                return {};
            }
            return deleteAt(before, caret, *width);
        case ChangeCause::BackKey:
            if (caret == 0 || !isInsertion(after, before, caret - 1, 1)) {
                return {};
            }
            return backspaceAt(before, caret, *width);
        case ChangeCause::Paste: {
            if (after.size() <= before.size()) {
                return {};
            }
            const size_t count = after.size() - before.size();
            if (!isInsertion(before, after, caret, count)) {
                return {};
            }
            return overlayPaste(before, caret, after.substr(caret, count), *width);
        }
    }
    return {};
}

EditOutcome typeCharacter(std::u16string_view canvas, int caret, char16_t c, int keta)
{
    const auto width = lineWidth(canvas, keta);
    if (!width || !validCaret(canvas, caret)) {
        return {};
    }
    return overwriteTyped(canvas, static_cast<size_t>(caret), c, *width);
}

EditOutcome deleteCharacter(std::u16string_view canvas, int caret, int keta)
{
    const auto width = lineWidth(canvas, keta);
    if (!width || !validCaret(canvas, caret)) {
        return {};
    }
    return deleteAt(canvas, static_cast<size_t>(caret), *width);
}

EditOutcome backspaceCharacter(std::u16string_view canvas, int caret, int keta)
{
    const auto width = lineWidth(canvas, keta);
    if (!width || !validCaret(canvas, caret)) {
        return {};
    }
    return backspaceAt(canvas, static_cast<size_t>(caret), *width);
}

EditOutcome pasteText(std::u16string_view canvas, int caret, std::u16string_view pasted, int keta)
{
    const auto width = lineWidth(canvas, keta);
    if (!width || !validCaret(canvas, caret)) {
        return {};
    }
    return overlayPaste(canvas, static_cast<size_t>(caret), pasted, *width);
}

}  // namespace masumemo::grid
