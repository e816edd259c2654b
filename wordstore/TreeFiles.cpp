#include "TreeFiles.h"

#include "platform/InOutError.h"
#include "platform/ProgramFolder.h"

#include <cerrno>

using namespace StoreFormat;

TTreeFiles::TTreeFiles(std::string indexName, std::string dataName)
    : indexName_(std::move(indexName)), dataName_(std::move(dataName)), index_("", IndexRecordSize),
      data_("", DataRecordSize) {}

TTreeFiles::~TTreeFiles() {
    if (!closed_) {
        try {
            CloseTree();
        } catch (const EInOutError&) {
            // A destructor cannot report; the files are released either way.
        }
    }
}

void TTreeFiles::Damaged(const std::string& path, const std::string& what) const {
    throw EInOutError(EIO, path + ": damaged word store: " + what);
}

void TTreeFiles::OpenTree(const std::string& folder) {
    const std::string prefix = FolderPrefix(folder);
    index_.Assign(prefix + indexName_);
    data_.Assign(prefix + dataName_);
    closed_ = false;

    try {
        index_.OpenExisting(TFileAccess::ReadOnly);
    } catch (const EInOutError&) {
        StartEmptyStore();
        return;
    }

    data_.OpenExisting(TFileAccess::ReadOnly);
    indexRecords_ = index_.RecordCount();
    dataRecords_ = data_.RecordCount();
    IndexRecord headerRecord;
    index_.Seek(0);
    index_.Read(headerRecord.data());
    header_ = ReadHeader(headerRecord);
    CheckHeader();
    CheckDataFile();

    if (header_.Height >= 1) {
        levels_ = std::make_unique<IndexRecord[]>(static_cast<std::size_t>(header_.Height));
        ReadNode(0, header_.RootRec);
    }
}

// The index could not be opened: the store starts empty. A new header-only index
// and an empty data file are created where none exist; an existing file is never
// replaced, and when creating fails the store is just as empty, in memory only.
void TTreeFiles::StartEmptyStore() {
    header_ = THeader{};
    indexRecords_ = 0;
    dataRecords_ = 0;
    // Creating may fail (a read-only folder, a file already there): an empty
    // store needs no file, so that is no error.
    try {
        index_.CreateNew();
        index_.Write(MakeHeader(header_).data());
        index_.Close();
    } catch (const EInOutError&) {
    }
    try {
        data_.CreateNew();
        data_.Close();
    } catch (const EInOutError&) {
    }
}

void TTreeFiles::CheckHeader() const {
    const std::string& path = index_.Path();
    if (indexRecords_ < 1) {
        Damaged(path, "no whole header record");
    }
    if (header_.WordCount < 0) {
        Damaged(path, "negative word count " + std::to_string(header_.WordCount));
    }
    if (header_.Height < 0 || header_.Height > MaxHeight || header_.Height > indexRecords_ - 1) {
        Damaged(path, "height " + std::to_string(header_.Height) + " with " +
                          std::to_string(indexRecords_ - 1) + " node records");
    }
    if (header_.Height >= 1 && (header_.RootRec < 1 || header_.RootRec >= indexRecords_)) {
        Damaged(path, "root record " + std::to_string(header_.RootRec) + " outside the index");
    }
}

// The data file against the header, by its size alone: opening stays cheap, and
// a file emptied or cut short is damage found at start-up rather than every
// word refused later.
void TTreeFiles::CheckDataFile() const {
    const std::int64_t bytes = data_.FileSize();
    if (bytes % DataRecordSize != 0) {
        Damaged(data_.Path(), std::to_string(bytes) + " bytes, not a whole number of " +
                                  std::to_string(DataRecordSize) + "-byte records");
    }
    if (header_.WordCount > dataRecords_) {
        Damaged(index_.Path(), "word count " + std::to_string(header_.WordCount) + " but " +
                                   std::to_string(dataRecords_) + " data records");
    }
}

void TTreeFiles::ReadNode(int level, std::int32_t record) {
    IndexRecord& buffer = levels_[level];
    index_.Seek(record);
    index_.Read(buffer.data());
    const TNodeView node(buffer.data());
    const std::int32_t count = node.KeyCount();
    if (count < 0 || count > MaxKeys) {
        Damaged(index_.Path(),
                "node " + std::to_string(record) + " has " + std::to_string(count) + " keys");
    }
    for (int slot = 0; slot < count; ++slot) {
        if (node.KeyLength(slot) > MaxKeyLength) {
            Damaged(index_.Path(), "node " + std::to_string(record) + " key " +
                                       std::to_string(slot) + " has length " +
                                       std::to_string(node.KeyLength(slot)));
        }
    }
}

void TTreeFiles::CheckChildPointer(std::int32_t record) const {
    if (record < 1 || record >= indexRecords_) {
        Damaged(index_.Path(), "child pointer " + std::to_string(record) + " outside the index");
    }
}

void TTreeFiles::CheckDataPointer(std::int32_t record) const {
    if (record < 0 || record >= dataRecords_) {
        Damaged(data_.Path(), "data pointer " + std::to_string(record) + " outside the data file");
    }
}

void TTreeFiles::ReadDataRec(DataRecord& buffer, std::int32_t record) {
    data_.Seek(record);
    data_.Read(buffer.data());
}

void TTreeFiles::CloseTree() {
    index_.Close();
    data_.Close();
    closed_ = true;
}
