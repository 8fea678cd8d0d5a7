#include "SnapshotFormat.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>

#include "grid/Cp932.h"
#include "grid/LineModel.h"

namespace masumemo::recovery {
namespace {

constexpr std::string_view kMagic = "masumemo-snapshot ";
constexpr std::string_view kEnd = "end ";

std::uint64_t checksum(std::string_view bytes)
{
    // FNV-1a: a damaged byte changes it; it guards against accidents, not against intent.
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ULL;
    }
    return h;
}

std::string hex(std::uint64_t value)
{
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(value));
    return buffer;
}

class Writer
{
public:
    void field(std::string_view key, std::string_view value)
    {
        out += key;
        out += ' ';
        out += std::to_string(value.size());
        out += '\n';
        out += value;
        out += '\n';
    }
    void field(std::string_view key, long long value) { field(key, std::to_string(value)); }
    void field(std::string_view key, std::u16string_view text)
    {
        std::string bytes;
        bytes.reserve(text.size() * 2);
        for (const char16_t unit : text) {
            bytes += static_cast<char>(unit & 0xFF);
            bytes += static_cast<char>(unit >> 8);
        }
        field(key, std::string_view(bytes));
    }
    std::string out;
};

std::optional<long long> number(std::string_view s)
{
    long long value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size() || s.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::u16string> utf16(std::string_view bytes)
{
    if (bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    std::u16string text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return text;
}

/// A page a canvas can hold: gyou lines of exactly 2 x keta units, within the largest canvas,
/// the caret inside the text.
bool plausible(const SnapshotPage& page)
{
    if (page.keta < 0 || page.gyou < 0 ||
        static_cast<long long>(page.keta) * 2 * page.gyou > grid::kMaxOpenedCanvasUnits ||
        page.caret < 0 || page.caret > static_cast<long long>(page.text.size())) {
        return false;
    }
    if (page.gyou == 0) {
        return page.text.empty();
    }
    // Lines end in CR LF only: a CR alone would hide the character after it from the widths.
    for (size_t i = 0; i < page.text.size(); ++i) {
        const bool cr = page.text[i] == u'\r';
        const bool lf = page.text[i] == u'\n';
        if ((cr && (i + 1 == page.text.size() || page.text[i + 1] != u'\n')) ||
            (lf && (i == 0 || page.text[i - 1] != u'\r'))) {
            return false;
        }
    }
    const std::vector<std::u16string> lines = grid::SplitText(page.text);
    if (static_cast<int>(lines.size()) != page.gyou) {
        return false;
    }
    for (const std::u16string& line : lines) {
        if (grid::WidthOf(line) != 2 * page.keta) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string snapshotBytes(const Snapshot& snapshot)
{
    Writer w;
    w.out = std::string(kMagic) + std::to_string(kSnapshotVersion) + '\n';
    w.field("time", snapshot.timeMs);
    w.field("path", std::u16string_view(snapshot.path));
    w.field("encoding", snapshot.form.encoding == grid::TextEncoding::Utf8 ? "utf-8" : "cp932");
    w.field("bom", snapshot.form.byteOrderMark ? 1 : 0);
    const grid::ReferenceSpelling& s = snapshot.form.spelling;
    w.field("spelling", std::string(s.hex ? "x" : "d") + (s.upperCase ? "U" : "l") +
                            (s.semicolon ? ";" : "-"));
    w.field("lineends", snapshot.lineEnds == Snapshot::LineEnds::Lf   ? "lf"
                        : snapshot.lineEnds == Snapshot::LineEnds::Cr ? "cr"
                                                                      : "crlf");
    w.field("format", snapshot.format == Snapshot::Format::Mlt   ? "mlt"
                      : snapshot.format == Snapshot::Format::Ast ? "ast"
                                                                 : "text");
    w.field("font", std::u16string_view(snapshot.fontFamily));
    w.field("fontpixels", snapshot.fontPixels);
    w.field("current", snapshot.current);
    for (const SnapshotPage& page : snapshot.pages) {
        w.field("page", std::u16string_view(page.name));
        w.field("keta", page.keta);
        w.field("gyou", page.gyou);
        w.field("caret", page.caret);
        w.field("text", std::u16string_view(page.text));
    }
    const std::uint64_t sum = checksum(w.out);
    w.out += kEnd;
    w.out += hex(sum);
    w.out += '\n';
    return std::move(w.out);
}

SnapshotRead readSnapshot(std::string_view bytes, long long maxBytes)
{
    using Status = SnapshotRead::Status;
    SnapshotRead read;
    if (static_cast<long long>(bytes.size()) > maxBytes) {
        read.status = Status::TooLarge;
        return read;
    }
    const auto fail = [&read](Status status) {
        read.status = status;
        read.snapshot = {};
        return read;
    };
    // The version line: a file cut inside it is cut off, anything else there is no snapshot.
    const size_t lineEnd = bytes.find('\n');
    if (lineEnd == std::string_view::npos) {
        const bool prefix = kMagic.starts_with(bytes) || bytes.starts_with(kMagic);
        return fail(prefix && !bytes.empty() ? Status::CutOff : Status::Unreadable);
    }
    if (!bytes.starts_with(kMagic)) {
        return fail(Status::Unreadable);
    }
    const std::optional<long long> version =
        number(bytes.substr(kMagic.size(), lineEnd - kMagic.size()));
    if (!version || *version < 1) {
        return fail(Status::Unreadable);
    }
    read.version = static_cast<int>(std::min<long long>(*version, 1 << 30));
    if (*version > kSnapshotVersion) {
        return fail(Status::NewerVersion);
    }

    Snapshot& snap = read.snapshot;
    bool sawCurrent = false;
    size_t at = lineEnd + 1;
    for (;;) {
        const size_t keyEnd = bytes.find('\n', at);
        if (keyEnd == std::string_view::npos) {
            return fail(Status::CutOff);
        }
        const std::string_view head = bytes.substr(at, keyEnd - at);
        if (head.starts_with(kEnd)) {
            if (head.substr(kEnd.size()) != hex(checksum(bytes.substr(0, at)))) {
                return fail(Status::Unreadable);
            }
            if (keyEnd + 1 != bytes.size()) {
                return fail(Status::Unreadable);
            }
            break;
        }
        const size_t space = head.find(' ');
        const std::optional<long long> size =
            space == std::string_view::npos ? std::nullopt : number(head.substr(space + 1));
        if (!size || *size < 0) {
            return fail(Status::Unreadable);
        }
        const size_t valueAt = keyEnd + 1;
        if (static_cast<unsigned long long>(*size) + 1 > bytes.size() - valueAt) {
            return fail(Status::CutOff);
        }
        const std::string_view key = head.substr(0, space);
        const std::string_view value = bytes.substr(valueAt, static_cast<size_t>(*size));
        if (bytes[valueAt + value.size()] != '\n') {
            return fail(Status::Unreadable);
        }
        at = valueAt + value.size() + 1;

        const auto text = [&]() { return utf16(value); };
        const auto integer = [&](int& into) {
            const std::optional<long long> n = number(value);
            if (!n || *n < INT32_MIN || *n > INT32_MAX) {
                return false;
            }
            into = static_cast<int>(*n);
            return true;
        };
        SnapshotPage* page = snap.pages.empty() ? nullptr : &snap.pages.back();
        bool ok = true;
        if (key == "time") {
            const std::optional<long long> n = number(value);
            ok = n.has_value();
            snap.timeMs = n.value_or(0);
        } else if (key == "path" || key == "font" || key == "page") {
            const std::optional<std::u16string> t = text();
            ok = t.has_value();
            if (ok && key == "page") {
                snap.pages.push_back({*t});
            } else if (ok) {
                (key == "path" ? snap.path : snap.fontFamily) = *t;
            }
        } else if (key == "encoding") {
            ok = value == "utf-8" || value == "cp932";
            snap.form.encoding = value == "utf-8" ? grid::TextEncoding::Utf8 : grid::TextEncoding::Cp932;
        } else if (key == "bom") {
            ok = value == "0" || value == "1";
            snap.form.byteOrderMark = value == "1";
        } else if (key == "spelling") {
            ok = value.size() == 3;
            if (ok) {
                snap.form.spelling = {value[0] == 'x', value[1] == 'U', value[2] == ';'};
            }
        } else if (key == "lineends") {
            ok = value == "crlf" || value == "lf" || value == "cr";
            snap.lineEnds = value == "lf"   ? Snapshot::LineEnds::Lf
                            : value == "cr" ? Snapshot::LineEnds::Cr
                                            : Snapshot::LineEnds::CrLf;
        } else if (key == "format") {
            ok = value == "text" || value == "mlt" || value == "ast";
            snap.format = value == "mlt"   ? Snapshot::Format::Mlt
                          : value == "ast" ? Snapshot::Format::Ast
                                           : Snapshot::Format::Text;
        } else if (key == "fontpixels") {
            ok = integer(snap.fontPixels);
        } else if (key == "current") {
            ok = integer(snap.current);
            sawCurrent = true;
        } else if (key == "keta" || key == "gyou" || key == "caret" || key == "text") {
            // A page's fields follow its "page" field.
            ok = page != nullptr;
            if (ok && key == "text") {
                const std::optional<std::u16string> t = text();
                ok = t.has_value();
                if (ok) {
                    page->text = *t;
                }
            } else if (ok) {
                ok = integer(key == "keta" ? page->keta : key == "gyou" ? page->gyou : page->caret);
            }
        }
        if (!ok) {
            return fail(Status::Unreadable);
        }
    }
    if (snap.pages.empty() || !sawCurrent || snap.current < 0 ||
        snap.current >= static_cast<int>(snap.pages.size())) {
        return fail(Status::Unreadable);
    }
    for (const SnapshotPage& page : snap.pages) {
        if (!plausible(page)) {
            return fail(Status::Unreadable);
        }
    }
    read.status = Status::Ok;
    return read;
}

}  // namespace masumemo::recovery
