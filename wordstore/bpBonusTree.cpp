#include "bpBonusTree.h"

using namespace StoreFormat;

std::string TBonusTree::GetWord(std::int32_t n) {
    DataRecord record;
    files_.ReadDataRec(record, n);
    return std::string(DataRecordWord(record));
}
