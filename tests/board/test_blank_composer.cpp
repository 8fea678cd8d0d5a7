// The composer of blank runs against an independent brute force over the counts of each blank,
// for every width up to 1,000 dots in every place a run can stand.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <optional>
#include <string>

#include "board/BlankComposer.h"
#include "board/BoardBlanks.h"

namespace {

using namespace masumemo::board;

constexpr char16_t kHalf = u' ';
constexpr char16_t kFull = u'\u3000';

struct Place
{
    const char* name;
    RunPlace place;
};

const std::array<Place, 4> kPlaces{{
    {"between two letters", {false, false, false}},
    {"at the line start", {true, false, false}},
    {"after a half-width space", {false, true, false}},
    {"before a half-width space", {false, false, true}},
}};

struct Best
{
    int bytes = INT_MAX;
    int chars = INT_MAX;
    bool found() const { return bytes != INT_MAX; }
};

/// The cheapest run of exactly `dots` by counting: any number of full-width and half-width
/// spaces and up to four Unicode spaces (each costs 8 bytes, so more never pays: two of them
/// reach every remainder modulo a full-width space). Half-width spaces fit when there are
/// enough places between, before and after the other blanks that the rules allow.
Best bruteForce(int dots, RunPlace place, bool unicodeSpaces)
{
    const std::array<int, 5> uni{8, 4, 3, 2, 1};  // U+2002, U+2005, U+2006, U+2009, U+200A
    Best best;
    auto consider = [&](int others, int halves, int bytes) {
        // Places for half-width spaces: after each other blank, and before the first; the first
        // is barred at the line start or after a half-width space, the last before one.
        int slots = others + 1;
        if (place.atLineStart || place.halfBefore) {
            --slots;
        }
        if (place.halfAfter) {
            --slots;
        }
        if (others == 0 && halves == 0) {
            slots = 0;
        }
        const bool emptyOk =
            !(place.halfAfter && (place.atLineStart || place.halfBefore));
        if (halves > std::max(slots, 0) || (others == 0 && halves == 0 && !emptyOk)) {
            return;
        }
        const int chars = others + halves;
        if (bytes < best.bytes || (bytes == best.bytes && chars < best.chars)) {
            best = {bytes, chars};
        }
    };
    const int maxUni = unicodeSpaces ? 4 : 0;
    for (int a = 0; a <= maxUni; ++a) {
        for (int b = 0; a + b <= maxUni; ++b) {
            for (int c = 0; a + b + c <= maxUni; ++c) {
                for (int d = 0; a + b + c + d <= maxUni; ++d) {
                    for (int e = 0; a + b + c + d + e <= maxUni; ++e) {
                        const int u = a * uni[0] + b * uni[1] + c * uni[2] + d * uni[3] +
                                      e * uni[4];
                        const int n = a + b + c + d + e;
                        for (int fulls = 0; u + fulls * 11 <= dots; ++fulls) {
                            const int rest = dots - u - fulls * 11;
                            if (rest % 5 == 0) {
                                consider(n + fulls, rest / 5, 8 * n + 2 * fulls + rest / 5);
                            }
                        }
                    }
                }
            }
        }
    }
    return best;
}

TEST(BlankComposer, MatchesABruteForceForEveryWidthUpToAThousandDots)
{
    for (bool unicode : {false, true}) {
        for (const Place& p : kPlaces) {
            for (int dots = 0; dots <= 1000; ++dots) {
                SCOPED_TRACE(testing::Message() << p.name << ", " << dots << " dots"
                                                << (unicode ? ", Unicode spaces" : ""));
                const ComposedRun run = composeBlankRun(dots, p.place, unicode);
                ASSERT_TRUE(keepsBoardRules(run.text, p.place));
                ASSERT_EQ(runDots(run.text), run.dots);
                ASSERT_EQ(run.dots - dots, run.deviation);
                const Best best = bruteForce(dots, p.place, unicode);
                ASSERT_EQ(best.found(), run.exact());
                if (best.found()) {
                    EXPECT_EQ(best.bytes, runPostedBytes(run.text));
                    EXPECT_EQ(best.chars, static_cast<int>(run.text.size()));
                } else {
                    // The nearest: nothing makeable lies strictly closer.
                    for (int w = dots - std::abs(run.deviation) + 1;
                         w < dots + std::abs(run.deviation); ++w) {
                        ASSERT_FALSE(w >= 0 && bruteForce(w, p.place, unicode).found())
                            << "width " << w << " was closer";
                    }
                }
            }
        }
    }
}

/// The first width from which every width can be made exactly.
int everyWidthFrom(RunPlace place, bool unicode)
{
    int from = 0;
    for (int dots = 0; dots <= 1000; ++dots) {
        if (!composeBlankRun(dots, place, unicode).exact()) {
            from = dots + 1;
        }
    }
    return from;
}

TEST(BlankComposer, WidthsThatCanBeMade)
{
    // With full-width and half-width spaces only, widths have gaps up to these; from them on,
    // every width is exact. Without the rule that half-width spaces never touch it would be 40.
    EXPECT_EQ(everyWidthFrom(kPlaces[0].place, false), 139);
    EXPECT_EQ(everyWidthFrom(kPlaces[1].place, false), 150);
    EXPECT_EQ(everyWidthFrom(kPlaces[2].place, false), 150);
    EXPECT_EQ(everyWidthFrom(kPlaces[3].place, false), 150);
    // With Unicode spaces every width from 1 on can be made, wherever the run stands.
    for (const Place& p : kPlaces) {
        SCOPED_TRACE(p.name);
        EXPECT_LE(everyWidthFrom(p.place, true), 1);
    }
}

TEST(BlankComposer, RunsAsTheyAreWritten)
{
    struct Row
    {
        const char* name;
        int dots;
        RunPlace place;
        bool unicode;
        std::u16string text;
        int deviation;
    };
    const Row rows[] = {
        {"nothing", 0, {}, false, u"", 0},
        {"one half-width space mid-line", 5, {}, false, u" ", 0},
        {"no half-width space to start a line: nothing is nearer than a full-width one", 5,
         {true}, false, u"", -5},
        {"two half-width spaces are a full-width one, one dot wider", 10, {}, false, u"\u3000",
         1},
        {"half-width spaces follow the full-width ones", 27, {}, false, u"\u3000 \u3000", 0},
        {"a half-width space follows a full-width one, even at the line start", 16, {true},
         false, u"\u3000 ", 0},
        {"a half-width space leads when there are more than places after", 21, {}, false,
         u" \u3000 ", 0},
        {"...but not at the line start, where a wider run is nearest", 21, {true}, false,
         u"\u3000\u3000", 1},
        {"one hair space makes a full-width space one dot wider", 12, {}, true, u"\u3000\u200A",
         0},
        {"hair space at the line start", 1, {true}, true, u"\u200A", 0},
        {"no half-width space before another", 5, {false, false, true}, true, u"\u2005\u200A",
         0},
        {"empty run would join two half-width spaces", 0, {false, true, true}, true, u"\u200A",
         1},
        {"wide runs are mostly full-width spaces", 2200, {}, false,
         std::u16string(200, u'\u3000'), 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const ComposedRun run = composeBlankRun(r.dots, r.place, r.unicode);
        EXPECT_EQ(run.text, r.text);
        EXPECT_EQ(run.deviation, r.deviation);
    }
}

TEST(BlankComposer, BoardRules)
{
    EXPECT_TRUE(keepsBoardRules(u" \u3000 ", {}));
    EXPECT_FALSE(keepsBoardRules(u"  ", {}));
    EXPECT_FALSE(keepsBoardRules(u" \u3000", {true}));
    EXPECT_FALSE(keepsBoardRules(u" ", {false, true}));
    EXPECT_FALSE(keepsBoardRules(u"\u3000 ", {false, false, true}));
    EXPECT_TRUE(keepsBoardRules(u"\u2009 ", {false, true}));
    EXPECT_FALSE(keepsBoardRules(u"", {true, false, true}));
    EXPECT_TRUE(keepsBoardRules(u"", {true, false, false}));
}

TEST(BoardBlanks, WidthsAndBytes)
{
    EXPECT_EQ(blankDots(kHalf), 5);
    EXPECT_EQ(blankDots(kFull), 11);
    EXPECT_EQ(blankDots(u'\u2006'), 3);
    EXPECT_EQ(blankDots(u'\u200A'), 1);
    EXPECT_EQ(blankDots(u'\u200B'), std::nullopt);
    EXPECT_EQ(blankDots(u'a'), std::nullopt);
    EXPECT_EQ(runPostedBytes(u" \u3000\u2009"), 1 + 2 + 8);
}

}  // namespace
