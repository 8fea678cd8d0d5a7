// Splitting the largest canvas into line records against a plain scan of the same text.

#include <algorithm>

#include "Canvas.h"
#include "Timing.h"

using namespace masumemo;

int main()
{
    const std::u16string text = bench::largestCanvas();
    volatile long sink = 0;
    const auto [split, scan] = bench::bestOfAlternating(
        [&] { sink = sink + bench::splitAndMeasure(text); },
        [&] { sink = sink + std::count(text.begin(), text.end(), u'\r'); });
    const bool ok = bench::report("SplitCanvas + WidthOf, 40 x 800 vs CR count", split, scan, 5.0);
    return ok ? 0 : 1;
}
