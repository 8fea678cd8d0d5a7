// Any bytes opened as a canvas file: the grid comes out whole, and saving it is stable.
#include "tests/fuzz/CanvasFileCheck.h"
#include "tests/fuzz/FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    using namespace masumemo::fuzzcheck;
    return runFuzzCheck("canvas file", checkCanvasFile, bytes, size);
}
