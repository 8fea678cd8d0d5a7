// Any bytes read as masuedit.ini or as a dictionary file.
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/SettingsChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const std::string_view data(reinterpret_cast<const char*>(bytes), size);
    for (const auto check : {masumemo::fuzzcheck::checkSettings,
                             masumemo::fuzzcheck::checkDictionaryFile}) {
        const std::string problem = check(data);
        if (!problem.empty()) {
            std::fprintf(stderr, "%s\n", problem.c_str());
            std::abort();
        }
    }
    return 0;
}
