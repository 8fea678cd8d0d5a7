#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "input/Favourites.h"

using masumemo::input::Favourites;
using masumemo::input::FavouritesRegistration;
using Texts = std::vector<std::u16string>;

namespace {
Texts numbered(int n)
{
    Texts t;
    for (int i = 1; i <= n; ++i) {
        t.push_back(u"fav" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)));
    }
    return t;
}

Favourites listOf(const Texts& texts)
{
    Favourites f;
    f.assign(texts);
    return f;
}

// Enabled states as a readable string: Apply, Delete, "<", ">" in that order.
std::u16string buttons(const FavouritesRegistration& r)
{
    return {r.applyEnabled() ? u'A' : u'-', r.deleteEnabled() ? u'D' : u'-',
            r.previousEnabled() ? u'<' : u'-', r.nextEnabled() ? u'>' : u'-'};
}

// The user's actions by letter: "<", ">", "A" (Apply), "D" (Delete), "_" empties the field;
// any other character is typed into the field in place of its text.
using Action = void (*)(FavouritesRegistration&);
const std::pair<char16_t, Action> kActions[] = {
    {u'<', [](FavouritesRegistration& r) { r.previous(); }},
    {u'>', [](FavouritesRegistration& r) { r.next(); }},
    {u'A', [](FavouritesRegistration& r) { r.apply(); }},
    {u'D', [](FavouritesRegistration& r) { r.remove(); }},
    {u'_', [](FavouritesRegistration& r) { r.fieldEdited(u""); }},
    {u't', [](FavouritesRegistration& r) { r.fieldEdited(u"t"); }},
};

void act(FavouritesRegistration& r, char16_t step)
{
    for (const auto& [key, action] : kActions) {
        if (key == step) {
            return action(r);
        }
    }
    r.fieldEdited(std::u16string(1, step));
}

void checkInvariant(const Favourites& f)
{
    for (int n = 1; n <= Favourites::kSlots; ++n) {
        EXPECT_EQ(f.text(n).empty(), n > f.FavCount()) << "slot " << n;
    }
}
}  // namespace

TEST(Favourites, AssignStopsAtTheFirstEmptyTextAndAtTen)
{
    struct Row
    {
        const char* name;
        Texts in;
        int count;
    };
    const Row rows[] = {
        {"none", {}, 0},
        {"twelve give ten", numbered(12), 10},
        {"empty second ends the list", {u"a", u"", u"c"}, 1},
        {"empty first gives none", {u"", u"b"}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Favourites f = listOf(numbered(10));  // reading also empties slots it does not fill
        f.assign(row.in);
        EXPECT_EQ(f.FavCount(), row.count);
        checkInvariant(f);
        EXPECT_EQ(f.registered(), Texts(row.in.begin(), row.in.begin() + row.count));
    }
}

TEST(Favourites, StoreRefusesEmptyTextsAndGaps)
{
    Favourites f = listOf({u"a", u"b"});
    EXPECT_FALSE(f.store(1, u""));
    EXPECT_FALSE(f.store(4, u"x"));  // only the free slot 3 can be added
    EXPECT_TRUE(f.store(3, u"c"));
    EXPECT_TRUE(f.remove(1));
    EXPECT_EQ(f.registered(), (Texts{u"b", u"c"}));
    checkInvariant(f);
}

TEST(FavouritesRegistration, ClicksAndEdits)
{
    // The script's letters are actions as above. State: slot/field, then the buttons.
    struct Row
    {
        const char* name;
        Texts start;
        std::u16string script;
        std::u16string state;
        Texts registered;
    };
    const Texts five = {u"a", u"b", u"c", u"d", u"e"};
    const Texts three = {u"a", u"b", u"c"};
    const Texts abde = {u"a", u"b", u"d", u"e"};
    const Texts lastIsZ = {u"fav1", u"fav2", u"fav3", u"fav4", u"fav5",
                           u"fav6", u"fav7", u"fav8", u"fav9", u"z"};
    const Row rows[] = {
        {"none: a disabled Apply does nothing", {}, u"A", u"1/ ----", {}},
        {"none: typing enables Apply", {}, u"x", u"1/x A---", {}},
        {"none: emptying the field disables it", {}, u"x_", u"1/ ----", {}},
        {"none: Apply registers", {}, u"\u2606A", u"1/\u2606 -D->", {u"\u2606"}},
        {"five: slot 5", numbered(5), u">>>>", u"5/fav5 -D<>", numbered(5)},
        {"five: > stops at the free slot 6", numbered(5), u">>>>>>", u"6/ --<-", numbered(5)},
        {"an edit never applied is dropped by moving", numbered(5), u"x><", u"1/fav1 -D->",
         numbered(5)},
        {"ten: > stops at slot 10", numbered(10), u">>>>>>>>>>", u"10/fav0 -D<-", numbered(10)},
        {"ten: Apply on slot 10 overwrites it", numbered(10), u">>>>>>>>>zA", u"10/z -D<-",
         lastIsZ},
        {"delete in the middle shows the moved slot", five, u">>D", u"3/d --<>", abde},
        {"moving on after a delete leaves Delete off", five, u">>D>", u"4/e --<>", abde},
        {"going back after a delete gives it back", five, u">>D><", u"3/d -D<>", abde},
        {"delete the last registered", five, u">>>>D", u"5/ --<-", {u"a", u"b", u"c", u"d"}},
        // Typed but not applied, then deleted: Apply never stays on over the empty free slot.
        {"edit on the last", three, u">>x", u"3/x AD<>", three},
        {"edit on the last, deleted", three, u">>xDA", u"3/ --<-", {u"a", u"b"}},
        {"edit with a slot moving in keeps Apply", three, u">xD", u"2/c A-<>", {u"a", u"c"}},
        {"... which applies the moved text", three, u">xDA", u"2/c -D<>", {u"a", u"c"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Favourites f = listOf(row.start);
        FavouritesRegistration r(f);
        r.open();
        for (const char16_t step : row.script) {
            act(r, step);
        }
        const std::string slot = std::to_string(r.slot());
        EXPECT_EQ(
            std::u16string(slot.begin(), slot.end()) + u"/" + r.fieldText() + u" " + buttons(r),
            row.state);
        EXPECT_EQ(f.registered(), row.registered);
        EXPECT_EQ(r.shownCount(), f.FavCount());
        checkInvariant(f);
    }
}

TEST(FavouritesRegistration, RandomClicksKeepTheRules)
{
    std::mt19937 rng(8);
    for (int run = 0; run < 200; ++run) {
        Favourites f = listOf(numbered(static_cast<int>(rng() % 11)));
        FavouritesRegistration r(f);
        r.open();
        for (int step = 0; step < 60; ++step) {
            kActions[rng() % std::size(kActions)].second(r);
            SCOPED_TRACE(::testing::Message() << "run " << run << " step " << step);
            checkInvariant(f);
            ASSERT_GE(r.slot(), 1);
            ASSERT_LE(r.slot(), std::min(f.FavCount() + 1, Favourites::kSlots));
            ASSERT_EQ(r.shownCount(), f.FavCount());
            ASSERT_FALSE(r.applyEnabled() && r.fieldText().empty());
            ASSERT_FALSE(r.deleteEnabled() && r.slot() > f.FavCount());
            ASSERT_EQ(r.previousEnabled(), r.slot() > 1);
            ASSERT_FALSE(r.nextEnabled() &&
                         r.slot() == std::min(f.FavCount() + 1, Favourites::kSlots));
        }
    }
}
