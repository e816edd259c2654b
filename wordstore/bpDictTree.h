#pragma once

#include "TreeFiles.h"

#include <cstdint>
#include <string>
#include <string_view>

// The dictionary: a B+ tree in Dict.idx over the word records of Dict.dat. It
// answers whether a word is in the dictionary; it never loads the dictionary into
// memory: a lookup reads Height-1 index records and, for a word it finds, one
// data record.
class TBPlusTree {
public:
    TBPlusTree() = default;

    void OpenTree(const std::string& folder) { files_.OpenTree(folder); }
    void CloseTree() { files_.CloseTree(); }
    std::int32_t WordCount() const { return files_.Header().WordCount; }
    std::int32_t Height() const { return files_.Header().Height; }

    // word in key form (lower case; no case folding happens here). Raises
    // EInOutError for a failed read or a damaged node, and never reports a word
    // as found then.
    bool FindWord(std::string_view word);

    // The data record of the word found by the last successful lookup, and its
    // number; -1 after a lookup that found nothing.
    const StoreFormat::DataRecord& CurrentRecord() const { return currentRecord_; }
    std::int32_t CurrentRecordNumber() const { return currentRecordNumber_; }

private:
    TTreeFiles files_{"Dict.idx", "Dict.dat"};
    StoreFormat::DataRecord currentRecord_{};
    std::int32_t currentRecordNumber_ = 0;
};
