// Random operation sequences on a random canvas, decoded from the fuzz input; aborts when an
// operation breaks the grid. Run: build-fuzz/tests/fuzz/fuzz_grid_ops -max_total_time=120
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "tests/grid/GridOps.h"

namespace {

/// Choices read from the fuzz input; once it runs out every choice is the lowest value.
struct FuzzChoices
{
    FuzzedDataProvider& data;
    int operator()(int lo, int hi) { return data.ConsumeIntegralInRange<int>(lo, hi); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    using namespace masumemo::gridops;
    FuzzedDataProvider data(bytes, size);
    FuzzChoices pick{data};
    Canvas canvas = randomCanvas(pick);
    for (int i = 0; i < 500 && data.remaining_bytes() > 0; ++i) {
        const std::string problem = runOperation(canvas, pick);
        if (!problem.empty()) {
            std::fprintf(stderr, "operation %d: %s\n", i, problem.c_str());
            std::abort();
        }
    }
    return 0;
}
