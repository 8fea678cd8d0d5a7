#pragma once
// What a message board does to a picture when it is posted, as pure functions of the canvas
// text, no Qt. A picture is checked as it would be posted: every line without its trailing
// spaces, and the empty lines at its end left out.
//
// Lines are numbered from 1; columns are unit columns from 0 (half-width units, as the position
// display counts them); cells are character positions within the line.

#include <functional>
#include <string_view>
#include <vector>

namespace masumemo::check {

enum class ProblemKind {
    LeadingSpace,        ///< the line starts with a half-width space: the board drops it
    SpaceRun,            ///< two or more half-width spaces in a row: the board shows one
    CharacterReference,  ///< "&#65", "&#x41", "&amp;": the board shows another character
    TooManyBytes,        ///< the post passes the byte limit from here on
    TooManyLines,        ///< the post passes the line limit from this line on
    UnicodeCharacter,    ///< a character code page 932 lacks, on a board that makes it "?"
};

struct Problem
{
    ProblemKind kind = ProblemKind::LeadingSpace;
    int line = 1;       ///< from 1
    int column = 0;     ///< unit column from 0
    int charStart = 0;  ///< first character it covers, within the line
    int charCount = 0;  ///< characters it covers; 0 for the limits, which cover no cells

    friend bool operator==(const Problem&, const Problem&) = default;
};

inline constexpr int kDefaultMaxBytes = 4096;
inline constexpr int kDefaultMaxLines = 64;
/// The largest limit of either kind that can be set (the smallest is 1).
inline constexpr int kLargestLimit = 100'000'000;

struct BoardLimits
{
    int maxBytes = kDefaultMaxBytes;
    int maxLines = kDefaultMaxLines;
    /// The board shows references as their characters, so a character code page 932 lacks is
    /// posted as its reference; without this it becomes "?" (a UnicodeCharacter problem).
    bool passesUnicode = true;
};

/// What a board counts of one line after the trailing-space trim.
struct LineFacts
{
    int bytes = 0;      ///< code page 932 bytes, "<" and ">" as 4, "\"" as 6, a character
                        ///< code page 932 lacks as its reference ("&#x200A;" 8)
    int trimmed = 0;    ///< characters left after the trim; 0 for a blank line
};

/// Checks one canvas line (without its line end) for the problems of kinds LeadingSpace,
/// SpaceRun, CharacterReference and, unless passesUnicode, UnicodeCharacter, appending them to
/// out with the given line number.
LineFacts checkLine(std::u16string_view line, int lineNumber, std::vector<Problem>& out,
                    bool passesUnicode = true);

/// Bytes the board stores for the character at line[i]: its code page 932 bytes, with "<" and
/// ">" written as 4 bytes ("&lt;") and "\"" as 6 ("&quot;"), and a character code page 932
/// lacks as its reference in the spelling of new pictures (counted at its high surrogate; a low
/// surrogate counts 0).
int postedCharBytes(std::u16string_view line, size_t i);

/// Bytes a board stores for each line break (" <br> ").
inline constexpr int kLineBreakBytes = 6;

/// The whole check of a text.
struct BoardReport
{
    std::vector<Problem> problems;  ///< in line order; the limit problems after the lines' own
    long long bytes = 0;            ///< as the board stores the post
    int lines = 0;                  ///< lines posted: trailing empty lines left out
    BoardLimits limits;

    bool overBytes() const { return bytes > limits.maxBytes; }
    bool overLines() const { return lines > limits.maxLines; }
};

/// Checks a text whose lines end in CR LF, LF or CR.
BoardReport BoardCheck(std::u16string_view text, BoardLimits limits = {});

/// The lines posted of a check's line facts: all but the blank lines at the end.
int postedLines(const std::vector<LineFacts>& facts);

/// The bytes a board stores for the first lines of facts: their bytes and a break between each
/// two.
long long postedBytes(const std::vector<LineFacts>& facts, int lines);

/// The problems of kinds TooManyBytes and TooManyLines of a post of lines lines (facts as
/// checkLine gave them): TooManyLines on the first line past the limit, TooManyBytes on the
/// character (or the line start, when a break) that takes the count past the limit. lineText(i)
/// gives line i (from 0); it is read only for the line where the byte limit is passed.
void appendLimitProblems(const std::vector<LineFacts>& facts, int lines, const BoardLimits& limits,
                         const std::function<std::u16string_view(int)>& lineText,
                         std::vector<Problem>& out);

}  // namespace masumemo::check
