#pragma once
// Files of text-art parts: MLT (parts separated by "[SPLIT]" lines), AST (each part under an
// "[AA][name]" header line) and TXT (the whole file is one part). Pure functions, no Qt.
//
// Indexing finds where each part's bytes lie and, for AST, its name, without decoding the
// text; a part is decoded only when it is shown, searched or used. Separator and header lines
// are found in the raw bytes: in code page 932 and in UTF-8 a byte after a line break always
// starts a character, so a line that begins with "[" is never the tail of a two-byte one.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace masumemo::pagefile {

enum class PartsFormat { Mlt, Ast, Txt };

/// The format by the file name's extension (.mlt, .ast, .txt in any case); none for others.
std::optional<PartsFormat> formatOfName(std::string_view fileName);

enum class TextEncoding { Cp932, Utf8 };

/// How a file's bytes are to be read, by the program's one rule (grid/TextEncoding.h): UTF-8
/// with a byte order mark, or valid UTF-8 that holds multi-byte sequences; code page 932
/// otherwise.
struct Detected
{
    TextEncoding encoding = TextEncoding::Cp932;
    std::size_t bomLength = 0;  ///< bytes of the UTF-8 byte order mark to skip
};
Detected detectEncoding(std::string_view bytes);

/// Decodes bytes; UTF-8 errors and invalid code page 932 sequences become "?".
std::u16string decodeBytes(std::string_view bytes, TextEncoding encoding);

/// Numeric character references decoded: "&#NNNN;" and "&#xHHHH;", the closing ";" optional.
/// A reference to no character (0, a surrogate, past U+10FFFF) stays as written; one beyond the
/// BMP becomes a surrogate pair.
std::u16string decodeReferences(std::u16string_view text);

/// Where one part's text lies in the file: the bytes after its separator or header line, up to
/// the next separator or header line (the line break before that line ends the part).
struct PartSpan
{
    std::uint32_t start = 0;
    std::uint32_t length = 0;
};

/// The files an index refuses to hold offsets for.
inline constexpr std::uint64_t kMaxPartsFileBytes = 0xFFFFFFFFu;

/// A file's parts as found by indexFile.
struct FileIndex
{
    PartsFormat format = PartsFormat::Txt;
    Detected detected;
    std::vector<PartSpan> parts;
    /// AST names, decoded, one after another; nameEnds[i] is where the name of part i ends.
    std::u16string names;
    std::vector<std::uint32_t> nameEnds;

    std::size_t count() const { return parts.size(); }
    /// The AST name of part i (empty for other formats).
    std::u16string_view name(std::size_t i) const;
    /// Bytes held, for the memory figure.
    std::size_t memoryBytes() const;
};

/// Why a file holds no parts it could give.
enum class IndexProblem
{
    None,
    Binary,
    TooLarge,
    Cancelled
};

/// Indexes a whole file's bytes in one pass. A file holding NUL bytes is binary and gives no
/// parts. An empty file (or, for AST, one without headers) has no parts; an MLT whose last line
/// is a separator has no empty part after it. cancel, when given, is looked at every few
/// hundred parts: once set, indexing stops with no parts and the problem Cancelled.
FileIndex indexFile(std::string_view bytes, PartsFormat format, IndexProblem* problem = nullptr,
                    const std::atomic<bool>* cancel = nullptr);

/// A part's text decoded from its bytes (the span's bytes of the file): line ends as CR LF, no
/// break after the last line, references decoded.
std::u16string partText(std::string_view spanBytes, TextEncoding encoding);

/// A part's text as its lines (partText split at CR LF); a part without bytes has none.
std::vector<std::u16string> partLines(std::string_view spanBytes, TextEncoding encoding);

/// One part for writing and for tests: a name (AST only) and its lines.
struct Part
{
    std::u16string name;
    std::vector<std::u16string> lines;

    friend bool operator==(const Part&, const Part&) = default;
};

/// Reads every part of a file.
std::vector<Part> readParts(std::string_view bytes, PartsFormat format);

/// The bytes of a parts file in code page 932 with CR LF: every line trimmed of trailing
/// spaces and ended by CR LF; a character code page 932 lacks is written as a reference. TXT
/// writes only the first part. A name's line breaks become spaces.
std::string partsFileBytes(const std::vector<Part>& parts, PartsFormat format);

/// The header line of an AST part named name, ended by lineBreak: "[AA][name]" in encoding, a
/// name's line breaks as spaces, "&" before "#" and (in code page 932) what it lacks as references.
std::string headerLine(std::u16string_view name, TextEncoding encoding, std::string_view lineBreak);

/// The line break a file uses: that of its last line break (CR LF, LF or CR), so what follows
/// it never joins it into another; CR LF for a file of one line or none.
std::string_view lineBreakOf(std::string_view bytes);

/// What to append to a file of fileBytes so that it holds one more part, in the file's own
/// encoding (a UTF-8 file stays UTF-8) and line break (lineBreakOf). The part goes after a
/// separator or header line; a missing last line break is added first, and an MLT whose last
/// line is a separator gets the part right after it instead of another separator. TXT files
/// and files holding NUL bytes take no added parts: nullopt.
std::optional<std::string> bytesToAppend(std::string_view fileBytes, PartsFormat format,
                                         const Part& part);

/// The lines of a canvas (or its selection) as a part: the trailing blank lines, which only
/// pad the canvas, are left out. A blank canvas gives no lines.
std::vector<std::u16string> linesForPart(std::u16string_view canvasText);

/// The beginning of a part as a preview shows it, taken from its bytes fed piece by piece, so a
/// part of many megabytes is neither read nor decoded beyond what is shown: at most maxLines
/// lines, each cut after maxChars characters with a "…", and a last line "…" when more lines
/// follow. Line ends as in partLines.
class PreviewLines
{
public:
    PreviewLines(TextEncoding encoding, std::size_t maxLines, std::size_t maxChars);
    /// Takes the next bytes of the part; false once it needs no more.
    bool feed(std::string_view bytes);
    /// The lines shown, references decoded.
    std::vector<std::u16string> lines();

private:
    void closeLine();

    TextEncoding m_encoding;
    std::size_t m_maxLines;
    std::size_t m_maxChars;
    std::vector<std::u16string> m_lines;
    std::string m_line;  ///< bytes of the line under way, up to what can be shown
    bool m_afterCr = false;
    bool m_full = false;
};

}  // namespace masumemo::pagefile
