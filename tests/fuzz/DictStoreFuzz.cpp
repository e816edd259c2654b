// The dictionary store over any pair of files: opening, then lookups of fixed
// words and of every word the data file holds. A damaged store may only raise
// EInOutError; it may never crash, read out of bounds or hang.

#include "FuzzFiles.h"
#include "platform/InOutError.h"
#include "wordstore/bpDictTree.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

constexpr std::size_t MaxLookups = 64;

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
    const TStoreInput input = SplitStoreInput(data, size);
    const std::string& folder = ScratchFolder();
    WriteScratchFile(folder + "/Dict.idx", input.Index);
    WriteScratchFile(folder + "/Dict.dat", input.Data);
    try {
        TBPlusTree tree;
        tree.OpenTree(folder);
        for (const std::string& word : WordsToLookUp(input.Data)) {
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
