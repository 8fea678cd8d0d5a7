// Any bytes split into pages and joined back, with and without one page changed.
// Run: build-fuzz/tests/fuzz/fuzz_pages -max_total_time=120
#include "tests/fuzz/FuzzTarget.h"
#include "tests/fuzz/PagesCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    return masumemo::fuzzcheck::runFuzzCheck("pages", masumemo::fuzzcheck::checkPages, bytes,
                                             size);
}
