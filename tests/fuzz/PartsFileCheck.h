#pragma once
// What must hold for parts files (MLT, AST, TXT), shared by the fuzzer and the replay of the
// inputs it found. Each check answers an empty string, or what went wrong.
//
// The index finds parts in the raw bytes; here the file is read again the slow way, line by
// line, and both must give the same parts. Lists of parts built from the input are written and
// read back, and appended to any bytes.

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "grid/LineModel.h"
#include "pagefile/PartsFile.h"
#include "tests/fuzz/FuzzInput.h"

namespace masumemo::fuzzcheck {

using pagefile::Part;
using pagefile::PartsFormat;

inline constexpr PartsFormat kPartsFormats[] = {PartsFormat::Mlt, PartsFormat::Ast,
                                                PartsFormat::Txt};

inline const char* formatName(PartsFormat format)
{
    return format == PartsFormat::Mlt ? "MLT" : format == PartsFormat::Ast ? "AST" : "TXT";
}

/// The parts of a file read one line at a time: each line decoded on its own, a line that is
/// exactly "[SPLIT]" (MLT) or "[AA][" name "]" (AST) opening the next part.
inline std::vector<Part> partsLineByLine(std::string_view bytes, PartsFormat format)
{
    if (std::memchr(bytes.data(), '\0', bytes.size()) != nullptr) {
        return {};
    }
    const pagefile::Detected detected = pagefile::detectEncoding(bytes);
    const std::string_view body = bytes.substr(detected.bomLength);
    const auto decode = [&](std::string_view raw) {
        return pagefile::decodeReferences(pagefile::decodeBytes(raw, detected.encoding));
    };
    std::vector<Part> parts;
    if (format != PartsFormat::Ast && !body.empty()) {
        parts.emplace_back();
    }
    size_t start = 0;
    bool openedBySeparator = false;
    while (start < body.size()) {
        size_t end = start;
        while (end < body.size() && body[end] != '\r' && body[end] != '\n') {
            ++end;
        }
        const std::string_view line = body.substr(start, end - start);
        start = end + (body.substr(end, 2) == "\r\n" ? 2 : 1);
        openedBySeparator = format == PartsFormat::Mlt && line == "[SPLIT]";
        if (openedBySeparator) {
            parts.emplace_back();
        } else if (format == PartsFormat::Ast && line.size() > 5 && line.starts_with("[AA][") &&
                   line.ends_with("]")) {
            parts.push_back({decode(line.substr(5, line.size() - 6)), {}});
        } else if (!parts.empty()) {
            parts.back().lines.push_back(decode(line));
        }
    }
    // A separator on the last line opens no part after it.
    if (openedBySeparator) {
        parts.pop_back();
    }
    return parts;
}

inline std::string describeParts(const std::vector<Part>& parts)
{
    std::string out = std::to_string(parts.size()) + " parts:";
    for (const Part& part : parts) {
        out += " [" + shown(part.name) + "]{";
        for (const std::u16string& line : part.lines) {
            out += shown(line) + "|";
        }
        out += "}";
    }
    return out;
}

/// Any bytes as each format: the index is sound and agrees with the slow reading.
inline std::string checkPartsBytes(std::string_view bytes)
{
    const bool binary = std::memchr(bytes.data(), '\0', bytes.size()) != nullptr;
    for (const PartsFormat format : kPartsFormats) {
        const std::string in = std::string(" as ") + formatName(format);
        pagefile::IndexProblem problem = pagefile::IndexProblem::None;
        const pagefile::FileIndex index = pagefile::indexFile(bytes, format, &problem);
        if (binary != (problem == pagefile::IndexProblem::Binary)) {
            return "NUL bytes and the binary answer disagree" + in;
        }
        if (index.format != format) {
            return "the index forgot its format" + in;
        }
        if (format == PartsFormat::Ast ? index.nameEnds.size() != index.count()
                                       : !index.nameEnds.empty() || !index.names.empty()) {
            return "names do not go with the parts" + in;
        }
        size_t previousEnd = index.detected.bomLength;
        for (const pagefile::PartSpan span : index.parts) {
            if (span.start < previousEnd || span.start + span.length > bytes.size()) {
                return "a part's bytes overlap another's or pass the end" + in;
            }
            previousEnd = span.start + span.length;
        }
        const std::vector<Part> read = pagefile::readParts(bytes, format);
        const std::vector<Part> slow = partsLineByLine(bytes, format);
        if (read != slow) {
            return "the index and the line-by-line reading differ" + in + ": index " +
                   describeParts(read) + " / lines " + describeParts(slow);
        }
        for (size_t i = 0; i < index.count(); ++i) {
            const pagefile::PartSpan s = index.parts[i];
            const std::u16string text =
                pagefile::partText(bytes.substr(s.start, s.length), index.detected.encoding);
            if (text != grid::joinLines(read[i].lines)) {
                return "partText differs from the part's lines" + in;
            }
        }
    }
    return {};
}

inline constexpr std::u16string_view kPartTokens[] = {
    u"[SPLIT]", u"[AA][",  u"]",      u"[",      u"&#",     u"&#x2009;",   u"&#65;",  u"&#X41",
    u"&amp;",   u"&",      u"#",      u";",      u"x",      u"A",          u"9",      u" ",
    u"\u3000",  u"\u3042", u"\uFF71", u"\u2009", u"\u200A", u"\U0001F600", u"\uFF5E", u"\u00A0",
};

/// A name or a line of tokens; names may hold line breaks, which a header cannot.
inline std::u16string partString(FuzzInput& in, bool name)
{
    std::u16string out;
    const int tokens = in.pick(0, 6);
    for (int i = 0; i < tokens; ++i) {
        if (name && in.pick(0, 15) == 0) {
            out += in.flip() ? u"\r\n" : u"\n";
        } else {
            out += in.token(kPartTokens);
        }
    }
    return out;
}

inline Part partFrom(FuzzInput& in)
{
    Part part;
    part.name = partString(in, true);
    const int lines = in.pick(0, 4);
    for (int i = 0; i < lines; ++i) {
        part.lines.push_back(partString(in, false));
    }
    return part;
}

/// A part as it reads back: lines without trailing blanks, a name's line breaks as spaces, and
/// names only in AST.
inline Part asWritten(Part part, PartsFormat format)
{
    for (std::u16string& line : part.lines) {
        line = grid::trimTrailingSpaces(line);
    }
    if (format != PartsFormat::Ast) {
        part.name.clear();
    }
    for (char16_t& c : part.name) {
        if (c == u'\r' || c == u'\n') {
            c = u' ';
        }
    }
    return part;
}

/// A file whose only part is empty is an empty file, which holds no parts (AST keeps its header);
/// an empty last MLT part after others leaves the file ending in its separator, which opens no
/// part.
inline std::vector<Part> asRead(std::vector<Part> parts, PartsFormat format)
{
    if (format != PartsFormat::Ast && parts.size() == 1 && parts[0].lines.empty()) {
        parts.clear();
    } else if (format == PartsFormat::Mlt && parts.size() > 1 && parts.back().lines.empty()) {
        parts.pop_back();
    }
    return parts;
}

/// A list of parts built from the input, written in each format and read back, and one more part
/// appended to the written file and to the input's own bytes.
inline std::string checkPartsWriting(std::string_view bytes)
{
    FuzzInput in(bytes);
    std::vector<Part> parts(static_cast<size_t>(in.pick(0, 5)));
    for (Part& part : parts) {
        part = partFrom(in);
    }
    const Part extra = partFrom(in);
    const std::string_view other = bytes.substr(bytes.size() / 2);

    for (const PartsFormat format : kPartsFormats) {
        const std::string as = std::string(" as ") + formatName(format);
        std::vector<Part> expected;
        for (const Part& part : parts) {
            expected.push_back(asWritten(part, format));
            if (format == PartsFormat::Txt) {
                break;  // a text file is one part
            }
        }
        expected = asRead(expected, format);
        const std::string written = pagefile::partsFileBytes(parts, format);
        if (pagefile::detectEncoding(written).encoding != pagefile::TextEncoding::Cp932) {
            return "a written file is not read as code page 932" + as;
        }
        const std::vector<Part> back = pagefile::readParts(written, format);
        if (back != expected) {
            return "parts written and read back differ" + as + ": wrote " +
                   describeParts(expected) + " / read " + describeParts(back);
        }

        for (const std::string_view old : {std::string_view(written), other}) {
            const std::string to = as + (old.data() == written.data() ? " (written)" : " (bytes)");
            pagefile::IndexProblem problem = pagefile::IndexProblem::None;
            const pagefile::FileIndex index = pagefile::indexFile(old, format, &problem);
            const std::optional<std::string> added = pagefile::bytesToAppend(old, format, extra);
            if (format == PartsFormat::Txt || problem != pagefile::IndexProblem::None) {
                if (added) {
                    return "a part was appended to a text or binary file" + to;
                }
                continue;
            }
            if (!added) {
                return "nothing to append to a parts file" + to;
            }
            const std::optional<std::string> appended = std::string(old) + *added;
            if (pagefile::detectEncoding(*appended).encoding != index.detected.encoding) {
                return "appending changed the file's encoding" + to;
            }
            std::vector<Part> want = pagefile::readParts(old, format);
            want.push_back(asWritten(extra, format));
            want = asRead(want, format);
            const std::vector<Part> got = pagefile::readParts(*appended, format);
            if (got != want) {
                return "the appended file does not read as its parts and the new one" + to +
                       ": want " + describeParts(want) + " / read " + describeParts(got);
            }
        }
    }
    return {};
}

}  // namespace masumemo::fuzzcheck
