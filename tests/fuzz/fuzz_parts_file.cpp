// Any bytes read as a parts file in each format, and lists of parts built from them written and
// read back. Run: build-fuzz/tests/fuzz/fuzz_parts_file -max_total_time=120
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/PartsFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(bytes), size);
    for (const auto check : {masumemo::fuzzcheck::checkPartsBytes,
                             masumemo::fuzzcheck::checkPartsWriting}) {
        const std::string problem = check(input);
        if (!problem.empty()) {
            std::fprintf(stderr, "parts file: %s\n", problem.c_str());
            std::abort();
        }
    }
    return 0;
}
