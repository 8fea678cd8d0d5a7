#include "BoardCheck.h"

#include "grid/Cp932.h"
#include "grid/Fit.h"
#include "grid/LineModel.h"
#include "grid/References.h"

namespace masumemo::check {

namespace {

bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isAsciiHexDigit(char16_t c)
{
    return isAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

/// The length of the character reference starting at line[at] (an "&"), or 0 when there is
/// none: "&#" digits, "&#x" hex digits (each with an optional ";"), "&" letters ";".
size_t referenceLength(std::u16string_view line, size_t at)
{
    const size_t n = line.size();
    size_t i = at + 1;
    if (i < n && line[i] == u'#') {
        ++i;
        const bool hex = i < n && (line[i] == u'x' || line[i] == u'X');
        if (hex) {
            ++i;
        }
        const size_t digits = i;
        while (i < n && (hex ? isAsciiHexDigit(line[i]) : isAsciiDigit(line[i]))) {
            ++i;
        }
        if (i == digits) {
            return 0;
        }
        if (i < n && line[i] == u';') {
            ++i;
        }
        return i - at;
    }
    const size_t letters = i;
    while (i < n && isAsciiLetter(line[i])) {
        ++i;
    }
    return i > letters && i < n && line[i] == u';' ? i + 1 - at : 0;
}

size_t trimmedLength(std::u16string_view line)
{
    size_t n = line.size();
    while (n > 0 && (line[n - 1] == grid::kHalfSpace || line[n - 1] == grid::kFullSpace)) {
        --n;
    }
    return n;
}

int unitColumn(std::u16string_view line, size_t chars)
{
    return grid::WidthOf(line.substr(0, chars));
}

/// The character at line[i] when code page 932 lacks it (the whole of a surrogate pair at its
/// high half), else 0.
char32_t beyondCp932At(std::u16string_view line, size_t i)
{
    const char16_t c = line[i];
    if (grid::isCp932Encodable(c)) {
        return 0;
    }
    char32_t cp = c;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < line.size() && line[i + 1] >= 0xDC00 &&
        line[i + 1] <= 0xDFFF) {
        cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
             (static_cast<char32_t>(line[i + 1]) - 0xDC00);
    }
    return grid::isBeyondCp932(cp) ? cp : 0;
}

}  // namespace

int postedCharBytes(std::u16string_view line, size_t i)
{
    switch (line[i]) {
    case u'<':
    case u'>':
        return 4;
    case u'"':
        return 6;
    default:
        if (const char32_t cp = beyondCp932At(line, i)) {
            return grid::referenceLength(cp);
        }
        return grid::charWidth(line[i]);
    }
}

LineFacts checkLine(std::u16string_view line, int lineNumber, std::vector<Problem>& out,
                    bool passesUnicode)
{
    const size_t n = trimmedLength(line);
    const std::u16string_view posted = line.substr(0, n);
    LineFacts facts;
    facts.trimmed = static_cast<int>(n);
    facts.bytes = grid::WidthOf(posted);
    // Only a few ASCII characters matter beyond the width, and the characters code page 932
    // lacks: look at nothing else per character, and work out a unit column only where a
    // problem is.
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = posted[i];
        if (c > u'>') {
            if (c >= 0x80) {
                if (const char32_t cp = beyondCp932At(posted, i)) {
                    // Counted as one unit by the width; the board stores its reference.
                    facts.bytes += grid::referenceLength(cp) - 1;
                    const int units = cp > 0xFFFF ? 2 : 1;
                    if (!passesUnicode) {
                        out.push_back({ProblemKind::UnicodeCharacter, lineNumber,
                                       unitColumn(posted, i), static_cast<int>(i), units});
                    }
                    i += static_cast<size_t>(units - 1);
                }
            }
            continue;
        }
        if (c == u'<' || c == u'>') {
            facts.bytes += 3;
        } else if (c == u'"') {
            facts.bytes += 5;
        } else if (c == grid::kHalfSpace) {
            size_t end = i + 1;
            while (end < n && posted[end] == grid::kHalfSpace) {
                ++end;
            }
            if (i == 0) {
                out.push_back({ProblemKind::LeadingSpace, lineNumber, 0, 0, 1});
            }
            if (end - i >= 2) {
                out.push_back({ProblemKind::SpaceRun, lineNumber, unitColumn(posted, i),
                               static_cast<int>(i), static_cast<int>(end - i)});
            }
            i = end - 1;
        } else if (c == u'&') {
            if (const size_t len = referenceLength(posted, i); len > 0) {
                out.push_back({ProblemKind::CharacterReference, lineNumber, unitColumn(posted, i),
                               static_cast<int>(i), static_cast<int>(len)});
            }
        }
    }
    return facts;
}

int postedLines(const std::vector<LineFacts>& facts)
{
    int lines = static_cast<int>(facts.size());
    while (lines > 0 && facts[static_cast<size_t>(lines) - 1].trimmed == 0) {
        --lines;
    }
    return lines;
}

long long postedBytes(const std::vector<LineFacts>& facts, int lines)
{
    long long bytes = 0;
    for (int i = 0; i < lines; ++i) {
        bytes += facts[static_cast<size_t>(i)].bytes;
    }
    return lines > 1 ? bytes + static_cast<long long>(lines - 1) * kLineBreakBytes : bytes;
}

void appendLimitProblems(const std::vector<LineFacts>& facts, int lines, const BoardLimits& limits,
                         const std::function<std::u16string_view(int)>& lineText,
                         std::vector<Problem>& out)
{
    long long total = 0;
    for (int i = 0; i < lines; ++i) {
        if (i > 0) {
            total += kLineBreakBytes;
            if (total > limits.maxBytes) {
                out.push_back({ProblemKind::TooManyBytes, i + 1, 0, 0, 0});
                break;
            }
        }
        const LineFacts& f = facts[static_cast<size_t>(i)];
        if (total + f.bytes > limits.maxBytes) {
            const std::u16string_view text = lineText(i);
            for (size_t c = 0; c < static_cast<size_t>(f.trimmed); ++c) {
                total += postedCharBytes(text, c);
                if (total > limits.maxBytes) {
                    out.push_back({ProblemKind::TooManyBytes, i + 1, unitColumn(text, c),
                                   static_cast<int>(c), 0});
                    break;
                }
            }
            break;
        }
        total += f.bytes;
    }
    if (lines > limits.maxLines && limits.maxLines >= 0) {
        out.push_back({ProblemKind::TooManyLines, limits.maxLines + 1, 0, 0, 0});
    }
}

BoardReport BoardCheck(std::u16string_view text, BoardLimits limits)
{
    const std::vector<std::u16string_view> lines = grid::splitFileLines(text);
    std::vector<LineFacts> facts;
    facts.reserve(lines.size());
    BoardReport report;
    report.limits = limits;
    for (size_t i = 0; i < lines.size(); ++i) {
        facts.push_back(checkLine(lines[i], static_cast<int>(i) + 1, report.problems,
                                  limits.passesUnicode));
    }
    report.lines = postedLines(facts);
    report.bytes = postedBytes(facts, report.lines);
    // Problems on the blank lines at the end cannot exist: the trim leaves them empty.
    appendLimitProblems(facts, report.lines, limits,
                        [&](int i) { return lines[static_cast<size_t>(i)]; }, report.problems);
    return report;
}

}  // namespace masumemo::check
