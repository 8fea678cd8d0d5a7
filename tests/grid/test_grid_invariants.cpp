#include <gtest/gtest.h>

#include <random>

#include "GridOps.h"

using namespace masumemo::gridops;

namespace {

/// Choices from a seeded generator, so every run makes the same edits.
struct SeededChoices
{
    std::mt19937 engine;
    int operator()(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine); }
};

TEST(GridInvariants, RandomEditsKeepTheGrid)
{
    SeededChoices pick{std::mt19937(20240531u)};
    constexpr int kCanvases = 120;
    constexpr int kOperationsEach = 200;
    int accepted = 0;
    for (int c = 0; c < kCanvases; ++c) {
        Canvas canvas = randomCanvas(pick);
        for (int i = 0; i < kOperationsEach; ++i) {
            const std::u16string before = canvas.text;
            std::string problem;
            ASSERT_NO_THROW(problem = runOperation(canvas, pick));
            ASSERT_EQ(problem, "") << "canvas " << c << ", operation " << i;
            accepted += canvas.text != before;
        }
    }
    // The run means little if nearly everything was refused.
    EXPECT_GT(accepted, kCanvases * kOperationsEach / 5);
}

}  // namespace
