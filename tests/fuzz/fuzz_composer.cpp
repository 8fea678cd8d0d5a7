// Blank runs composed for any width and place, and the dot operations on a canvas built from the
// input. Run: build-fuzz/tests/fuzz/fuzz_composer -max_total_time=120
#include "tests/fuzz/DotMovesCheck.h"
#include "tests/fuzz/FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    using namespace masumemo::fuzzcheck;
    return runFuzzCheck("composer", checkComposerAndMoves, bytes, size);
}
