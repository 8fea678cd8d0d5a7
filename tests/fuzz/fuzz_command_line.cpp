// Any argument list (the input split at NUL bytes) read as the command line, and run as the
// program runs it when it names --check or --export (the files it names hold the input's rest).
// Run: build-fuzz/tests/fuzz/fuzz_command_line -max_total_time=120
#include "tests/fuzz/HeadlessRunCheck.h"
#include "tests/fuzz/FuzzTarget.h"

// The font library keeps caches of its own for the life of the process, which the leak check
// would report at exit: they are not ours, and not per input.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    using namespace masumemo::fuzzcheck;
    return runFuzzCheck("command line", checkCommandLineAndRun, bytes, size);
}
