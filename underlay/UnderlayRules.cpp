#include "UnderlayRules.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace masumemo::underlay {

UnderlayPlacement clamped(UnderlayPlacement p)
{
    p.opacity = std::clamp(p.opacity, kMinOpacity, kMaxOpacity);
    p.scale = std::clamp(p.scale, kMinScale, kMaxScale);
    p.x = std::clamp(p.x, -kMaxOffset, kMaxOffset);
    p.y = std::clamp(p.y, -kMaxOffset, kMaxOffset);
    return p;
}

namespace {

int scaled(int length, int scale)
{
    const std::int64_t v = (static_cast<std::int64_t>(length) * scale + 50) / 100;
    return static_cast<int>(std::max<std::int64_t>(v, 1));
}

}  // namespace

PixelSize shownSize(PixelSize natural, int scale)
{
    if (natural.width <= 0 || natural.height <= 0) {
        return {};
    }
    return {scaled(natural.width, scale), scaled(natural.height, scale)};
}

PixelSize keptSize(PixelSize natural, int scale)
{
    return shownSize(natural, std::min(scale, 100));
}

bool fitsDecodeLimit(PixelSize natural)
{
    return natural.width > 0 && natural.height > 0 &&
           static_cast<std::int64_t>(natural.width) * natural.height * 4 <= kDecodeLimitBytes;
}

bool endsComplete(std::string_view format, std::span<const unsigned char> tail)
{
    // Writers may pad a file after its last mark; zero bytes and line ends are skipped (no
    // closing mark ends in one of them).
    size_t end = tail.size();
    while (end > 0 && (tail[end - 1] == 0 || tail[end - 1] == '\n' || tail[end - 1] == '\r')) {
        --end;
    }
    const auto endsWith = [&](std::span<const unsigned char> mark) {
        return end >= mark.size() &&
               std::equal(mark.begin(), mark.end(), tail.begin() + static_cast<long>(end - mark.size()));
    };
    static constexpr std::array<unsigned char, 8> kPngEnd = {'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    static constexpr std::array<unsigned char, 1> kGifEnd = {0x3B};
    if (format == "png") {
        return endsWith(kPngEnd);
    }
    if (format == "gif") {
        return endsWith(kGifEnd);
    }
    return true;
}

bool jpegComplete(std::span<const unsigned char> f)
{
    const size_t n = f.size();
    if (n < 4 || f[0] != 0xFF || f[1] != 0xD8) {
        return false;
    }
    size_t i = 2;
    bool scanned = false;
    for (;;) {
        if (i >= n || f[i] != 0xFF) {
            return false;  // cut off, or something else where a marker must be
        }
        while (i < n && f[i] == 0xFF) {
            ++i;  // fill bytes
        }
        if (i >= n) {
            return false;
        }
        const unsigned char marker = f[i++];
        if (marker == 0xD9) {
            return scanned;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            continue;  // markers without a segment
        }
        if (n - i < 2) {
            return false;
        }
        const size_t length = (size_t{f[i]} << 8) | f[i + 1];
        if (length < 2 || length > n - i) {
            return false;
        }
        i += length;
        if (marker != 0xDA) {
            continue;
        }
        // A scan's data runs to the next marker; FF 00 is a stuffed FF, FF D0 to FF D7 restarts.
        scanned = true;
        for (;;) {
            const auto* ff = static_cast<const unsigned char*>(std::memchr(f.data() + i, 0xFF, n - i));
            if (ff == nullptr) {
                return false;
            }
            i = static_cast<size_t>(ff - f.data());
            if (i + 1 >= n) {
                return false;
            }
            const unsigned char next = f[i + 1];
            if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
                i += 2;
            } else if (next == 0xFF) {
                ++i;
            } else {
                break;  // the next marker, read by the loop above
            }
        }
    }
}

bool bmpComplete(std::span<const unsigned char> head, std::uint64_t fileSize)
{
    const auto u16 = [&head](size_t at) -> std::uint64_t {
        return head[at] | (std::uint64_t{head[at + 1]} << 8);
    };
    const auto u32 = [&head](size_t at) -> std::uint64_t {
        return head[at] | (std::uint64_t{head[at + 1]} << 8) | (std::uint64_t{head[at + 2]} << 16) |
               (std::uint64_t{head[at + 3]} << 24);
    };
    if (head.size() < 26 || head[0] != 'B' || head[1] != 'M') {
        return true;
    }
    const std::uint64_t pixelsAt = u32(10);
    const std::uint64_t headerSize = u32(14);
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint64_t bits = 0;
    std::uint64_t compression = 0;
    if (headerSize == 12) {
        width = u16(18);
        height = u16(20);
        bits = u16(24);
    } else if (headerSize >= 40 && head.size() >= 34) {
        // Signed: a negative height is a picture stored top row first.
        const auto magnitude = [&u32](size_t at) {
            const auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(u32(at)));
            return static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(value)));
        };
        width = magnitude(18);
        height = magnitude(22);
        bits = u16(28);
        compression = u32(30);
    } else {
        return true;
    }
    // Plain rows (with or without bit masks): each padded to four bytes.
    constexpr std::uint64_t kPlain = 0;
    constexpr std::uint64_t kBitFields = 3;
    constexpr std::uint64_t kAlphaBitFields = 6;
    if (compression != kPlain && compression != kBitFields && compression != kAlphaBitFields) {
        return true;
    }
    const std::uint64_t rowBytes = (width * bits + 31) / 32 * 4;
    return fileSize >= pixelsAt + rowBytes * height;
}

}  // namespace masumemo::underlay
