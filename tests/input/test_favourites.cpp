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
    // Script steps: "<", ">", "A" (Apply), "D" (Delete); "=text" types text into the field.
    struct Row
    {
        const char* name;
        Texts start;
        std::vector<std::u16string> script;
        int slot;
        std::u16string field;
        std::string buttons;
        Texts registered;
    };
    const std::vector<std::u16string> nine(9, u">");
    std::vector<std::u16string> nineThenApply = nine;
    nineThenApply.insert(nineThenApply.end(), {u"=last", u"A"});
    Texts nineAndLast = numbered(9);
    nineAndLast.push_back(u"last");
    const Texts five = {u"a", u"b", u"c", u"d", u"e"};
    const Texts three = {u"a", u"b", u"c"};
    const Row rows[] = {
        {"none: a disabled Apply does nothing", {}, {u"A"}, 1, u"", "----", {}},
        {"none: typing enables Apply", {}, {u"=x"}, 1, u"x", "A---", {}},
        {"none: emptying the field disables it", {}, {u"=x", u"="}, 1, u"", "----", {}},
        {"none: Apply registers", {}, {u"=\u2606\u2605", u"A"}, 1, u"\u2606\u2605", "-D->",
         {u"\u2606\u2605"}},
        {"five: opens on slot 1", numbered(5), {}, 1, u"fav1", "-D->", numbered(5)},
        {"five: slot 5", numbered(5), {u">", u">", u">", u">"}, 5, u"fav5", "-D<>", numbered(5)},
        {"five: > stops at the free slot 6", numbered(5), {u">", u">", u">", u">", u">", u">"}, 6,
         u"", "--<-", numbered(5)},
        {"an edit never applied is dropped by moving", numbered(5), {u"=changed", u">", u"<"}, 1,
         u"fav1", "-D->", numbered(5)},
        {"ten: > stops at slot 10", numbered(10), nine, 10, u"fav0", "-D<-", numbered(10)},
        {"ten: Apply on slot 10 overwrites it", numbered(10), nineThenApply, 10, u"last", "-D<-",
         nineAndLast},
        {"delete in the middle shows the slot moved into place", five, {u">", u">", u"D"}, 3, u"d",
         "--<>", {u"a", u"b", u"d", u"e"}},
        {"moving on after a delete leaves Delete off", five, {u">", u">", u"D", u">"}, 4, u"e",
         "--<>", {u"a", u"b", u"d", u"e"}},
        {"going back after a delete gives it back", five, {u">", u">", u"D", u">", u"<"}, 3, u"d",
         "-D<>", {u"a", u"b", u"d", u"e"}},
        {"delete the last registered", five, {u">", u">", u">", u">", u"D"}, 5, u"", "--<-",
         {u"a", u"b", u"c", u"d"}},
        // Typed but not applied, then deleted: Apply never stays on over the empty free slot.
        {"edit on the last", three, {u">", u">", u"=x"}, 3, u"x", "AD<>", three},
        {"edit on the last, deleted", three, {u">", u">", u"=x", u"D", u"A"}, 3, u"", "--<-",
         {u"a", u"b"}},
        {"edit with a slot moving into place keeps Apply", three, {u">", u"=x", u"D"}, 2, u"c",
         "A-<>", {u"a", u"c"}},
        {"... which applies the moved text", three, {u">", u"=x", u"D", u"A"}, 2, u"c", "-D<>",
         {u"a", u"c"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Favourites f = listOf(row.start);
        FavouritesRegistration r(f);
        r.open();
        for (const std::u16string& step : row.script) {
            if (step == u"<") {
                r.previous();
            } else if (step == u">") {
                r.next();
            } else if (step == u"A") {
                r.apply();
            } else if (step == u"D") {
                r.remove();
            } else {
                r.fieldEdited(step.substr(1));
            }
        }
        EXPECT_EQ(r.slot(), row.slot);
        EXPECT_EQ(r.fieldText(), row.field);
        EXPECT_EQ(buttons(r), row.buttons);
        EXPECT_EQ(f.registered(), row.registered);
        EXPECT_EQ(r.shownCount(), f.FavCount());
        checkInvariant(f);
    }
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
