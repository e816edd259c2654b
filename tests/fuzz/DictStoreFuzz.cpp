// The dictionary store over any pair of files: opening, then lookups of fixed
// words and of every word the data file holds. A damaged store may only raise
// EInOutError; it may never crash, read out of bounds or hang.

#include "FuzzFiles.h"
#include "platform/InOutError.h"
#include "wordstore/bpDictTree.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr std::size_t MaxLookups = 64;

// Fixed words, and the words of the data file's records.
std::vector<std::string> WordsToLookUp(std::string_view dataFile) {
    std::vector<std::string> words = {
        "", "a", "cat", "cats", "quiet", "zzzzzz", "abcdefghijklmnopqrstuvwxyz"};
    for (std::size_t at = 0;
         at + StoreFormat::DataRecordSize <= dataFile.size() && words.size() < MaxLookups;
         at += StoreFormat::DataRecordSize) {
        const auto length = std::min<std::size_t>(static_cast<std::uint8_t>(dataFile[at + 1]),
                                                  StoreFormat::DataRecordSize - 2);
        words.emplace_back(dataFile.substr(at + 2, length));
    }
    return words;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view dataFile = WriteStoreInput("Dict", data, size);
    const std::string& folder = ScratchFolder();
    try {
        TBPlusTree tree;
        tree.OpenTree(folder);
        for (const std::string& word : WordsToLookUp(dataFile)) {
            try {
                const bool found = tree.FindWord(word);
                if (found != (tree.CurrentRecordNumber() >= 0)) {
                    __builtin_trap(); // a found word always names its record
                }
            } catch (const EInOutError&) {
            }
        }
    } catch (const EInOutError&) {
    }
    return 0;
}
