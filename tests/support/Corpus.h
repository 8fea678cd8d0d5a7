#pragma once
// The third-party text art and emoticon lists that sit beside the project (never copied into
// it). Tests read them where they stand and skip when they are absent.

#include <filesystem>
#include <string>
#include <vector>

namespace masumemo::testing {

/// The message of every test skipped because the corpus is not there. CTest reports the corpus
/// runs that print it as skipped, not passed.
inline constexpr char kCorpusMissing[] = "the text-art corpus beside the project is missing";

/// Why a corpus test does not run now, or nullptr when it runs: the corpus is missing
/// (kCorpusMissing), or this run leaves the corpus tests to the run of their own that CTest
/// registers (MASUMEMO_CORPUS_TESTS=elsewhere).
const char* corpusSkipReason();

/// The corpus folder, or an empty path when it is not there.
std::filesystem::path corpusDir();

/// Every text-art picture of the corpus, sorted by path.
std::vector<std::filesystem::path> corpusPictures();

/// The whole file as bytes.
std::string readBytes(const std::filesystem::path& path);

/// UTF-8 to UTF-16 (the corpus is UTF-8).
std::u16string fromUtf8(const std::string& bytes);

/// A picture as canvas lines: references decoded, every line filled with full-width spaces to
/// the widest line's units and room units beyond.
std::vector<std::u16string> corpusCanvas(const std::filesystem::path& path, int room);

}  // namespace masumemo::testing
