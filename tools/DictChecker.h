#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TCheckReport {
    std::vector<std::string> Faults; // empty when the store is sound
    std::int32_t WordCount = 0;
    std::int32_t Height = 0;
    std::int64_t NodeCount = 0;
    std::int64_t ReachableWords = 0;
    bool Sound() const { return Faults.empty(); }
};

// Verifies <stem>.idx / <stem>.dat in folder: whole records, a sane header,
// ascending keys in every node inside the range their parent gives them, leaf
// slot 0 = -1, every data record equal to its key, no node reached twice, and a
// WordCount equal to the words that can be reached.
TCheckReport CheckStore(const std::string& folder, const std::string& stem);
