// Texts written with references and read back, references that must stay text, and any bytes
// read as a file's text and written back. Run: build-fuzz/tests/fuzz/fuzz_references
#include "tests/fuzz/FuzzTarget.h"
#include "tests/fuzz/ReferencesCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    using namespace masumemo::fuzzcheck;
    return runFuzzCheck("references", checkReferences, bytes, size);
}
