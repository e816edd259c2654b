#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

// Bad input to the builder: an unreadable or malformed list, an unwritable folder.
class EBuildError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TWordSelection {
    std::vector<std::string> Words; // sorted in unsigned byte order, no repeats
    std::int64_t Kept = 0;          // distinct words kept
    std::int64_t Skipped = 0;       // lines that are not a usable word, and repeats
    std::int64_t Excluded = 0;      // distinct usable words left out by the exclusion list
};

// Reads plain word lists (one word per line, UTF-8 or ASCII) and keeps the words
// made only of the letters a-z, 1 to 21 letters long, or exactly exactLength,
// that are not in excluded. Lines with capitals, apostrophes or accented letters
// are skipped; a file that is not text (invalid UTF-8, a NUL byte) is refused.
TWordSelection SelectWords(const std::vector<std::string>& listPaths,
                           std::optional<int> exactLength,
                           const std::set<std::string>& excluded = {});

// Reads an exclusion list: words separated by blanks or line breaks, "#" starting
// a comment to the end of its line. Anything but a plain a-z word is refused with
// its line, so a typing slip cannot silently exclude nothing.
std::set<std::string> ReadExclusions(const std::string& path);

// Writes the words one per line, so the selection can be read back as a word list.
void WriteWordList(const std::string& path, const std::vector<std::string>& words);

struct TTreeShape {
    std::int32_t Height = 0;
    std::int32_t RootRec = -1;
    std::int64_t NodeCount = 0;
};

// Writes <stem>.idx and <stem>.dat into folder: data record i holds word i, the
// leaves hold up to 22 keys, and each separator key is the first key of the
// child to its right. The files are written under temporary names and renamed,
// so a failure leaves nothing half-written under the final names.
TTreeShape WriteStore(const std::string& folder, const std::string& stem,
                      const std::vector<std::string>& sortedWords);
