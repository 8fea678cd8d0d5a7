// Any argument list (the input split at NUL bytes) read as the command line.
// Run: build-fuzz/tests/fuzz/fuzz_command_line -max_total_time=120
#include "tests/fuzz/CommandLineCheck.h"
#include "tests/fuzz/FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    using namespace masumemo::fuzzcheck;
    return runFuzzCheck("command line", checkCommandLine, bytes, size);
}
