#include "bpDictTree.h"

using namespace StoreFormat;

bool TBPlusTree::FindWord(std::string_view word) {
    const std::int32_t height = files_.Header().Height;
    currentRecordNumber_ = NoRecord;
    if (height < 1) {
        return false;
    }
    // The root stays in level buffer 0 from opening on; every level below it is
    // read afresh on each lookup.
    for (int level = 1; level < height; ++level) {
        const TNodeView parent = files_.Level(level - 1);
        const std::int32_t child = parent.Pointer(parent.CountKeysNotAbove(word));
        files_.CheckChildPointer(child);
        files_.ReadNode(level, child);
    }
    const TNodeView leaf = files_.Level(height - 1);
    const int j = leaf.CountKeysNotAbove(word);
    const std::int32_t pointer = leaf.Pointer(j);
    // Leaf slot 0 holds -1, so a word below every key is absent; a key whose
    // slot holds -1 counts as absent too.
    if (pointer == NoRecord || j == 0 || leaf.Key(j - 1) != word) {
        return false;
    }
    files_.CheckDataPointer(pointer);
    files_.ReadDataRec(currentRecord_, pointer);
    currentRecordNumber_ = pointer;
    return true;
}
