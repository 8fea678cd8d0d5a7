#include "UnderlayRules.h"

#include <algorithm>
#include <array>

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
    static constexpr std::array<unsigned char, 2> kJpegEnd = {0xFF, 0xD9};
    static constexpr std::array<unsigned char, 8> kPngEnd = {'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    static constexpr std::array<unsigned char, 1> kGifEnd = {0x3B};
    if (format == "jpeg" || format == "jpg") {
        return endsWith(kJpegEnd);
    }
    if (format == "png") {
        return endsWith(kPngEnd);
    }
    if (format == "gif") {
        return endsWith(kGifEnd);
    }
    return true;
}

}  // namespace masumemo::underlay
