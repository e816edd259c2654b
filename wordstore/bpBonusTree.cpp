#include "bpBonusTree.h"

#include "platform/InOutError.h"

#include <cerrno>

using namespace StoreFormat;

void TBonusTree::OpenTree(const std::string& folder) {
    files_.OpenTree(folder);
    const std::int32_t count = files_.Header().WordCount;
    if (count > files_.DataRecordCount()) {
        const std::int64_t records = files_.DataRecordCount();
        files_.CloseTree();
        throw EInOutError(EIO, files_.IndexPath() + ": damaged word store: word count " +
                                   std::to_string(count) + " but " + std::to_string(records) +
                                   " data records");
    }
}

std::string TBonusTree::GetWord(std::int32_t n) {
    DataRecord record;
    files_.ReadDataRec(record, n);
    return std::string(DataRecordWord(record));
}
