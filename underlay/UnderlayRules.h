#pragma once
// The rules of the underlay image, without Qt: the limits of its placement, the size it is
// shown and kept at, whether it may be decoded at all, and whether its file ends as it should.

#include <cstdint>
#include <span>
#include <string_view>

namespace masumemo::underlay {

inline constexpr int kMinOpacity = 10;
inline constexpr int kMaxOpacity = 100;
inline constexpr int kMinScale = 10;
inline constexpr int kMaxScale = 400;
/// Far beyond any canvas, so a picture can be pushed anywhere useful and no further.
inline constexpr int kMaxOffset = 100000;
/// Decoded pixels take four bytes each; a picture needing more than this is refused.
inline constexpr std::int64_t kDecodeLimitBytes = 256LL * 1024 * 1024;

/// Where and how the picture lies under the canvas: percentages and canvas pixels.
struct UnderlayPlacement
{
    int opacity = 50;
    int scale = 100;
    int x = 0;
    int y = 0;

    friend bool operator==(const UnderlayPlacement&, const UnderlayPlacement&) = default;
};

struct PixelSize
{
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

/// The placement with every value brought inside its limits.
UnderlayPlacement clamped(UnderlayPlacement p);

/// The picture's size on the canvas at `scale` percent: rounded, never below one pixel.
PixelSize shownSize(PixelSize natural, int scale);
/// The size the decoded picture is kept at: the shown size, but never above the natural one
/// (an enlarged picture is scaled as it is painted).
PixelSize keptSize(PixelSize natural, int scale);

/// Whether a picture of this size decodes within kDecodeLimitBytes (empty sizes never do).
bool fitsDecodeLimit(PixelSize natural);

/// Whether a file of this format (lower case: "png", "gif") ends with its format's closing
/// mark, looking at its last bytes. Formats without one always pass. Some decoders fill a
/// cut-off picture with grey or black and report success; this and the two below catch them.
bool endsComplete(std::string_view format, std::span<const unsigned char> tail);

/// Whether a JPEG file leads, segment by segment and through the data of each scan, to its
/// end-of-image mark after at least one scan. Bytes after that mark (a phone's "motion photo"
/// appends a video there) do not matter; a file cut anywhere before it is incomplete, even where
/// the cut leaves FF D9 (the end of an embedded thumbnail, say) as its last bytes.
bool jpegComplete(std::span<const unsigned char> file);

/// Whether a BMP file of fileSize bytes, whose first bytes are head, holds all the pixel rows
/// its header declares. Headers this does not understand pass: the decoder judges those.
bool bmpComplete(std::span<const unsigned char> head, std::uint64_t fileSize);

}  // namespace masumemo::underlay
