#include "BlankComposer.h"

#include <algorithm>
#include <array>
#include <climits>
#include <mutex>
#include <vector>

#include "board/BoardBlanks.h"
#include "grid/LineModel.h"

namespace masumemo::board {

namespace {

constexpr char16_t kHalf = grid::kHalfSpace;
constexpr char16_t kFull = grid::kFullSpace;

/// The blanks runs are made of, in the order a run lists them (the half-width space last: it is
/// placed between the others).
constexpr std::array<char16_t, 7> kBlanks{kFull, u'\u2002', u'\u2005', u'\u2006', u'\u2009',
                                          u'\u200A', kHalf};
constexpr int kUnicodeFirst = 1;
constexpr int kUnicodeEnd = 6;
constexpr int kHalfIndex = 6;

/// Widths up to this are looked up in a table; wider runs are full-width spaces before one from
/// the table, which for such widths costs what the best run costs.
constexpr int kTableDots = 2048;
/// How far from the asked width the nearest run is looked for; every width from 0 on is within
/// this of one that full-width and half-width spaces make.
constexpr int kSearchDots = 64;

struct Cost
{
    int bytes = INT_MAX;
    int chars = INT_MAX;
    bool reachable() const { return bytes != INT_MAX; }
    friend bool operator<(const Cost& a, const Cost& b)
    {
        return a.bytes != b.bytes ? a.bytes < b.bytes : a.chars < b.chars;
    }
};

/// Cheapest runs of every width up to kTableDots, by whether they end in a half-width space.
/// State 0 ends in anything else (or is empty, at width 0), state 1 ends in a half-width space.
struct Table
{
    std::vector<std::array<Cost, 2>> cost;
    std::vector<std::array<signed char, 2>> last;  ///< index into kBlanks of the last blank
    std::vector<std::array<signed char, 2>> from;  ///< the state before it
};

Table buildTable(bool halfMayLead, bool unicodeSpaces)
{
    Table t;
    t.cost.assign(kTableDots + 1, {});
    t.last.assign(kTableDots + 1, {-1, -1});
    t.from.assign(kTableDots + 1, {-1, -1});
    t.cost[0][0] = {0, 0};
    for (int w = 1; w <= kTableDots; ++w) {
        for (int i = 0; i < static_cast<int>(kBlanks.size()); ++i) {
            if (!unicodeSpaces && i >= kUnicodeFirst && i < kUnicodeEnd) {
                continue;
            }
            const char16_t blank = kBlanks[static_cast<size_t>(i)];
            const int d = *blankDots(blank);
            if (d > w) {
                continue;
            }
            const bool half = i == kHalfIndex;
            const int state = half ? 1 : 0;
            for (int prev = 0; prev < 2; ++prev) {
                const Cost& before = t.cost[static_cast<size_t>(w - d)][static_cast<size_t>(prev)];
                if (!before.reachable() || (half && prev == 1) ||
                    (half && w - d == 0 && !halfMayLead)) {
                    continue;
                }
                const Cost next{before.bytes + postedBytes(blank), before.chars + 1};
                auto& cell = t.cost[static_cast<size_t>(w)][static_cast<size_t>(state)];
                if (next < cell) {
                    cell = next;
                    t.last[static_cast<size_t>(w)][static_cast<size_t>(state)] =
                        static_cast<signed char>(i);
                    t.from[static_cast<size_t>(w)][static_cast<size_t>(state)] =
                        static_cast<signed char>(prev);
                }
            }
        }
    }
    return t;
}

const Table& tableFor(bool halfMayLead, bool unicodeSpaces)
{
    static std::array<Table, 4> tables;
    static std::array<std::once_flag, 4> built;
    const size_t k = (halfMayLead ? 1U : 0U) + (unicodeSpaces ? 2U : 0U);
    std::call_once(built[k], [&] { tables[k] = buildTable(halfMayLead, unicodeSpaces); });
    return tables[k];
}

/// The blanks of the cheapest run of width w that ends in a blank allowed before what follows,
/// counted by kind; false when no such run exists.
bool cheapestCounts(int w, bool halfMayLead, bool halfMayEnd, bool unicodeSpaces,
                    std::array<int, kBlanks.size()>& counts, Cost& cost)
{
    counts.fill(0);
    int fulls = 0;
    if (w > kTableDots) {
        fulls = (w - kTableDots) / kFullSpaceDots + 1;
        w -= fulls * kFullSpaceDots;
        halfMayLead = true;  // a full-width space stands before the rest
    }
    const Table& t = tableFor(halfMayLead, unicodeSpaces);
    int state = -1;
    const auto& cell = t.cost[static_cast<size_t>(w)];
    if (cell[0].reachable()) {
        state = 0;
    }
    if (halfMayEnd && cell[1].reachable() && (state < 0 || cell[1] < cell[0])) {
        state = 1;
    }
    if (state < 0) {
        return false;
    }
    cost = cell[static_cast<size_t>(state)];
    cost.bytes += fulls * postedBytes(kFull);
    cost.chars += fulls;
    counts[0] += fulls;
    while (w > 0) {
        const int i = t.last[static_cast<size_t>(w)][static_cast<size_t>(state)];
        const int prev = t.from[static_cast<size_t>(w)][static_cast<size_t>(state)];
        ++counts[static_cast<size_t>(i)];
        w -= *blankDots(kBlanks[static_cast<size_t>(i)]);
        state = prev;
    }
    return true;
}

/// The blanks laid out: the others in list order, one half-width space after each of them from
/// the first on, and one before the first when more are left. The counts come from a run that
/// keeps the rules, so the slots this takes are allowed.
std::u16string arrange(const std::array<int, kBlanks.size()>& counts, bool halfMayEnd)
{
    std::u16string others;
    for (size_t i = 0; i < kBlanks.size(); ++i) {
        if (static_cast<int>(i) != kHalfIndex) {
            others.append(static_cast<size_t>(counts[i]), kBlanks[i]);
        }
    }
    int halves = counts[static_cast<size_t>(kHalfIndex)];
    const int n = static_cast<int>(others.size());
    // Slots 1..n follow each other blank; slot 0 leads. Slot n is also the run's end.
    const int afterSlots = halfMayEnd ? n : std::max(n - 1, 0);
    const bool lead = halves > afterSlots;
    std::u16string run;
    if (lead) {
        run += kHalf;
        --halves;
    }
    for (char16_t c : others) {
        run += c;
        if (halves > 0) {
            run += kHalf;
            --halves;
        }
    }
    return run;
}

}  // namespace

bool keepsBoardRules(std::u16string_view run, RunPlace place)
{
    bool prevHalf = place.halfBefore;
    bool first = place.atLineStart;
    for (char16_t c : run) {
        const bool half = c == kHalf;
        if (half && (prevHalf || first)) {
            return false;
        }
        prevHalf = half;
        first = false;
    }
    return !(place.halfAfter && (prevHalf || first));
}

int runPostedBytes(std::u16string_view run)
{
    int bytes = 0;
    for (char16_t c : run) {
        bytes += postedBytes(c);
    }
    return bytes;
}

ComposedRun composeBlankRun(int dots, RunPlace place, bool unicodeSpaces)
{
    dots = std::max(dots, 0);
    const bool halfMayLead = !place.atLineStart && !place.halfBefore;
    const bool halfMayEnd = !place.halfAfter;
    const bool emptyAllowed = keepsBoardRules(u"", place);

    // Exact, or the nearest width within reach: the narrower of two equally near ones unless the
    // wider costs fewer bytes.
    struct Candidate
    {
        int width = -1;
        std::array<int, kBlanks.size()> counts{};
        Cost cost;
    };
    auto tryWidth = [&](int w, Candidate& out) {
        if (w < 0) {
            return false;
        }
        if (w == 0) {
            if (!emptyAllowed) {
                return false;
            }
            out = Candidate{0, {}, {0, 0}};
            return true;
        }
        Candidate c;
        c.width = w;
        if (!cheapestCounts(w, halfMayLead, halfMayEnd, unicodeSpaces, c.counts, c.cost)) {
            return false;
        }
        out = c;
        return true;
    };
    Candidate best;
    for (int d = 0; d <= kSearchDots && best.width < 0; ++d) {
        Candidate under;
        Candidate over;
        const bool hasUnder = tryWidth(dots - d, under);
        const bool hasOver = d > 0 && tryWidth(dots + d, over);
        if (hasUnder && (!hasOver || !(over.cost < under.cost))) {
            best = under;
        } else if (hasOver) {
            best = over;
        }
    }
    ComposedRun out;
    if (best.width < 0) {
        out.deviation = -dots;  // unreachable in practice: kept only so the answer is defined
        return out;
    }
    out.text = arrange(best.counts, halfMayEnd);
    out.dots = best.width;
    out.deviation = best.width - dots;
    return out;
}

}  // namespace masumemo::board
