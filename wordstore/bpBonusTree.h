#pragma once

#include "TreeFiles.h"

#include <cstdint>
#include <string>

// The bonus words: the same index and data formats as the dictionary, under
// Bonus.idx and Bonus.dat. The tree is opened but never searched; the game asks
// only how many words there are and the word of one data record.
class TBonusTree {
public:
    TBonusTree() = default;

    // As the dictionary's: GetWord is asked for any record below WordCount,
    // which the data file is checked to hold.
    void OpenTree(const std::string& folder) { files_.OpenTree(folder); }
    void CloseTree() { files_.CloseTree(); }
    std::int32_t WordCount() const { return files_.Header().WordCount; }

    // The word of data record n (0 <= n < WordCount). Raises EInOutError when the
    // record cannot be read whole. Leaves the store unchanged.
    std::string GetWord(std::int32_t n);

private:
    TTreeFiles files_{"Bonus.idx", "Bonus.dat"};
};
