#include "PartsFile.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "grid/Cp932.h"
#include "grid/Fit.h"
#include "grid/LineModel.h"
#include "grid/TextEncoding.h"
#include "grid/Utf8.h"

namespace masumemo::pagefile {
namespace {

constexpr std::string_view kSplit = "[SPLIT]";
constexpr std::string_view kHeader = "[AA][";
constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kCrLf = "\r\n";

bool isBreak(char c) { return c == '\r' || c == '\n'; }

/// Code points of a UTF-16 text; a lone surrogate stands for itself.
template <typename F>
void forEachCodePoint(std::u16string_view s, F&& f)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        f(c);
    }
}

void appendReference(std::u16string& out, char32_t cp)
{
    out += u"&#";
    for (char c : std::to_string(static_cast<unsigned long>(cp))) {
        out.push_back(static_cast<char16_t>(c));
    }
    out.push_back(u';');
}

/// Text as it is written: "&" before "#" as a reference, so reading gives the text back, and in
/// code page 932 every character it lacks as a reference; escapeFirst writes the first character
/// as a reference too.
std::u16string withReferences(std::u16string_view text, bool cp932, bool escapeFirst)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    forEachCodePoint(text, [&](char32_t c) {
        const bool first = i == 0;
        i += c >= 0x10000 ? 2 : 1;
        if ((first && escapeFirst) || (c == U'&' && i < text.size() && text[i] == u'#')) {
            appendReference(out, c);
        } else if (cp932 && (c > 0xFFFF || !grid::isCp932Encodable(static_cast<char16_t>(c)))) {
            appendReference(out, c);
        } else {
            grid::appendUtf16(out, c);
        }
    });
    return out;
}

/// A line as it is written: trailing spaces trimmed, and a line that would read as a separator
/// or header with its "[" as a reference.
std::u16string writtenLine(std::u16string_view line, PartsFormat format, bool cp932)
{
    const std::u16string trimmed = grid::trimTrailingSpaces(line);
    const bool looksLikeHeader =
        (format == PartsFormat::Mlt && trimmed == u"[SPLIT]") ||
        (format == PartsFormat::Ast && trimmed.starts_with(u"[AA][") && trimmed.ends_with(u"]"));
    return withReferences(trimmed, cp932, looksLikeHeader);
}

std::string encodeAs(std::u16string_view text, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? grid::encodeUtf8(text) : grid::encodeCp932(text);
}

/// The bytes of one part after its separator or header line: each line and its break.
std::string partBody(const Part& part, PartsFormat format, TextEncoding encoding,
                     std::string_view lineBreak = kCrLf)
{
    std::string out;
    for (const std::u16string& line : part.lines) {
        out += encodeAs(writtenLine(line, format, encoding == TextEncoding::Cp932), encoding);
        out += lineBreak;
    }
    return out;
}


/// The end of the line at pos (the position of its break, or the end). One pass that stops at
/// the first CR or LF: searching for each alone would run to the end of a file that has none.
std::size_t lineEnd(std::string_view bytes, std::size_t pos)
{
    const auto hit =
        std::find_if(bytes.begin() + static_cast<std::ptrdiff_t>(pos), bytes.end(), isBreak);
    return static_cast<std::size_t>(hit - bytes.begin());
}

/// The start of the line after the one ending at end (past its CR LF, CR or LF).
std::size_t nextLine(std::string_view bytes, std::size_t end)
{
    if (end >= bytes.size()) {
        return bytes.size();
    }
    if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') {
        return end + 2;
    }
    return end + 1;
}

/// Each occurrence of what at the start of a line of bytes, from from on.
template <typename F>
void forEachLineStart(std::string_view bytes, std::size_t from, std::string_view what, F&& f)
{
    std::size_t pos = from;
    while (pos < bytes.size()) {
        const void* hit =
            memmem(bytes.data() + pos, bytes.size() - pos, what.data(), what.size());
        if (!hit) {
            return;
        }
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - bytes.data());
        if (at == from || isBreak(bytes[at - 1])) {
            pos = f(at);
        } else {
            pos = at + 1;
        }
    }
}

PartSpan span(std::size_t start, std::size_t end)
{
    return {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(end - start)};
}

/// How often indexing looks whether it was cancelled, in parts.
constexpr std::size_t kCancelCheckParts = 256;

bool cancelled(const FileIndex& index, const std::atomic<bool>* cancel)
{
    return cancel && index.parts.size() % kCancelCheckParts == 0 && cancel->load();
}

/// False when cancelled.
bool indexMlt(std::string_view bytes, std::size_t from, FileIndex& index,
              const std::atomic<bool>* cancel)
{
    std::size_t partStart = from;
    bool stopped = false;
    forEachLineStart(bytes, from, kSplit, [&](std::size_t at) {
        const std::size_t end = lineEnd(bytes, at);
        if (end != at + kSplit.size()) {
            return at + 1;  // a longer line that only begins like a separator
        }
        index.parts.push_back(span(partStart, at));
        partStart = nextLine(bytes, end);
        if (cancelled(index, cancel)) {
            stopped = true;
            return bytes.size();
        }
        return partStart;
    });
    // A separator on the last line closes the part before it; it opens none after it.
    if (partStart < bytes.size() || index.parts.empty()) {
        index.parts.push_back(span(partStart, bytes.size()));
    }
    return !stopped;
}

bool indexAst(std::string_view bytes, std::size_t from, FileIndex& index,
              const std::atomic<bool>* cancel)
{
    const TextEncoding encoding = index.detected.encoding;
    bool open = false;
    bool stopped = false;
    forEachLineStart(bytes, from, kHeader, [&](std::size_t at) {
        const std::size_t end = lineEnd(bytes, at);
        if (end == at + kHeader.size() || bytes[end - 1] != ']') {
            return at + 1;
        }
        if (open) {
            index.parts.back().length = static_cast<std::uint32_t>(at - index.parts.back().start);
        }
        const std::string_view name =
            bytes.substr(at + kHeader.size(), end - 1 - (at + kHeader.size()));
        index.names += name.empty() ? std::u16string()
                                    : decodeReferences(decodeBytes(name, encoding));
        index.nameEnds.push_back(static_cast<std::uint32_t>(index.names.size()));
        const std::size_t start = nextLine(bytes, end);
        index.parts.push_back(span(start, bytes.size()));
        open = true;
        if (cancelled(index, cancel)) {
            stopped = true;
            return bytes.size();
        }
        return start;
    });
    return !stopped;
}

}  // namespace

std::optional<PartsFormat> formatOfName(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    std::string ext(fileName.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    if (ext == "mlt") {
        return PartsFormat::Mlt;
    }
    if (ext == "ast") {
        return PartsFormat::Ast;
    }
    if (ext == "txt") {
        return PartsFormat::Txt;
    }
    return std::nullopt;
}

Detected detectEncoding(std::string_view bytes)
{
    if (bytes.starts_with(kBom)) {
        return {TextEncoding::Utf8, kBom.size()};
    }
    return {grid::detectEncoding(bytes).encoding == grid::TextEncoding::Utf8 ? TextEncoding::Utf8
                                                                            : TextEncoding::Cp932,
            0};
}

std::u16string decodeBytes(std::string_view bytes, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? grid::decodeUtf8Replacing(bytes, u'?')
                                          : grid::decodeCp932(bytes);
}

std::u16string decodeReferences(std::u16string_view text)
{
    std::size_t amp = text.find(u"&#");
    if (amp == std::u16string_view::npos) {
        return std::u16string(text);
    }
    std::u16string out(text.substr(0, amp));
    out.reserve(text.size());
    std::size_t i = amp;
    while (i < text.size()) {
        if (text[i] != u'&' || i + 2 >= text.size() || text[i + 1] != u'#') {
            out.push_back(text[i++]);
            continue;
        }
        const bool hex = text[i + 2] == u'x' || text[i + 2] == u'X';
        std::size_t j = i + (hex ? 3 : 2);
        const std::size_t digitsStart = j;
        std::uint64_t value = 0;
        for (; j < text.size(); ++j) {
            const char16_t c = text[j];
            int digit = -1;
            if (c >= u'0' && c <= u'9') {
                digit = c - u'0';
            } else if (hex && c >= u'a' && c <= u'f') {
                digit = c - u'a' + 10;
            } else if (hex && c >= u'A' && c <= u'F') {
                digit = c - u'A' + 10;
            }
            if (digit < 0) {
                break;
            }
            // Saturates: a reference of many digits is out of range, never an overflow.
            value = std::min<std::uint64_t>(value * (hex ? 16 : 10) + digit, 0x7FFFFFFF);
        }
        const bool valid = j > digitsStart && value != 0 && value <= 0x10FFFF &&
                           !(value >= 0xD800 && value <= 0xDFFF);
        if (!valid) {
            out.push_back(text[i++]);
            continue;
        }
        grid::appendUtf16(out, static_cast<char32_t>(value));
        i = j < text.size() && text[j] == u';' ? j + 1 : j;
    }
    return out;
}

std::u16string_view FileIndex::name(std::size_t i) const
{
    if (i >= nameEnds.size()) {
        return {};
    }
    const std::uint32_t begin = i == 0 ? 0 : nameEnds[i - 1];
    return std::u16string_view(names).substr(begin, nameEnds[i] - begin);
}

std::size_t FileIndex::memoryBytes() const
{
    return sizeof(FileIndex) + parts.capacity() * sizeof(PartSpan) +
           names.capacity() * sizeof(char16_t) + nameEnds.capacity() * sizeof(std::uint32_t);
}

FileIndex indexFile(std::string_view bytes, PartsFormat format, IndexProblem* problem,
                    const std::atomic<bool>* cancel)
{
    FileIndex index;
    index.format = format;
    IndexProblem found = IndexProblem::None;
    if (bytes.size() > kMaxPartsFileBytes) {
        found = IndexProblem::TooLarge;
    } else if (std::memchr(bytes.data(), '\0', bytes.size())) {
        found = IndexProblem::Binary;
    }
    if (problem) {
        *problem = found;
    }
    if (found != IndexProblem::None) {
        return index;
    }
    index.detected = detectEncoding(bytes);
    const std::size_t from = index.detected.bomLength;
    bool finished = true;
    if (from < bytes.size()) {
        switch (format) {
            case PartsFormat::Mlt:
                finished = indexMlt(bytes, from, index, cancel);
                break;
            case PartsFormat::Ast:
                finished = indexAst(bytes, from, index, cancel);
                break;
            case PartsFormat::Txt:
                index.parts.push_back(span(from, bytes.size()));
                break;
        }
    }
    if (!finished) {
        if (problem) {
            *problem = IndexProblem::Cancelled;
        }
        return FileIndex{format, index.detected, {}, {}, {}};
    }
    index.parts.shrink_to_fit();
    index.names.shrink_to_fit();
    index.nameEnds.shrink_to_fit();
    return index;
}

std::vector<std::u16string> partLines(std::string_view spanBytes, TextEncoding encoding)
{
    const std::u16string text = decodeBytes(spanBytes, encoding);
    std::vector<std::u16string> lines;
    for (const std::u16string_view line : grid::splitFileLines(text)) {
        lines.push_back(decodeReferences(line));
    }
    return lines;
}

std::u16string partText(std::string_view spanBytes, TextEncoding encoding)
{
    return grid::joinLines(partLines(spanBytes, encoding));
}

std::vector<Part> readParts(std::string_view bytes, PartsFormat format)
{
    const FileIndex index = indexFile(bytes, format);
    std::vector<Part> parts;
    parts.reserve(index.count());
    for (std::size_t i = 0; i < index.count(); ++i) {
        const PartSpan s = index.parts[i];
        parts.push_back({std::u16string(index.name(i)),
                         partLines(bytes.substr(s.start, s.length), index.detected.encoding)});
    }
    return parts;
}

std::string partsFileBytes(const std::vector<Part>& parts, PartsFormat format)
{
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (format == PartsFormat::Mlt && i > 0) {
            out += kSplit;
            out += kCrLf;
        } else if (format == PartsFormat::Ast) {
            out += headerLine(parts[i].name, TextEncoding::Cp932, kCrLf);
        }
        out += partBody(parts[i], format, TextEncoding::Cp932);
        if (format == PartsFormat::Txt) {
            break;
        }
    }
    return out;
}

std::string headerLine(std::u16string_view name, TextEncoding encoding,
                       std::string_view lineBreak)
{
    std::u16string oneLine(name);
    std::replace_if(oneLine.begin(), oneLine.end(),
                    [](char16_t c) { return c == u'\r' || c == u'\n'; }, u' ');
    const std::u16string header =
        u"[AA][" + withReferences(oneLine, encoding == TextEncoding::Cp932, false) + u"]";
    return encodeAs(header, encoding) + std::string(lineBreak);
}

std::string_view lineBreakOf(std::string_view bytes)
{
    const std::size_t at = bytes.find_last_of("\r\n");
    if (at == std::string_view::npos) {
        return kCrLf;
    }
    if (bytes[at] == '\r') {
        return "\r";
    }
    return at > 0 && bytes[at - 1] == '\r' ? kCrLf : std::string_view("\n");
}

namespace {

/// True when the last line of bytes (after from) is a separator.
bool endsWithSeparator(std::string_view bytes, std::size_t from)
{
    std::string_view text = bytes.substr(from);
    if (!text.empty() && text.back() == '\n') {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    return text.ends_with(kSplit) &&
           (text.size() == kSplit.size() || isBreak(text[text.size() - kSplit.size() - 1]));
}

}  // namespace

std::optional<std::string> bytesToAppend(std::string_view fileBytes, PartsFormat format,
                                         const Part& part)
{
    if (format == PartsFormat::Txt || fileBytes.size() > kMaxPartsFileBytes ||
        std::memchr(fileBytes.data(), '\0', fileBytes.size())) {
        return std::nullopt;
    }
    const Detected detected = detectEncoding(fileBytes);
    const std::string_view lineBreak = lineBreakOf(fileBytes);
    std::string out;
    const bool hasText = fileBytes.size() > detected.bomLength;
    if (hasText && !isBreak(fileBytes.back())) {
        out += lineBreak;
    }
    if (format == PartsFormat::Ast) {
        out += headerLine(part.name, detected.encoding, lineBreak);
    } else if (hasText && !endsWithSeparator(fileBytes, detected.bomLength)) {
        out += kSplit;
        out += lineBreak;
    }
    out += partBody(part, format, detected.encoding, lineBreak);
    return out;
}

std::vector<std::u16string> linesForPart(std::u16string_view canvasText)
{
    std::vector<std::u16string> lines = grid::SplitText(canvasText);
    while (!lines.empty() && grid::withoutTrailingSpaces(lines.back()).empty()) {
        lines.pop_back();
    }
    return lines;
}

PreviewLines::PreviewLines(TextEncoding encoding, std::size_t maxLines, std::size_t maxChars)
    : m_encoding(encoding), m_maxLines(maxLines), m_maxChars(maxChars)
{
}

bool PreviewLines::feed(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size() && !m_full;) {
        if (m_afterCr) {
            m_afterCr = false;
            if (bytes[i] == '\n') {
                ++i;
                continue;
            }
        }
        if (m_lines.size() == m_maxLines) {
            m_full = true;  // a line beyond the last one shown begins here
            break;
        }
        const std::size_t end = lineEnd(bytes, i);
        // Each character takes at most a reference's 10 bytes ("&#1114111;").
        const std::size_t room = m_maxChars * 10 + 1;
        if (m_line.size() < room) {
            m_line.append(bytes.substr(i, std::min(end - i, room - m_line.size())));
        }
        if (end == bytes.size()) {
            return true;
        }
        m_afterCr = bytes[end] == '\r';
        closeLine();
        i = end + 1;
    }
    return !m_full;
}

void PreviewLines::closeLine()
{
    std::u16string text = decodeReferences(decodeBytes(m_line, m_encoding));
    m_line.clear();
    if (text.size() > m_maxChars) {
        text.resize(m_maxChars);
        text += u"…";
    }
    m_lines.push_back(std::move(text));
}

std::vector<std::u16string> PreviewLines::lines()
{
    if (!m_line.empty()) {
        closeLine();
    }
    std::vector<std::u16string> out = m_lines;
    if (m_full) {
        out.push_back(u"…");
    }
    return out;
}

}  // namespace masumemo::pagefile
