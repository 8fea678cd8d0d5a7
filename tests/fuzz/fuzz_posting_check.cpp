// A canvas built from the input, changed line by line: the live posting check against the whole
// one, and both mends. Run: build-fuzz/tests/fuzz/fuzz_posting_check -max_total_time=120
#include "tests/fuzz/FuzzTarget.h"
#include "tests/fuzz/PostingCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    using namespace masumemo::fuzzcheck;
    return runFuzzCheck("posting check", checkPosting, bytes, size);
}
