// The underlay's limits and sizes, and the closing marks that tell a cut-off file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "underlay/UnderlayRules.h"

using namespace masumemo::underlay;

TEST(UnderlayRules, PlacementIsKeptInsideItsLimits)
{
    struct Row { UnderlayPlacement in, out; };
    const Row rows[] = {
        {{50, 100, 0, 0}, {50, 100, 0, 0}},
        {{0, 0, -5, 7}, {kMinOpacity, kMinScale, -5, 7}},
        {{101, 401, 0, 0}, {kMaxOpacity, kMaxScale, 0, 0}},
        {{-3, -3, 2'000'000, -2'000'000}, {kMinOpacity, kMinScale, kMaxOffset, -kMaxOffset}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(clamped(r.in), r.out);
    }
}

TEST(UnderlayRules, ShownAndKeptSizes)
{
    struct Row { PixelSize natural; int scale; PixelSize shown, kept; };
    const Row rows[] = {
        {{8000, 6000}, 100, {8000, 6000}, {8000, 6000}},
        {{8000, 6000}, 10, {800, 600}, {800, 600}},
        {{3, 5}, 50, {2, 3}, {2, 3}},         // halves round up
        {{3, 1}, 10, {1, 1}, {1, 1}},         // never below a pixel
        {{200, 100}, 400, {800, 400}, {200, 100}},  // enlarged as painted, kept at its own size
        {{30000, 30000}, 400, {120000, 120000}, {30000, 30000}},
        {{0, 10}, 100, {}, {}},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(shownSize(r.natural, r.scale), r.shown) << r.natural.width << " @" << r.scale;
        EXPECT_EQ(keptSize(r.natural, r.scale), r.kept) << r.natural.width << " @" << r.scale;
    }
}

TEST(UnderlayRules, DecodeLimit)
{
    EXPECT_TRUE(fitsDecodeLimit({8000, 6000}));
    EXPECT_TRUE(fitsDecodeLimit({8192, 8192}));  // exactly the limit
    EXPECT_FALSE(fitsDecodeLimit({8192, 8193}));
    EXPECT_FALSE(fitsDecodeLimit({30000, 30000}));
    EXPECT_FALSE(fitsDecodeLimit({100000, 100000}));  // no overflow on the way
    EXPECT_FALSE(fitsDecodeLimit({0, 0}));
    EXPECT_FALSE(fitsDecodeLimit({-1, 10}));
}

TEST(UnderlayRules, ClosingMarks)
{
    const auto bytes = [](std::string s) { return std::vector<unsigned char>(s.begin(), s.end()); };
    struct Row { const char* format; std::string tail; bool complete; };
    const Row rows[] = {
        {"png", std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12), true},
        {"png", "IDAT\x01\x02", false},
        {"gif", std::string("\0\x3B", 2), true},
        {"gif", std::string("\x2C\0", 2), false},
        {"bmp", "", true},  // no closing mark to look for
        {"webp", "anything", true},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(endsComplete(r.format, bytes(r.tail)), r.complete) << r.format;
    }
}

namespace {

std::vector<unsigned char> bytesOf(std::initializer_list<int> values)
{
    return {values.begin(), values.end()};
}

std::vector<unsigned char> joined(std::initializer_list<std::vector<unsigned char>> parts)
{
    std::vector<unsigned char> out;
    for (const auto& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

}  // namespace

TEST(UnderlayRules, JpegMarksLeadToTheEnd)
{
    const auto soi = bytesOf({0xFF, 0xD8});
    // An APP1 segment holding a thumbnail, which ends in FF D9 itself.
    const auto app1 = bytesOf({0xFF, 0xE1, 0x00, 0x08, 0xFF, 0xD8, 0x01, 0x02, 0xFF, 0xD9});
    const auto sos = bytesOf({0xFF, 0xDA, 0x00, 0x03, 0x01});
    // Scan data with a stuffed FF, a restart mark and fill bytes before the next mark.
    const auto data = bytesOf({0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD3, 0x56, 0xFF, 0xFF});
    const auto eoi = bytesOf({0xFF, 0xD9});
    const auto whole = joined({soi, app1, sos, data, eoi});
    const auto cut = [&whole](size_t n) {
        return std::vector<unsigned char>(whole.begin(), whole.begin() + static_cast<long>(n));
    };
    const struct
    {
        const char* name;
        std::vector<unsigned char> file;
        bool complete;
    } rows[] = {
        {"whole", whole, true},
        {"a video after the end", joined({whole, bytesOf({0x00, 0x00, 0x00, 0x18, 'f', 't', 'y', 'p'})}), true},
        {"cut at the thumbnail's end", cut(soi.size() + app1.size()), false},
        {"cut inside the thumbnail's segment", cut(soi.size() + 6), false},
        {"cut in the scan", cut(whole.size() - 4), false},
        {"cut before the last byte", cut(whole.size() - 1), false},
        {"no scan before the end", joined({soi, app1, eoi}), false},
        {"a segment longer than the file", joined({soi, bytesOf({0xFF, 0xE0, 0x40, 0x00, 0x01})}), false},
        {"not a JPEG", bytesOf({0x89, 'P', 'N', 'G'}), false},
        {"empty", {}, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(jpegComplete(row.file), row.complete) << row.name;
    }
}

TEST(UnderlayRules, BmpHoldsEveryRow)
{
    // 10 x 3 at 24 bits: rows of 30 bytes padded to 32, pixels from byte 54.
    std::vector<unsigned char> head(54, 0);
    const auto put32 = [&head](size_t at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k) {
            head[at + static_cast<size_t>(k)] = static_cast<unsigned char>(v >> (8 * k));
        }
    };
    head[0] = 'B';
    head[1] = 'M';
    put32(10, 54);
    put32(14, 40);
    put32(18, 10);
    put32(22, 3);
    head[28] = 24;
    const std::uint64_t whole = 54 + 3 * 32;
    EXPECT_TRUE(bmpComplete(head, whole));
    EXPECT_TRUE(bmpComplete(head, whole + 100));  // trailing bytes
    EXPECT_FALSE(bmpComplete(head, whole - 1));
    EXPECT_FALSE(bmpComplete(head, 54 + 32));
    put32(22, static_cast<std::uint32_t>(-3));  // stored top row first
    EXPECT_FALSE(bmpComplete(head, whole - 1));
    EXPECT_TRUE(bmpComplete(head, whole));
    put32(30, 1);  // run-length coded: no row arithmetic, the decoder judges
    EXPECT_TRUE(bmpComplete(head, 60));
    EXPECT_TRUE(bmpComplete(bytesOf({'G', 'I', 'F'}), 3));
}
