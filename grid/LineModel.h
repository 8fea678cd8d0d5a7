#pragma once
// The canvas as lines: a fixed grid of Gyou lines, each exactly 2 x Keta half-width units
// wide, joined by CR LF with no break after the last. Pure functions, no Qt.
//
// Offsets are 0-based UTF-16 positions in the whole canvas text, a line break counting as its
// two characters CR and LF. Lines are numbered from 1, columns from 0 in characters.

#include <concepts>
#include <string>
#include <string_view>
#include <vector>

namespace masumemo::grid {

inline constexpr std::u16string_view kCrLf = u"\r\n";
inline constexpr char16_t kFullSpace = u'\u3000';
inline constexpr char16_t kHalfSpace = u' ';

/// One canvas line. Text views the canvas text it was split from, so splitting the largest
/// canvas costs no copy per line. 32-bit fields: a canvas of 20000 x 1 has lines 40,000 units
/// wide.
struct LineRecord
{
    std::u16string_view Text;
    int CharCount = 0;
    int Width = 0;

    friend bool operator==(const LineRecord&, const LineRecord&) = default;
};

/// What SplitCanvas gives: the line list and the caret as (line, column).
struct CanvasSplit
{
    std::vector<LineRecord> lines;
    int line = 1;    ///< 1-based caret line
    int column = 0;  ///< caret column in characters from the line start
};

/// Splits the canvas text at CR LF into records and maps the caret offset to (line, column).
/// A caret just before a line's CR belongs to that line. A text without CR is one record; a
/// text ending in CR LF gives an empty last record; the empty text gives one empty record and
/// (1, 0). The character after each CR is dropped as its LF.
/// The records view text: it must outlive them and stay unchanged while they are used.
CanvasSplit SplitCanvas(std::u16string_view text, int caret);

/// A temporary string would leave the records viewing freed memory.
template <typename S>
requires std::same_as<S, std::u16string> CanvasSplit SplitCanvas(S&& text, int caret)
= delete;

/// Splits any string at CR (dropping the character after it, taken to be LF). The part after
/// the last CR is always the last element: empty when s ends with CR LF, s itself without CR.
std::vector<std::u16string> SplitText(std::u16string_view s);

/// The record of one line of text; it views text.
LineRecord makeLineRecord(std::u16string_view text);

/// Gyou lines of Keta full-width spaces joined by CR LF; empty when either is 0 or less.
std::u16string blankCanvas(int keta, int gyou);

/// A line of Keta full-width spaces.
std::u16string blankLine(int keta);

/// Joins lines with CR LF, no break after the last.
std::u16string joinLines(const std::vector<std::u16string>& lines);
std::u16string joinLines(const std::vector<LineRecord>& lines);

/// The offset of the start of line (1-based) in a line list joined by CR LF.
int lineStartOffset(const std::vector<LineRecord>& lines, int line);

/// Removes trailing half-width and full-width spaces (U+0020 and U+3000, in any mix).
std::u16string trimTrailingSpaces(std::u16string_view s);
/// The same, as a view into s.
std::u16string_view withoutTrailingSpaces(std::u16string_view s);

/// Turns LF, CR and CR LF line ends alike into end.
std::u16string lineEndsAs(std::u16string_view s, std::u16string_view end);

/// Turns LF, CR and CR LF line ends alike into CR LF.
std::u16string normaliseLineEnds(std::u16string_view s);

/// Text as it may enter the canvas: line ends as CR LF, other control characters (Tab among
/// them) removed, every character in its code page 932 round-trip form.
std::u16string toIncomingCanvasText(std::u16string_view s);

/// The space that blanks c: " " when c is half-width, "　" otherwise.
char16_t HanZenSP(char16_t c);

/// The text with its len characters from start blanked: each becomes the space of its own
/// width, CR and LF stay, so no line changes its width. The range is clamped to the text.
std::u16string SelToSP(std::u16string_view text, int start, int len);

/// True when s holds a CR (a selection that spans lines).
bool SelEnter(std::u16string_view s);

/// The number of leading characters of s whose width adds up to at most units.
int charsWithinWidth(std::u16string_view s, int units);

/// A line cut at a unit column.
struct UnitSplit
{
    std::u16string left;
    std::u16string right;
};

/// Cuts line at unit column k. On a character boundary, left is the characters before it and
/// right the rest. Inside a full-width character, left is the characters before that character
/// followed by " " and right is " " followed by the characters after it, so both halves keep
/// their width. k <= 0 gives an empty left; k at or past the line's width an empty right.
UnitSplit splitAtUnitColumn(std::u16string_view line, int k);

/// Drops characters from the start of s until the dropped width reaches width; returns what is
/// left, preceded by " " when the last dropped character overshot (a full-width character half
/// covered). width <= 0 drops nothing; a width past the end drops everything.
std::u16string dropLeadingWidth(std::u16string_view s, int width);

/// Drops characters from the end of s until the dropped width reaches width; returns what is
/// left followed by " " when the last dropped character overshot.
std::u16string dropTrailingWidth(std::u16string_view s, int width);

}  // namespace masumemo::grid
