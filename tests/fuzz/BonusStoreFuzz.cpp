// The bonus word store over any pair of files: opening, then every word below
// its word count. A damaged store may only raise EInOutError, and a word it
// hands out never holds more than a data record's characters.

#include "FuzzFiles.h"
#include "platform/InOutError.h"
#include "wordstore/bpBonusTree.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteStoreInput("Bonus", data, size);
    const std::string& folder = ScratchFolder();
    try {
        TBonusTree tree;
        tree.OpenTree(folder);
        for (std::int32_t n = 0; n < tree.WordCount(); ++n) {
            if (tree.GetWord(n).size() > StoreFormat::DataRecordSize - 2) {
                __builtin_trap();
            }
        }
    } catch (const EInOutError&) {
    }
    return 0;
}
