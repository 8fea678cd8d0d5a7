#include "Corpus.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "grid/Cp932.h"
#include "grid/LineModel.h"
#include "grid/References.h"

namespace masumemo::testing {

std::filesystem::path corpusDir()
{
    const std::filesystem::path dir(MASUMEMO_CORPUS_DIR);
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path();
}

const char* corpusSkipReason()
{
    const char* tests = std::getenv("MASUMEMO_CORPUS_TESTS");
    if (tests && std::strcmp(tests, "elsewhere") == 0) {
        return "run by the corpus entry of this test";
    }
    return corpusDir().empty() ? kCorpusMissing : nullptr;
}

std::vector<std::filesystem::path> corpusPictures()
{
    std::vector<std::filesystem::path> pictures;
    const auto dir = corpusDir();
    if (dir.empty()) {
        return pictures;
    }
    const auto root = dir / "ascii-art-yaruo" / "txt_1";
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ec)) {
        if (entry.is_regular_file() && entry.path().extension() == ".txt") {
            pictures.push_back(entry.path());
        }
    }
    std::sort(pictures.begin(), pictures.end());
    return pictures;
}

std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::u16string fromUtf8(const std::string& bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        char32_t cp = 0xFFFD;
        size_t n = 1;
        if (b < 0x80) {
            cp = b;
        } else if ((b >> 5) == 0x6 && i + 1 < bytes.size()) {
            cp = (b & 0x1F) << 6 | (bytes[i + 1] & 0x3F);
            n = 2;
        } else if ((b >> 4) == 0xE && i + 2 < bytes.size()) {
            cp = (b & 0x0F) << 12 | (bytes[i + 1] & 0x3F) << 6 | (bytes[i + 2] & 0x3F);
            n = 3;
        } else if ((b >> 3) == 0x1E && i + 3 < bytes.size()) {
            cp = (b & 0x07) << 18 | (bytes[i + 1] & 0x3F) << 12 | (bytes[i + 2] & 0x3F) << 6 |
                 (bytes[i + 3] & 0x3F);
            n = 4;
        }
        i += n;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::vector<std::u16string> corpusCanvas(const std::filesystem::path& path, int room)
{
    std::vector<std::u16string> lines =
        grid::SplitText(grid::decodeReferences(fromUtf8(readBytes(path))));
    int widest = 0;
    for (const auto& l : lines) {
        widest = std::max(widest, grid::WidthOf(l));
    }
    for (auto& l : lines) {
        const int fill = widest + room - grid::WidthOf(l);
        if (fill % 2 != 0) {
            l += grid::kHalfSpace;
        }
        l.append(static_cast<size_t>(fill / 2), grid::kFullSpace);
    }
    return lines;
}

}  // namespace masumemo::testing
