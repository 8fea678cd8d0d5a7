#include <gtest/gtest.h>

#include "document/History.h"

using masumemo::document::History;
using masumemo::document::HistoryEntry;

namespace {
HistoryEntry state(int n, int keta = 35, int gyou = 20)
{
    return HistoryEntry{std::u16string(1, static_cast<char16_t>(u'A' + n)), n, keta, gyou};
}
}  // namespace

TEST(History, UndoAndRedoWalkBothEndsAndRestoreTheSize)
{
    History h;
    h.reset(state(0, 35, 20));
    EXPECT_FALSE(h.canUndo() || h.canRedo());
    h.record(state(1, 40, 10));  // recorded right after a size change
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(h.undo(), state(0, 35, 20));
    EXPECT_FALSE(h.canUndo());
    EXPECT_EQ(h.redo(), state(1, 40, 10));
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(h.current(), state(1, 40, 10));
}

TEST(History, HoldsAtMostThirtyOneSnapshots)
{
    History h;
    h.reset(state(0));
    for (int i = 1; i <= 30; ++i) {
        h.record(state(i));
    }
    EXPECT_EQ(h.entries().size(), 31u);
    h.record(state(31));
    ASSERT_EQ(h.entries().size(), 31u);
    EXPECT_EQ(h.entries().back(), state(1));  // the oldest fell off
    int undone = 0;
    while (h.canUndo()) {
        h.undo();
        ++undone;
    }
    EXPECT_EQ(undone, 30);
    EXPECT_EQ(h.current(), state(1));
    EXPECT_TRUE(h.canRedo());
}

TEST(History, NewEditDropsTheRedoStates)
{
    History h;
    h.reset(state(0));
    for (int i = 1; i <= 5; ++i) {
        h.record(state(i));
    }
    h.undo();
    h.undo();
    EXPECT_EQ(h.undo(), state(2));
    h.record(state(9));
    EXPECT_FALSE(h.canRedo());
    EXPECT_EQ(h.entries(), (std::vector<HistoryEntry>{state(9), state(2), state(1), state(0)}));
}
