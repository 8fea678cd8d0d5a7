#pragma once
// Small builders for the expected canvas lines of table tests.

#include <string>
#include <string_view>

namespace masumemo::testing {

/// s written n times.
inline std::u16string repeat(std::u16string_view s, int n)
{
    std::u16string out;
    for (int i = 0; i < n; ++i) {
        out += s;
    }
    return out;
}

}  // namespace masumemo::testing
