// Any bytes opened as a canvas file: the grid comes out whole, and saving it is stable.
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/CanvasFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const std::string problem = masumemo::fuzzcheck::checkCanvasFile(
        std::string_view(reinterpret_cast<const char*>(bytes), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "canvas file: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
