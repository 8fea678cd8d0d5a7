#pragma once
// Canvas lines written in test tables: UTF-8 with "_" standing for the full-width space U+3000,
// so that it cannot be mistaken for the half-width space " ".

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "Corpus.h"
#include "grid/LineModel.h"

namespace masumemo::grid::notation {

inline std::u16string line(std::string_view notation)
{
    std::u16string s = testing::fromUtf8(std::string(notation));
    std::replace(s.begin(), s.end(), u'_', kFullSpace);
    return s;
}

inline std::vector<std::u16string> lines(const std::vector<std::string>& notations)
{
    std::vector<std::u16string> out;
    for (const std::string& n : notations) {
        out.push_back(line(n));
    }
    return out;
}

}  // namespace masumemo::grid::notation
