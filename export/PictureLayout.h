#pragma once
// A canvas as a picture to export: the characters that leave ink, each with its unit column,
// and the size the picture really takes. Pure functions, no Qt.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace masumemo::exporting {

/// One character to draw. Spaces (the Unicode spaces too) leave no ink and are not listed.
struct Mark
{
    char32_t ch;  ///< a character beyond the BMP whole, not its two halves
    int column;   ///< in half-width units from the start of the line
    int width;    ///< 1 or 2 units
};

struct PictureLine
{
    std::u16string text;  ///< the line without its trailing spaces
    std::vector<Mark> marks;
    int units = 0;  ///< the width of text
};

struct Picture
{
    std::vector<PictureLine> lines;  ///< without the trailing lines that are empty once trimmed
    int widestUnits = 0;
};

/// Splits the canvas at CR LF, trims every line's trailing half- and full-width spaces and
/// leaves out the empty lines at the end, so a picture drawn at the top left of a large canvas
/// exports at its own size.
Picture layOutPicture(std::u16string_view canvas);

/// Where each mark of a line is drawn, in pixels from the left edge of the text area, and how
/// wide a line is. Every renderer takes its x positions from here, so a placement by a
/// proportional font's own advances can stand in for the grid.
class Placement
{
public:
    virtual ~Placement() = default;
    /// x of every mark of line, in order.
    virtual std::vector<double> positions(const PictureLine& line) const = 0;
    virtual double lineWidth(const PictureLine& line) const = 0;
};

/// The grid: a mark sits at its unit column times the width of one half-width cell, so the
/// picture keeps its grid even where a glyph's advance is not an exact multiple of it.
class GridPlacement final : public Placement
{
public:
    explicit GridPlacement(double cellWidth) : m_cellWidth(cellWidth) {}
    std::vector<double> positions(const PictureLine& line) const override;
    double lineWidth(const PictureLine& line) const override;

private:
    double m_cellWidth;
};

/// One character's advance in pixels, in the font the picture is drawn in.
using Advances = std::function<double(char32_t)>;

/// Calls f(ch, units) for each character of a line (a surrogate pair as one), with the number
/// of UTF-16 units it takes.
void forEachCharacter(std::u16string_view text, const std::function<void(char32_t, int)>& f);

/// True for a character that leaves no ink: the half- and full-width spaces and the Unicode
/// spaces a board keeps.
bool isBlank(char32_t ch);

/// A proportional font's own widths: a mark sits at the sum of the advances of every character
/// before it on its line, blanks included, as the canvas shows the line in that font.
class AdvancePlacement final : public Placement
{
public:
    explicit AdvancePlacement(Advances advance) : m_advance(std::move(advance)) {}
    std::vector<double> positions(const PictureLine& line) const override;
    double lineWidth(const PictureLine& line) const override;

private:
    Advances m_advance;
};

}  // namespace masumemo::exporting
