#pragma once
// Canvas size and canvas files: changing Keta and Gyou, reading any text file onto the grid and
// writing a canvas back. Pure functions, no Qt; the editor does the dialogs and the file I/O.
//
// A canvas text of 0 x 0 is the empty string and holds no lines at all (not one empty line).

#include <string>
#include <string_view>
#include <vector>

#include "References.h"
#include "TextEncoding.h"

namespace masumemo::grid {

/// The largest canvas in half-width units: a saved picture stays within 64 kB.
inline constexpr long long kMaxCanvasUnits = 64000;

/// True when keta x 2 x gyou <= kMaxCanvasUnits, computed without overflow for any ints. A size
/// of 0 passes (the caller refuses it); a negative size never does.
bool withinSizeLimit(int keta, int gyou);

/// The lines of a canvas text split at CR LF; the empty text has none.
std::vector<std::u16string> canvasLines(std::u16string_view canvas);

/// One line brought to exactly 2 x keta units. A wider line loses its last characters until it
/// is 2 x keta or one unit less, a full-width character across the edge leaving " "; a narrower
/// line is padded: an odd shortfall with one " " first, the rest with full-width spaces.
std::u16string fitLineWidth(std::u16string_view line, int keta);

/// Every line of the canvas brought to 2 x keta units (fitLineWidth): a narrower canvas is cut,
/// a wider one gets full-width spaces at the right. The line count stays; 0 x 0 stays empty.
std::u16string resizeColumns(std::u16string_view canvas, int keta);

/// The canvas with exactly gyou lines: the first gyou lines are kept, or lines of keta
/// full-width spaces are appended. gyou <= 0 gives the empty canvas.
std::u16string resizeLines(std::u16string_view canvas, int gyou, int keta);

/// The largest canvas a file may make, in half-width units: sixteen times the largest canvas
/// the program can apply, room for any picture and for the emoticon lists Egaocho hands over.
/// A file far past it (one line of megabytes, millions of short lines) is no picture; opened,
/// it would stall every keystroke and take gigabytes once every line is padded.
inline constexpr long long kMaxOpenedCanvasUnits = 16 * kMaxCanvasUnits;

/// Files larger than this are refused unread. Every unit of a line's width comes from at most
/// two bytes (an invalid pair reads as one "?") and every line holds at least two units and at
/// most two bytes of line break, so only a file that is mostly line breaks or control characters
/// (which never reach the canvas) could be larger and still fit; none of those is a picture.
inline constexpr long long kMaxCanvasFileBytes = 3 * kMaxOpenedCanvasUnits;

/// Splits a file's decoded text into lines, viewing text: CR LF, a lone CR and a lone LF each
/// end a line. A final line without a break is read like the others; a final break adds no
/// empty line; the empty text gives no lines.
std::vector<std::u16string_view> splitFileLines(std::u16string_view text);

/// A canvas made from lines of any widths.
struct FittedCanvas
{
    std::u16string text;  ///< the lines padded to 2 x keta and joined with CR LF
    int keta = 0;
    int gyou = 0;
};

/// Fits lines to the grid: keta = (widest + 1) / 2, gyou = the number of lines, every line padded
/// to 2 x keta units (an odd shortfall with one " " right after the text, then full-width
/// spaces). No lines, or only empty ones, give the 0 x 0 canvas: without columns it holds nothing.
FittedCanvas fitToGrid(const std::vector<std::u16string_view>& lines);

/// How a canvas file is written: the encoding it was read in (a new picture: code page 932) and
/// the spelling of its references.
struct CanvasFileForm
{
    TextEncoding encoding = TextEncoding::Cp932;
    bool byteOrderMark = false;  ///< UTF-8 only: the file started with one and keeps it
    ReferenceSpelling spelling = kNewPictureSpelling;

    friend bool operator==(const CanvasFileForm&, const CanvasFileForm&) = default;
};

/// The bytes of a canvas file: every line after the trailing-space trim, followed by CR LF. In
/// code page 932 a character beyond it is written as its reference in the form's spelling; in
/// UTF-8 it is written as itself, after the byte order mark when the form has one. The 0 x 0
/// canvas gives an empty file (a byte order mark alone in UTF-8 with one).
std::string canvasFileBytes(std::u16string_view canvas, const CanvasFileForm& form = {});

/// A file read for opening as a canvas.
struct CanvasFile
{
    bool isText = false;           ///< false: the file holds NUL bytes and is refused, canvas empty
    bool substituted = false;      ///< invalid code page 932 bytes were read as "?"
    bool controlsDropped = false;  ///< Tab or other control characters were left out
    bool tooLarge = false;         ///< refused: the canvas would pass maxUnits, canvas empty
    CanvasFileForm form;           ///< how the file was written, for saving it back the same way
    FittedCanvas canvas;
};

/// Reads a canvas file's bytes: refuses a file holding NUL bytes, decodes them in the encoding
/// detectEncoding finds (invalid sequences become "?"), leaves out control characters, which
/// never enter the canvas, reads the references to characters beyond code page 932 as those
/// characters (decodeReferences, which also gives the form's spelling), brings UTF-8 text to
/// its canvas form, splits the lines (splitFileLines) and fits them to the grid unless the
/// canvas would be larger than maxUnits.
CanvasFile readCanvasFile(std::string_view bytes, long long maxUnits = kMaxOpenedCanvasUnits);
/// The same in an encoding decided beforehand: a page of a file is read in the file's encoding,
/// whatever its own bytes would suggest. sizeOnly: the canvas's keta and gyou are found but its
/// text is not built (a page measured before it is shown).
CanvasFile readCanvasFile(std::string_view bytes, DetectedEncoding encoding, long long maxUnits,
                          bool sizeOnly = false);

/// The text of a canvas file's bytes as readCanvasFile reads it, before the lines are fitted:
/// decoded, without the control characters other than line ends, its references read as
/// characters. Sets file's substituted, controlsDropped and form.
std::u16string readCanvasFileText(std::string_view bytes, DetectedEncoding detected,
                                  CanvasFile& file);

/// Text opened as a new picture as a file's text is: control characters left out, the canvas
/// form, the lines fitted to the grid. References are text here (the text is no file); the form
/// is that of a new picture.
CanvasFile readCanvasText(std::u16string_view text, long long maxUnits = kMaxOpenedCanvasUnits);

}  // namespace masumemo::grid
