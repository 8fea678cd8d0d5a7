// Any bytes read as a parts file in each format, and lists of parts built from them written and
// read back. Run: build-fuzz/tests/fuzz/fuzz_parts_file -max_total_time=120
#include "tests/fuzz/FuzzTarget.h"
#include "tests/fuzz/PartsFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    using namespace masumemo::fuzzcheck;
    runFuzzCheck("parts file", checkPartsBytes, bytes, size);
    return runFuzzCheck("parts file", checkPartsWriting, bytes, size);
}
