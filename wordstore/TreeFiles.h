#pragma once

#include "StoreFormat.h"
#include "platform/RecordFile.h"

#include <cstdint>
#include <memory>
#include <string>

// The index and data files of one word store, with the header and the level
// buffers: everything the dictionary and the bonus word store share. Both stores
// only read their files once opened, so both are opened read-only.
class TTreeFiles {
public:
    // indexName and dataName are bare file names ("Dict.idx", "Dict.dat").
    TTreeFiles(std::string indexName, std::string dataName);
    ~TTreeFiles();
    TTreeFiles(const TTreeFiles&) = delete;
    TTreeFiles& operator=(const TTreeFiles&) = delete;

    // Opens the pair in folder ("/" at its end or not). A missing index gives an
    // empty store and no error; a damaged one, or a data file that is not a
    // whole number of records or holds fewer than the header's word count,
    // raises EInOutError.
    void OpenTree(const std::string& folder);
    void CloseTree();

    const StoreFormat::THeader& Header() const { return header_; }
    bool Closed() const { return closed_; }

    // Reads index record `record` into level buffer `level` and checks that it
    // is a well-formed node. Raises EInOutError otherwise.
    void ReadNode(int level, std::int32_t record);
    void ReadDataRec(StoreFormat::DataRecord& buffer, std::int32_t record);
    StoreFormat::TNodeView Level(int level) const {
        return StoreFormat::TNodeView(levels_[level].data());
    }

    // Checks a pointer taken from a node before it is followed.
    void CheckChildPointer(std::int32_t record) const;
    void CheckDataPointer(std::int32_t record) const;

    std::int64_t DataRecordCount() const { return dataRecords_; }
    const std::string& IndexPath() const { return index_.Path(); }
    const std::string& DataPath() const { return data_.Path(); }

private:
    void StartEmptyStore();
    void CheckHeader() const;
    void CheckDataFile() const;
    [[noreturn]] void Damaged(const std::string& path, const std::string& what) const;

    std::string indexName_;
    std::string dataName_;
    StoreFormat::THeader header_;
    std::unique_ptr<StoreFormat::IndexRecord[]> levels_;
    TRecordFile index_;
    TRecordFile data_;
    std::int64_t indexRecords_ = 0;
    std::int64_t dataRecords_ = 0;
    bool closed_ = false;
};
