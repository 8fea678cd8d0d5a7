// A canvas built from the input, changed line by line: the live posting check against the whole
// one, and both mends. Run: build-fuzz/tests/fuzz/fuzz_posting_check -max_total_time=120
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/PostingCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const std::string problem = masumemo::fuzzcheck::checkPosting(
        std::string_view(reinterpret_cast<const char*>(bytes), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "posting check: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
