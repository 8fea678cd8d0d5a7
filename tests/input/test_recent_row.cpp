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

// Eighteen distinct one-letter captions "a" ... "r".
Captions fullRow()
{
    Captions c;
    for (int i = 0; i < RecentRow::kSize; ++i) {
        c.push_back(std::u16string(1, static_cast<char16_t>(u'a' + i)));
    }
    return c;
}

Captions frontThen(const std::u16string& front, Captions rest)
{
    rest.insert(rest.begin(), front);
    return rest;
}
}  // namespace

TEST(RecentRow, UseKey)
{
    Captions full = fullRow();
    Captions fullWithoutSixth = full;
    fullWithoutSixth.erase(fullWithoutSixth.begin() + 5);
    struct Row
    {
        const char* name;
        Captions before;
        std::u16string key;
        Captions after;
    };
    const Row rows[] = {
        {"first use", {}, u"x", {u"x"}},
        {"new key goes in front", {u"a", u"b"}, u"x", {u"x", u"a", u"b"}},
        {"same key twice shifts nothing", {u"a", u"b", u"c"}, u"a", {u"a", u"b", u"c"}},
        {"a key in the middle moves to the front",
         {u"a", u"b", u"c", u"d"},
         u"c",
         {u"c", u"a", u"b", u"d"}},
        {"lone ampersand is stored escaped", {u"a"}, u"&", {u"&&", u"a"}},
        {"escaped ampersand finds the one stored from a lone one",
         {u"a", u"&&", u"b"},
         u"&&",
         {u"&&", u"a", u"b"}},
        {"lone ampersand finds the escaped one", {u"a", u"&&"}, u"&", {u"&&", u"a"}},
        {"full-width and half-width forms are different entries",
         {u"A"},
         u"\uFF21",
         {u"\uFF21", u"A"}},
        {"several characters are one caption", {u"ab"}, u"a", {u"a", u"ab"}},
        {"an empty key changes nothing", {u"a", u"b"}, u"", {u"a", u"b"}},
        {"full row drops the oldest", full, u"x",
         frontThen(u"x", Captions(full.begin(), full.end() - 1))},
        {"index 17 of a full row moves to the front", full, full[17],
         frontThen(full[17], Captions(full.begin(), full.end() - 1))},
        {"index 5 of a full row moves to the front, nothing is lost", full, full[5],
         frontThen(full[5], fullWithoutSixth)},
        {"index 0 of a full row stays", full, full[0], full},
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
