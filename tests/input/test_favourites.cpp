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
std::string buttons(const FavouritesRegistration& r)
{
    std::string s;
    s += r.applyEnabled() ? 'A' : '-';
    s += r.deleteEnabled() ? 'D' : '-';
    s += r.previousEnabled() ? '<' : '-';
    s += r.nextEnabled() ? '>' : '-';
    return s;
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
        {"empty third gives two", {u"a", u"b", u"", u"d"}, 2},
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

TEST(FavouritesRegistration, NoFavourites)
{
    Favourites f;
    FavouritesRegistration r(f);
    r.open();
    EXPECT_EQ(r.slot(), 1);
    EXPECT_EQ(r.fieldText(), u"");
    EXPECT_EQ(buttons(r), "----");
    r.apply();  // disabled: nothing happens
    EXPECT_EQ(f.FavCount(), 0);
    r.fieldEdited(u"x");
    EXPECT_EQ(buttons(r), "A---");
    r.fieldEdited(u"");
    EXPECT_EQ(buttons(r), "----");
    r.fieldEdited(u"\u2606\u2605");
    r.apply();
    EXPECT_EQ(f.registered(), Texts{u"\u2606\u2605"});
    EXPECT_EQ(r.shownCount(), 1);
    EXPECT_EQ(buttons(r), "-D->");
}

TEST(FavouritesRegistration, NavigatesBetweenSlotOneAndTheFreeSlot)
{
    Favourites f = listOf(numbered(5));
    FavouritesRegistration r(f);
    r.open();
    EXPECT_EQ(r.fieldText(), u"fav1");
    EXPECT_EQ(r.shownCount(), 5);
    EXPECT_EQ(buttons(r), "-D->");
    r.fieldEdited(u"changed");
    for (int k = 2; k <= 5; ++k) {
        r.next();
    }
    EXPECT_EQ(r.slot(), 5);
    EXPECT_EQ(buttons(r), "-D<>");
    r.next();
    EXPECT_EQ(r.slot(), 6);
    EXPECT_EQ(r.fieldText(), u"");
    EXPECT_EQ(buttons(r), "--<-");
    r.next();  // disabled
    EXPECT_EQ(r.slot(), 6);
    for (int k = 5; k >= 1; --k) {
        r.previous();
    }
    EXPECT_EQ(r.slot(), 1);
    EXPECT_EQ(r.fieldText(), u"fav1");  // the edit that was never applied is gone
    EXPECT_EQ(buttons(r), "-D->");
    EXPECT_EQ(f.text(1), u"fav1");
}

TEST(FavouritesRegistration, TenFavourites)
{
    Favourites f = listOf(numbered(10));
    FavouritesRegistration r(f);
    r.open();
    for (int k = 2; k <= 10; ++k) {
        r.next();
    }
    EXPECT_EQ(r.slot(), 10);
    EXPECT_EQ(buttons(r), "-D<-");
    r.fieldEdited(u"last");
    r.apply();
    EXPECT_EQ(f.FavCount(), 10);
    EXPECT_EQ(f.text(10), u"last");
    EXPECT_EQ(buttons(r), "-D<-");
}

TEST(FavouritesRegistration, DeleteInTheMiddle)
{
    Favourites f = listOf({u"a", u"b", u"c", u"d", u"e"});
    FavouritesRegistration r(f);
    r.open();
    r.next();
    r.next();
    r.remove();
    EXPECT_EQ(f.registered(), (Texts{u"a", u"b", u"d", u"e"}));
    EXPECT_EQ(f.text(5), u"");
    EXPECT_EQ(r.shownCount(), 4);
    EXPECT_EQ(r.slot(), 3);
    EXPECT_EQ(r.fieldText(), u"d");
    EXPECT_EQ(buttons(r), "--<>");
    r.next();
    EXPECT_EQ(buttons(r), "--<>");  // moving on does not enable Delete
    r.previous();
    EXPECT_EQ(buttons(r), "-D<>");
}

TEST(FavouritesRegistration, DeleteTheLastRegistered)
{
    Favourites f = listOf({u"a", u"b", u"c", u"d", u"e"});
    FavouritesRegistration r(f);
    r.open();
    for (int k = 2; k <= 5; ++k) {
        r.next();
    }
    r.remove();
    EXPECT_EQ(f.FavCount(), 4);
    EXPECT_EQ(r.fieldText(), u"");
    EXPECT_EQ(buttons(r), "--<-");
}

TEST(FavouritesRegistration, DeleteNeverLeavesApplyOverAnEmptyField)
{
    // Typed but not applied, then deleted: the field now shows the empty free slot.
    Favourites f = listOf({u"a", u"b", u"c"});
    FavouritesRegistration r(f);
    r.open();
    r.next();
    r.next();
    r.fieldEdited(u"x");
    EXPECT_EQ(buttons(r), "AD<>");
    r.remove();
    EXPECT_EQ(r.fieldText(), u"");
    EXPECT_FALSE(r.applyEnabled());
    r.apply();
    EXPECT_EQ(f.registered(), (Texts{u"a", u"b"}));
    checkInvariant(f);

    // With a slot moving into place the field is not empty and Apply keeps its state.
    Favourites g = listOf({u"a", u"b", u"c"});
    FavouritesRegistration s(g);
    s.open();
    s.next();
    s.fieldEdited(u"x");
    s.remove();
    EXPECT_EQ(s.fieldText(), u"c");
    EXPECT_TRUE(s.applyEnabled());
    s.apply();
    EXPECT_EQ(g.registered(), (Texts{u"a", u"c"}));
}

TEST(FavouritesRegistration, RandomClicksKeepTheRules)
{
    using Click = void (*)(FavouritesRegistration&);
    const Click clicks[] = {
        [](FavouritesRegistration& r) { r.previous(); },
        [](FavouritesRegistration& r) { r.next(); },
        [](FavouritesRegistration& r) { r.apply(); },
        [](FavouritesRegistration& r) { r.remove(); },
        [](FavouritesRegistration& r) { r.fieldEdited(u"t"); },
        [](FavouritesRegistration& r) { r.fieldEdited(u""); },
    };
    std::mt19937 rng(8);
    for (int run = 0; run < 200; ++run) {
        Favourites f = listOf(numbered(static_cast<int>(rng() % 11)));
        FavouritesRegistration r(f);
        r.open();
        for (int step = 0; step < 60; ++step) {
            clicks[rng() % std::size(clicks)](r);
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
