#pragma once
// What every fuzz target does with its input: one check, and a finding when it fails.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace masumemo::fuzzcheck {

/// Runs check on the input; a problem is printed after what, and the abort makes libFuzzer keep
/// the input as a finding.
inline int runFuzzCheck(const char* what, std::string (*check)(std::string_view),
                        const uint8_t* bytes, size_t size)
{
    const std::string problem = check(std::string_view(reinterpret_cast<const char*>(bytes), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "%s: %s\n", what, problem.c_str());
        std::abort();
    }
    return 0;
}

}  // namespace masumemo::fuzzcheck
