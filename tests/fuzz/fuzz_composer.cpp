// Blank runs composed for any width and place, and the dot operations on a canvas built from the
// input. Run: build-fuzz/tests/fuzz/fuzz_composer -max_total_time=120
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/DotMovesCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const std::string problem = masumemo::fuzzcheck::checkComposerAndMoves(
        std::string_view(reinterpret_cast<const char*>(bytes), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "composer: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
