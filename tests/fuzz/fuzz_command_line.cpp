// Any argument list (the input split at NUL bytes) read as the command line.
// Run: build-fuzz/tests/fuzz/fuzz_command_line -max_total_time=120
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/CommandLineCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const std::string problem = masumemo::fuzzcheck::checkCommandLine(
        std::string_view(reinterpret_cast<const char*>(bytes), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "command line: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
