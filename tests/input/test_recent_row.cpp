#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "input/RecentRow.h"

using masumemo::input::RecentRow;
using Captions = std::vector<std::u16string>;

namespace {
// A row showing the given captions from index 0 on (newest first).
RecentRow rowOf(const Captions& captions)
{
    RecentRow row;
    for (auto it = captions.rbegin(); it != captions.rend(); ++it) {
        row.UseKey(*it);
    }
    return row;
}

Captions shown(const RecentRow& row)
{
    Captions out(row.captions().begin(), row.captions().end());
    while (!out.empty() && out.back().empty()) {
        out.pop_back();
    }
    return out;
}

// One caption per character.
Captions each(std::u16string_view chars)
{
    Captions c;
    for (const char16_t ch : chars) {
        c.push_back(std::u16string(1, ch));
    }
    return c;
}
}  // namespace

TEST(RecentRow, UseKey)
{
    const Captions full = each(u"abcdefghijklmnopqr");  // eighteen, the row's size
    struct Row
    {
        const char* name;
        Captions before;
        std::u16string key;
        Captions after;
    };
    const Row rows[] = {
        {"first use", {}, u"x", {u"x"}},
        {"new key goes in front", each(u"ab"), u"x", each(u"xab")},
        {"same key twice shifts nothing", each(u"abc"), u"a", each(u"abc")},
        {"a key in the middle moves to the front", each(u"abcd"), u"c", each(u"cabd")},
        {"lone ampersand is stored escaped", {u"a"}, u"&", {u"&&", u"a"}},
        {"&& finds the one stored from a lone &", {u"a", u"&&", u"b"}, u"&&", {u"&&", u"a", u"b"}},
        {"lone ampersand finds the escaped one", {u"a", u"&&"}, u"&", {u"&&", u"a"}},
        {"full-width and half-width forms differ", {u"A"}, u"\uFF21", {u"\uFF21", u"A"}},
        {"several characters are one caption", {u"ab"}, u"a", {u"a", u"ab"}},
        {"an empty key changes nothing", each(u"ab"), u"", each(u"ab")},
        {"full row drops the oldest", full, u"x", each(u"xabcdefghijklmnopq")},
        {"index 17 of a full row moves to the front", full, u"r", each(u"rabcdefghijklmnopq")},
        {"index 5 of a full row moves to the front, nothing is lost", full, u"f",
         each(u"fabcdeghijklmnopqr")},
        {"index 0 of a full row stays", full, u"a", full},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecentRow recent = rowOf(row.before);
        ASSERT_EQ(shown(recent), row.before);
        recent.UseKey(row.key);
        EXPECT_EQ(shown(recent), row.after);
    }
}

TEST(RecentRow, NeverHoldsADuplicate)
{
    RecentRow row;
    for (const char16_t k : std::u16string(u"abcabcdefghijklmnopqrstuvwxyzaaazyx&")) {
        row.UseKey(std::u16string(1, k));
        Captions c = shown(row);
        std::sort(c.begin(), c.end());
        EXPECT_EQ(std::adjacent_find(c.begin(), c.end()), c.end());
    }
    EXPECT_EQ(row.caption(0), u"&&");
    EXPECT_EQ(row.caption(18), u"");
}
