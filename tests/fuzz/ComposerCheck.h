#pragma once
// What must hold for runs of blanks composed to the dot, shared by the fuzzer and the replay of
// the inputs it found. Each check answers an empty string, or what went wrong.
//
// The composer is compared with a search of its own here: every run the rules allow, built one
// blank at a time, with the cheapest (bytes as posted, then characters) kept for each width.

#include <algorithm>
#include <array>
#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "board/BlankComposer.h"
#include "board/BoardBlanks.h"
#include "grid/LineModel.h"
#include "tests/fuzz/FuzzInput.h"

namespace masumemo::fuzzcheck {

inline constexpr int kMostComposedDots = 5000;

/// The blanks a run may be made of: half-width and full-width spaces, and with Unicode spaces
/// the five whose board widths are known.
inline std::vector<char16_t> composerBlanks(bool unicodeSpaces)
{
    std::vector<char16_t> blanks{grid::kHalfSpace, grid::kFullSpace};
    if (unicodeSpaces) {
        blanks.insert(blanks.end(), {u'\u2002', u'\u2005', u'\u2006', u'\u2009', u'\u200A'});
    }
    return blanks;
}

/// The cheapest run of every width a place allows: bytes and characters, or none.
struct CheapestRuns
{
    struct Cost
    {
        int bytes = INT_MAX;
        int chars = INT_MAX;
        bool some() const { return bytes != INT_MAX; }
        bool cheaperThan(const Cost& o) const
        {
            return bytes != o.bytes ? bytes < o.bytes : chars < o.chars;
        }
    };
    std::vector<Cost> best;  ///< by width

    CheapestRuns(board::RunPlace place, bool unicodeSpaces, int widest)
    {
        // A half-width space may not open the run after the line start or after a half-width
        // space, follow another, or close it before a half-width space.
        const bool halfMayOpen = !place.atLineStart && !place.halfBefore;
        enum Last
        {
            Nothing,
            Other,
            Half
        };
        std::vector<std::array<Cost, 3>> at(static_cast<size_t>(widest) + 1);
        at[0][Nothing] = {0, 0};
        const std::vector<char16_t> blanks = composerBlanks(unicodeSpaces);
        for (int w = 0; w <= widest; ++w) {
            for (int last = Nothing; last <= Half; ++last) {
                const Cost from = at[static_cast<size_t>(w)][static_cast<size_t>(last)];
                if (!from.some()) {
                    continue;
                }
                for (const char16_t b : blanks) {
                    const bool half = b == grid::kHalfSpace;
                    if (half && (last == Half || (last == Nothing && !halfMayOpen))) {
                        continue;
                    }
                    const int to = w + *board::blankDots(b);
                    if (to > widest) {
                        continue;
                    }
                    const Cost next{from.bytes + board::postedBytes(b), from.chars + 1};
                    Cost& cell = at[static_cast<size_t>(to)][half ? Half : Other];
                    if (next.cheaperThan(cell)) {
                        cell = next;
                    }
                }
            }
        }
        best.resize(at.size());
        const bool emptyAllowed = !(place.halfAfter && (place.atLineStart || place.halfBefore));
        for (size_t w = 0; w < at.size(); ++w) {
            Cost c = at[w][Other];
            if (!place.halfAfter && at[w][Half].cheaperThan(c)) {
                c = at[w][Half];
            }
            if (w == 0 && emptyAllowed) {
                c = {0, 0};
            }
            best[w] = c;
        }
    }
};

/// keepsBoardRules as the rules say it: the run between what stands before and after it, with
/// no half-width space first on the line and none beside another.
inline bool keepsRulesAsSaid(std::u16string_view run, board::RunPlace place)
{
    std::u16string around;
    if (!place.atLineStart) {
        around += place.halfBefore ? u' ' : u'a';
    }
    around += run;
    around += place.halfAfter ? u' ' : u'a';
    if (around.front() == u' ' && place.atLineStart) {
        return false;
    }
    return around.find(u"  ") == std::u16string::npos;
}

inline std::string checkComposer(FuzzInput& in)
{
    const int asked = in.pick(0, 40) == 0 ? in.pick(-20, -1) : in.pick(0, kMostComposedDots);
    board::RunPlace place{in.flip(), in.flip(), in.flip()};
    const bool unicodeSpaces = in.flip();
    const std::string where = " for " + std::to_string(asked) + " dots at (" +
                              std::to_string(place.atLineStart) + std::to_string(place.halfBefore) +
                              std::to_string(place.halfAfter) + ") with Unicode spaces " +
                              std::to_string(unicodeSpaces);

    const board::ComposedRun run = board::composeBlankRun(asked, place, unicodeSpaces);
    const std::vector<char16_t> blanks = composerBlanks(unicodeSpaces);
    for (const char16_t c : run.text) {
        if (std::find(blanks.begin(), blanks.end(), c) == blanks.end()) {
            return "a run holds a character it may not: " + shown(run.text) + where;
        }
    }
    const int want = std::max(asked, 0);
    if (board::runDots(run.text) != run.dots || run.deviation != run.dots - want) {
        return "a run's width or deviation is misreported: " + shown(run.text) + where;
    }
    if (!board::keepsBoardRules(run.text, place)) {
        return "a run breaks a board rule: " + shown(run.text) + where;
    }

    // One search per place and choice of blanks, made once: 16 tables.
    static const std::vector<CheapestRuns> searched = [] {
        std::vector<CheapestRuns> all;
        for (int k = 0; k < 16; ++k) {
            all.emplace_back(board::RunPlace{(k & 1) != 0, (k & 2) != 0, (k & 4) != 0},
                             (k & 8) != 0, kMostComposedDots + 200);
        }
        return all;
    }();
    const CheapestRuns& cheapest =
        searched[static_cast<size_t>(place.atLineStart) + 2 * place.halfBefore +
                 4 * place.halfAfter + 8 * unicodeSpaces];
    const auto cost = [&](int w) {
        return w < 0 || w >= static_cast<int>(cheapest.best.size())
                   ? CheapestRuns::Cost{}
                   : cheapest.best[static_cast<size_t>(w)];
    };

    // The true nearest width: the narrower of two equally near unless the wider costs fewer
    // bytes.
    int nearest = -1;
    for (int d = 0; nearest < 0 && d <= want + 200; ++d) {
        const CheapestRuns::Cost under = cost(want - d);
        const CheapestRuns::Cost over = d > 0 ? cost(want + d) : CheapestRuns::Cost{};
        if (under.some() && (!over.some() || under.bytes <= over.bytes)) {
            nearest = want - d;
        } else if (over.some()) {
            nearest = want + d;
        }
    }
    if (run.dots != nearest) {
        return "the run is " + std::to_string(run.dots) + " dots wide, the nearest is " +
               std::to_string(nearest) + where;
    }
    const CheapestRuns::Cost paid{board::runPostedBytes(run.text),
                                  static_cast<int>(run.text.size())};
    if (cost(run.dots).cheaperThan(paid)) {
        return "a cheaper run of " + std::to_string(run.dots) + " dots exists (" +
               std::to_string(cost(run.dots).bytes) + " bytes, " +
               std::to_string(cost(run.dots).chars) + " characters) than " + shown(run.text) +
               where;
    }

    // keepsBoardRules itself, on any run of blanks.
    std::u16string any;
    const int length = in.pick(0, 5);
    for (int i = 0; i < length; ++i) {
        any += std::u16string_view(u" \u3000\u2009").substr(static_cast<size_t>(in.pick(0, 2)), 1);
    }
    if (board::keepsBoardRules(any, place) != keepsRulesAsSaid(any, place)) {
        return "keepsBoardRules misjudges " + shown(any) + where;
    }
    return {};
}

}  // namespace masumemo::fuzzcheck
