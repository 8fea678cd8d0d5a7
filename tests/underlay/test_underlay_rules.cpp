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
        {"jpeg", "\x12\x34\xFF\xD9", true},
        {"jpeg", std::string("\xFF\xD9\0\0\r\n", 6), true},  // padding after the mark
        {"jpeg", "\x12\x34\xFF", false},
        {"jpeg", "", false},
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
